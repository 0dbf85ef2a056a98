#include "flash/filters.h"

#include "flash/blend.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

int Passes(const Filter& f) { return std::clamp(f.passes, 0, 15); }

// The window of one box pass (BoxLine, along a line of pixels) is
// blur pixels wide and centred on the pixel: the pixels wholly inside count
// fully and the two it cuts at its ends count by the part inside, so an even
// width spreads as far on both sides.
struct BoxWindow {
    int reach = 0;        // whole pixels counted on each side of the centre
    uint32_t edge = 0;    // weight, in 256ths, of the pixel one further out
    uint32_t total = 256; // sum of the weights, in 256ths
};

BoxWindow WindowOf(double blur) {
    BoxWindow w;
    double half = std::clamp(blur, 1.0, 255.0) / 2;
    w.reach = static_cast<int>(std::floor(half - 0.5 + 1e-9));
    w.edge = static_cast<uint32_t>(std::lround((half - 0.5 - w.reach) * 256));
    if (w.edge >= 256) {
        ++w.reach;
        w.edge = 0;
    }
    w.total = static_cast<uint32_t>(2 * w.reach + 1) * 256 + 2 * w.edge;
    return w;
}

void BoxLine(uint32_t* line, int count, int step, const BoxWindow& w, std::vector<uint32_t>& scratch) {
    scratch.assign(static_cast<size_t>(count + 2 * w.reach + 2), 0);
    uint32_t* in = scratch.data() + w.reach + 1;  // transparent beyond both ends
    for (int i = 0; i < count; ++i) in[i] = line[static_cast<size_t>(i) * static_cast<size_t>(step)];
    uint32_t sum[4] = {0, 0, 0, 0};
    for (int i = -w.reach; i < w.reach; ++i)
        for (int c = 0; c < 4; ++c) sum[c] += (in[i] >> (8 * c)) & 0xFF;
    uint32_t half = w.total / 2;
    for (int i = 0; i < count; ++i) {
        uint32_t entering = in[i + w.reach];
        uint32_t outer_left = in[i - w.reach - 1], outer_right = in[i + w.reach + 1];
        uint32_t out = 0;
        for (int c = 0; c < 4; ++c) {
            int shift = 8 * c;
            sum[c] += (entering >> shift) & 0xFF;
            uint32_t ends = ((outer_left >> shift) & 0xFF) + ((outer_right >> shift) & 0xFF);
            uint32_t v = (sum[c] * 256 + ends * w.edge + half) / w.total;
            out |= std::min(v, 255u) << shift;
            sum[c] -= (in[i - w.reach] >> shift) & 0xFF;
        }
        line[static_cast<size_t>(i) * static_cast<size_t>(step)] = out;
    }
}

// A blurred copy of the image's alpha, as a premultiplied image whose every
// pixel is its alpha in all four channels' place (only alpha is used).
Canvas BlurredAlpha(const Canvas& image, const Filter& f) {
    Canvas alpha;
    alpha.width = image.width;
    alpha.height = image.height;
    alpha.pixels.resize(image.pixels.size());
    for (size_t i = 0; i < image.pixels.size(); ++i) alpha.pixels[i] = image.pixels[i] & 0xFF000000u;
    BoxBlur(alpha, f.blur_x, f.blur_y, Passes(f));
    return alpha;
}

int AlphaAt(const Canvas& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 0;
    return static_cast<int>(image.At(x, y) >> 24);
}

int OffsetPixels(double offset) { return static_cast<int>(std::lround(offset)); }

int Strengthen(int alpha, double strength) {
    return std::clamp(static_cast<int>(alpha * strength + 0.5), 0, 255);
}

uint32_t Colored(Rgba color, int alpha) {
    int a = Mul255(color.a, alpha);
    return PackArgb(a, Mul255(color.r, a), Mul255(color.g, a), Mul255(color.b, a));
}

// A 256-entry table of a gradient filter's colours.
std::vector<Rgba> GradientTable(const Filter& f) {
    std::vector<Rgba> table(256);
    if (f.colors.empty()) return table;
    for (int i = 0; i < 256; ++i) {
        size_t s = 0;
        while (s < f.ratios.size() && f.ratios[s] < i) ++s;
        if (s == 0 || s >= f.colors.size() || s >= f.ratios.size()) {
            table[static_cast<size_t>(i)] = f.colors[std::min(s, f.colors.size() - 1)];
            continue;
        }
        const Rgba& lo = f.colors[s - 1];
        const Rgba& hi = f.colors[s];
        int span = f.ratios[s] - f.ratios[s - 1];
        double t = span > 0 ? static_cast<double>(i - f.ratios[s - 1]) / span : 1.0;
        auto mix = [t](uint8_t a, uint8_t b) { return static_cast<uint8_t>(std::lround(a + (b - a) * t)); };
        table[static_cast<size_t>(i)] = Rgba{mix(lo.r, hi.r), mix(lo.g, hi.g), mix(lo.b, hi.b), mix(lo.a, hi.a)};
    }
    return table;
}

// An inner effect on the object (source atop): the effect, already cut to
// the object's alpha, over what the effect's own alpha leaves of the object.
uint32_t Atop(uint32_t masked, uint32_t effect, uint32_t object) {
    int keep = 255 - static_cast<int>(effect >> 24);
    auto channel = [&](int shift) {
        return std::min(255, static_cast<int>((masked >> shift) & 0xFF) + Mul255((object >> shift) & 0xFF, keep));
    };
    return PackArgb(channel(24), channel(16), channel(8), channel(0));
}

// The object and its effect pixel put together as the flags ask: inner
// effects lie on the object, outer ones beneath it.
uint32_t Combine(uint32_t object, uint32_t effect, const Filter& f, bool on_top) {
    int oa = static_cast<int>(object >> 24);
    if (f.inner) {
        // Keep the effect where the object is.
        int ea = Mul255(static_cast<int>(effect >> 24), oa);
        uint32_t masked = 0;
        if (ea > 0) {
            int scale = oa;
            masked = PackArgb(ea, Mul255((effect >> 16) & 0xFF, scale), Mul255((effect >> 8) & 0xFF, scale),
                              Mul255(effect & 0xFF, scale));
        }
        if (f.knockout || !f.composite_source) return masked;
        return Atop(masked, effect, object);
    }
    if (f.knockout) return BlendPixels(object, effect, BlendMode::Erase);
    if (!f.composite_source) return effect;
    return on_top ? BlendPixels(effect, object, BlendMode::Normal) : BlendPixels(object, effect, BlendMode::Normal);
}

void Shadow(const Filter& f, Canvas& image) {
    Canvas blurred = BlurredAlpha(image, f);
    bool glow = f.kind == FilterKind::Glow || f.kind == FilterKind::GradientGlow;
    double distance = glow && f.kind == FilterKind::Glow ? 0 : f.distance;
    int dx = OffsetPixels(std::cos(f.angle) * distance);
    int dy = OffsetPixels(std::sin(f.angle) * distance);
    std::vector<Rgba> table;
    if (f.kind == FilterKind::GradientGlow) table = GradientTable(f);
    Rgba color = f.colors.empty() ? Rgba{0, 0, 0, 255} : f.colors[0];
    for (int y = 0; y < image.height; ++y) {
        uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x) {
            int a = AlphaAt(blurred, x - dx, y - dy);
            if (f.inner) a = 255 - a;
            a = Strengthen(a, f.strength);
            uint32_t effect;
            if (!table.empty()) {
                Rgba c = table[static_cast<size_t>(a)];
                effect = Colored(c, 255);
            } else {
                effect = Colored(color, a);
            }
            row[x] = Combine(row[x], effect, f, false);
        }
    }
}

void Bevel(const Filter& f, Canvas& image) {
    Canvas blurred = BlurredAlpha(image, f);
    int dx = OffsetPixels(std::cos(f.angle) * f.distance);
    int dy = OffsetPixels(std::sin(f.angle) * f.distance);
    std::vector<Rgba> table;
    if (f.kind == FilterKind::GradientBevel) table = GradientTable(f);
    Rgba shadow = f.colors.size() > 0 ? f.colors[0] : Rgba{0, 0, 0, 255};
    Rgba highlight = f.colors.size() > 1 ? f.colors[1] : Rgba{255, 255, 255, 255};
    for (int y = 0; y < image.height; ++y) {
        uint32_t* row = image.Row(y);
        for (int x = 0; x < image.width; ++x) {
            // Light falls from the angle's side: edges facing it are lit.
            int lit = AlphaAt(blurred, x - dx, y - dy);
            int dark = AlphaAt(blurred, x + dx, y + dy);
            int difference = static_cast<int>(std::lround((lit - dark) * f.strength));
            difference = std::clamp(difference, -255, 255);
            uint32_t effect;
            if (!table.empty()) {
                effect = Colored(table[static_cast<size_t>(std::clamp(128 + difference / 2, 0, 255))], 255);
            } else {
                effect = difference > 0 ? Colored(highlight, difference) : Colored(shadow, -difference);
            }
            int oa = static_cast<int>(row[x] >> 24);
            // A full bevel shows both sides; inner only on the object,
            // outer only around it.
            uint32_t object = row[x];
            uint32_t inside = effect, outside = effect;
            if (f.inner || f.on_top) {
                int ea = Mul255(static_cast<int>(effect >> 24), oa);
                inside = ea == 0 ? 0 : PackArgb(ea, Mul255((effect >> 16) & 0xFF, oa), Mul255((effect >> 8) & 0xFF, oa),
                                                Mul255(effect & 0xFF, oa));
            }
            if (f.inner) {
                row[x] = f.knockout || !f.composite_source ? inside : Atop(inside, effect, object);
            } else if (f.on_top) {
                // Full: over the object and around it.
                uint32_t around = BlendPixels(object, outside, BlendMode::Erase);
                uint32_t both = BlendPixels(inside, around, BlendMode::Add);
                row[x] = f.knockout || !f.composite_source
                             ? both
                             : BlendPixels(Atop(inside, effect, object), outside, BlendMode::Normal);
            } else {
                row[x] = f.knockout ? BlendPixels(object, outside, BlendMode::Erase)
                         : !f.composite_source ? outside
                                               : BlendPixels(object, outside, BlendMode::Normal);
            }
        }
    }
}

void ColorMatrix(const Filter& f, Canvas& image) {
    const auto& m = f.color_matrix;
    for (uint32_t& p : image.pixels) {
        Rgba c = Unpremultiply(p);
        double in[4] = {static_cast<double>(c.r), static_cast<double>(c.g), static_cast<double>(c.b), static_cast<double>(c.a)};
        uint8_t out[4];
        for (int r = 0; r < 4; ++r) {
            double v = m[r * 5] * in[0] + m[r * 5 + 1] * in[1] + m[r * 5 + 2] * in[2] + m[r * 5 + 3] * in[3] + m[r * 5 + 4];
            out[r] = static_cast<uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
        }
        p = Premultiply(Rgba{out[0], out[1], out[2], out[3]});
    }
}

void Convolution(const Filter& f, Canvas& image) {
    if (f.matrix_x <= 0 || f.matrix_y <= 0 || f.matrix.size() < static_cast<size_t>(f.matrix_x * f.matrix_y)) return;
    Canvas source = image;
    double divisor = f.divisor == 0 ? 1 : f.divisor;
    int ox = f.matrix_x / 2, oy = f.matrix_y / 2;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (int j = 0; j < f.matrix_y; ++j) {
                for (int i = 0; i < f.matrix_x; ++i) {
                    int sx = x + i - ox, sy = y + j - oy;
                    Rgba c;
                    if (sx < 0 || sy < 0 || sx >= image.width || sy >= image.height)
                        c = f.clamp ? Unpremultiply(source.At(std::clamp(sx, 0, image.width - 1), std::clamp(sy, 0, image.height - 1)))
                                    : f.default_color;
                    else
                        c = Unpremultiply(source.At(sx, sy));
                    double w = f.matrix[static_cast<size_t>(j * f.matrix_x + i)];
                    sum[0] += w * c.r;
                    sum[1] += w * c.g;
                    sum[2] += w * c.b;
                    sum[3] += w * c.a;
                }
            }
            auto level = [&](double v) { return static_cast<uint8_t>(std::clamp(v / divisor + f.bias, 0.0, 255.0)); };
            Rgba own = Unpremultiply(source.At(x, y));
            Rgba out{level(sum[0]), level(sum[1]), level(sum[2]), f.preserve_alpha ? own.a : level(sum[3])};
            image.Row(y)[x] = Premultiply(out);
        }
    }
}

}  // namespace

int BlurWindow(double blur) {
    if (!(blur > 0)) return 1;
    BoxWindow w = WindowOf(blur);
    return 2 * w.reach + 1 + (w.edge > 0 ? 2 : 0);
}

void BoxBlur(Canvas& image, double blur_x, double blur_y, int passes) {
    bool across = blur_x > 1, down = blur_y > 1;
    BoxWindow wx = WindowOf(blur_x), wy = WindowOf(blur_y);
    std::vector<uint32_t> scratch;
    for (int pass = 0; pass < passes; ++pass) {
        if (across)
            for (int y = 0; y < image.height; ++y) BoxLine(image.Row(y), image.width, 1, wx, scratch);
        if (down)
            for (int x = 0; x < image.width; ++x) BoxLine(image.pixels.data() + x, image.height, image.width, wy, scratch);
    }
}

Margins FilterMargins(const Filter& f) {
    if (f.kind == FilterKind::ColorMatrix || f.kind == FilterKind::Convolution) return {};
    int passes = Passes(f);
    int gx = passes * (BlurWindow(f.blur_x) / 2 + 1);
    int gy = passes * (BlurWindow(f.blur_y) / 2 + 1);
    Margins m{gx, gy, gx, gy};
    if (f.kind == FilterKind::Glow || f.kind == FilterKind::Blur) return m;
    int dx = static_cast<int>(std::ceil(std::fabs(std::cos(f.angle) * f.distance)));
    int dy = static_cast<int>(std::ceil(std::fabs(std::sin(f.angle) * f.distance)));
    m.left += dx;
    m.right += dx;
    m.top += dy;
    m.bottom += dy;
    return m;
}

void ApplyFilter(const Filter& f, Canvas& image) {
    switch (f.kind) {
    case FilterKind::Blur: BoxBlur(image, f.blur_x, f.blur_y, Passes(f)); break;
    case FilterKind::DropShadow:
    case FilterKind::Glow:
    case FilterKind::GradientGlow: Shadow(f, image); break;
    case FilterKind::Bevel:
    case FilterKind::GradientBevel: Bevel(f, image); break;
    case FilterKind::ColorMatrix: ColorMatrix(f, image); break;
    case FilterKind::Convolution: Convolution(f, image); break;
    }
}

}  // namespace flash
