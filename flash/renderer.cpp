#include "flash/renderer.h"
#include "flash/curve_cuts.h"
#include "flash/stroker.h"

#include "flash/avm1/classes/bitmap_pixels.h"
#include "flash/bitmap_paint.h"
#include "flash/blend.h"
#include "flash/filters.h"
#include "flash/glyph_outline.h"
#include "flash/drawing.h"
#include "flash/device_fonts.h"
#include "flash/text_field.h"
#include "flash/gradient_paint.h"
#include "flash/morph_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace flash {

namespace {

constexpr int kMaxNesting = 64;
// Largest distance, in pixels, between a curve and the segments drawn for
// it; between a circle and the polygon drawn for the round ends of lines
// without smoothing; and the same for the round joins and caps of smoothed
// lines.
constexpr double kFlattenTolerance = 0.1;
constexpr double kCurveTolerance = 0.05;
constexpr double kJoinTolerance = 0.1;
// Steps per pixel of the grid the corners of smoothed lines lie on.
constexpr double kStrokeGrid = 16;

int SamplesFor(Quality quality) {
    switch (quality) {
    case Quality::Low: return 1;
    case Quality::Medium: return 4;
    case Quality::High: return Rasterizer::kRotatedGrid;
    }
    return Rasterizer::kRotatedGrid;
}

// Points are snapped to twentieths of a target pixel (device twips).
Point Transform(const Matrix& m, double x, double y) {
    return Point{std::round(m.X(x, y) * 20) / 20, std::round(m.Y(x, y) * 20) / 20};
}

double Scale(const Matrix& m) { return std::sqrt(std::fabs(m.a * m.d - m.b * m.c)); }

// A BitmapData's premultiplied pixels as a bitmap.
Bitmap CopyPixels(const avm1::BitmapPixels& pixels) {
    Bitmap bitmap;
    bitmap.width = pixels.width();
    bitmap.height = pixels.height();
    bitmap.pixels.resize(static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x)
            bitmap.pixels[static_cast<size_t>(y) * static_cast<size_t>(bitmap.width) + static_cast<size_t>(x)] =
                pixels.GetRaw(x, y);
    return bitmap;
}

Rgba MiddleColor(const FillStyle& fill) {
    if (fill.stops.empty()) return fill.color;
    return fill.stops[fill.stops.size() / 2].color;
}

}  // namespace

void Renderer::Render(const Player& player, const View& view, Quality quality, Canvas& canvas) {
    movie_ = player.movie();
    player_ = const_cast<Player*>(&player);
    canvas_ = &canvas;
    stage_canvas_ = &canvas;
    samples_ = SamplesFor(quality);
    mask_target_ = nullptr;
    raster_.SetMask(nullptr);
    if (!movie_ || !player.Root()) {
        canvas.Fill(Rgba{255, 255, 255, 255});
        return;
    }
    canvas.Fill(movie_->background);
    Matrix stage = view.StageToTarget(*movie_, canvas.width, canvas.height);
    stage_ = stage;
    stage_scale_ = Scale(stage);
    // A level is drawn where its own entry places it: scripts move, scale
    // and turn levels as they do any clip. A colour set on a level does
    // not tint the picture.
    auto draw_level = [&](const Clip& level) {
        const Instance& placed = const_cast<Clip&>(level).Placement();
        DrawClip(level, Multiply(stage, placed.matrix), ColorTransform{}, 0);
    };
    auto draw_levels = [&] {
        draw_level(*player.Root());
        for (const auto& [number, level] : player.Levels()) draw_level(*level);
    };
    reach_.assign(static_cast<size_t>(std::max(0, canvas.height)), -1.0);
    raster_.SetStage(&canvas, &reach_, true);
    draw_levels();
    if (raster_.OpenSeen()) {
        // A fill left open runs on to the rightmost edge of its row, which
        // is known only once everything was drawn: draw the stage again.
        raster_.SetStage(&canvas, &reach_, false);
        canvas.Fill(movie_->background);
        draw_levels();
    }
    raster_.SetStage(nullptr, nullptr, false);
}

void Renderer::DrawClip(const Clip& clip, const Matrix& matrix, const ColorTransform& color, int nesting) {
    if (nesting > kMaxNesting) return;
    // An imported clip finds its bitmaps and fonts in its own movie.
    const Movie* outer_movie = movie_;
    if (clip.movie) movie_ = clip.movie;
    struct RestoreMovie {
        const Movie*& movie;
        const Movie* saved;
        ~RestoreMovie() { movie = saved; }
    } restore{movie_, outer_movie};
    // Masks of this list, innermost last: each shows the objects above it
    // up to its clip depth only where it draws itself.
    struct ActiveMask {
        int last_depth;
        std::vector<float> coverage;
    };
    std::vector<ActiveMask> masks;
    const float* outer = raster_.Mask();
    if (clip.drawing && !clip.drawing->empty) DrawShape(clip.drawing->shape, matrix, color);
    for (const auto& [depth, instance] : clip.children) {
        while (!masks.empty() && depth > masks.back().last_depth) {
            masks.pop_back();
            raster_.SetMask(masks.empty() ? outer : masks.back().coverage.data());
        }
        for (const Instance& shape : instance.beneath)
            if (shape.definition && shape.visible && instance.clip_depth == 0)
                DrawCharacter(*shape.definition, shape, Multiply(matrix, shape.matrix), Combine(color, shape.color),
                              nesting + 1);
        if (!instance.definition || !instance.visible) continue;
        if (instance.clip && instance.clip->masking && !mask_target_) continue;
        if (instance.text && instance.text->masking && !mask_target_) continue;
        Matrix child_matrix = Multiply(matrix, instance.matrix);
        ColorTransform child_color = Combine(color, instance.color);
        if (instance.clip_depth > 0) {
            if (mask_target_) continue;  // masks inside a mask are not drawn
            masks.push_back({instance.clip_depth, std::vector<float>(canvas_->pixels.size(), 0.0f)});
            mask_target_ = masks.back().coverage.data();
            DrawCharacter(*instance.definition, instance, child_matrix, child_color, nesting + 1);
            mask_target_ = nullptr;
            raster_.SetMask(masks.back().coverage.data());
            continue;
        }
        // Filters draw through a cached bitmap too.
        bool cached = instance.cache_as_bitmap || !instance.filters.empty();
        if (!mask_target_ && cached && instance.clip) child_matrix = SnapCached(*instance.clip, child_matrix);
        if (!mask_target_ && (instance.has_scroll_rect || instance.has_background)) {
            DrawFramed(instance, child_matrix, color, nesting + 1);
            continue;
        }
        DrawPlaced(instance, child_matrix, color, nesting + 1);
    }
    raster_.SetMask(outer);
}

Matrix Renderer::SnapCached(const Clip& clip, const Matrix& matrix) const {
    // A cached clip is drawn into a bitmap from the top left corner of its
    // bounds, and the bitmap is placed with that corner on the nearest
    // whole pixel: the picture moves by less than a pixel.
    double x0, y0, x1, y1;
    if (!player_ || !player_->ClipBounds(const_cast<Clip&>(clip), &x0, &y0, &x1, &y1)) return matrix;
    double left = std::numeric_limits<double>::infinity(), top = left;
    for (double x : {x0, x1}) {
        for (double y : {y0, y1}) {
            left = std::min(left, matrix.X(x, y));
            top = std::min(top, matrix.Y(x, y));
        }
    }
    if (!std::isfinite(left) || !std::isfinite(top)) return matrix;
    Matrix snapped = matrix;
    snapped.tx += std::floor(left + 0.5) - left;
    snapped.ty += std::floor(top + 0.5) - top;
    return snapped;
}

void Renderer::DrawPlaced(const Instance& instance, const Matrix& matrix, const ColorTransform& outer_color,
                          int nesting) {
    if (!mask_target_ && (!instance.filters.empty() || instance.blend_mode != BlendMode::Normal)) {
        DrawLayered(instance, matrix, outer_color, nesting);
        return;
    }
    DrawCharacter(*instance.definition, instance, matrix, Combine(outer_color, instance.color), nesting);
}

void Renderer::DrawFramed(const Instance& instance, const Matrix& matrix, const ColorTransform& outer_color,
                          int nesting) {
    // The frame, in the object's own twips: its scroll rectangle, else the
    // bounds of what it draws.
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    Matrix content = matrix;
    if (instance.has_scroll_rect) {
        x1 = instance.scroll_width * 20;
        y1 = instance.scroll_height * 20;
        Matrix shift;
        shift.tx = -instance.scroll_x * 20;
        shift.ty = -instance.scroll_y * 20;
        content = Multiply(matrix, shift);
    } else if (!instance.clip || !player_ || !player_->ClipBounds(*instance.clip, &x0, &y0, &x1, &y1)) {
        DrawPlaced(instance, matrix, outer_color, nesting);
        return;
    }
    Point corners[4] = {Transform(matrix, x0, y0), Transform(matrix, x1, y0), Transform(matrix, x1, y1),
                        Transform(matrix, x0, y1)};
    if (instance.has_background) {
        for (int i = 0; i < 4; ++i) raster_.AddLine(corners[i], corners[(i + 1) % 4]);
        raster_.Fill(*canvas_, SolidPaint(Combine(outer_color, instance.color).Apply(instance.background)),
                     FillRule::NonZero, samples_);
    }
    if (!instance.has_scroll_rect) {
        DrawPlaced(instance, matrix, outer_color, nesting);
        return;
    }
    // What lies outside the scroll rectangle is cut away like a mask does.
    const float* outer = raster_.Mask();
    std::vector<float> coverage(canvas_->pixels.size(), 0.0f);
    raster_.SetMask(nullptr);
    for (int i = 0; i < 4; ++i) raster_.AddLine(corners[i], corners[(i + 1) % 4]);
    raster_.Fill(*canvas_, MaskPaint(coverage.data(), canvas_->width), FillRule::NonZero, samples_);
    if (outer)
        for (size_t i = 0; i < coverage.size(); ++i) coverage[i] *= outer[i];
    raster_.SetMask(coverage.data());
    DrawPlaced(instance, content, outer_color, nesting);
    raster_.SetMask(outer);
}

namespace {

bool IsIdentity(const ColorTransform& c) {
    return c.rm == 256 && c.gm == 256 && c.bm == 256 && c.am == 256 && c.ra == 0 && c.ga == 0 && c.ba == 0 && c.aa == 0;
}

struct PixelBox {
    int x0, y0, x1, y1;   // x1, y1 exclusive
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
};

PixelBox DrawnBox(const Canvas& layer) {
    PixelBox box{layer.width, layer.height, 0, 0};
    for (int y = 0; y < layer.height; ++y) {
        const uint32_t* row = layer.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(layer.width);
        int first = 0;
        while (first < layer.width && row[first] == 0) ++first;
        if (first == layer.width) continue;
        int last = layer.width - 1;
        while (row[last] == 0) --last;
        box.x0 = std::min(box.x0, first);
        box.x1 = std::max(box.x1, last + 1);
        box.y0 = std::min(box.y0, y);
        box.y1 = y + 1;
    }
    return box;
}

}  // namespace

void Renderer::DrawLayered(const Instance& instance, const Matrix& matrix, const ColorTransform& outer_color,
                           int nesting) {
    // Alpha and erase change only the alpha of what lies below, which the
    // stage, always opaque, does not show.
    bool alpha_only = instance.blend_mode == BlendMode::Alpha || instance.blend_mode == BlendMode::Erase;
    if (alpha_only && canvas_ == stage_canvas_) return;
    Canvas layer;
    layer.width = canvas_->width;
    layer.height = canvas_->height;
    layer.pixels.assign(canvas_->pixels.size(), 0);
    Canvas* target = canvas_;
    const float* mask = raster_.Mask();
    canvas_ = &layer;
    raster_.SetMask(nullptr);
    DrawCharacter(*instance.definition, instance, matrix, ColorTransform{}, nesting);
    canvas_ = target;
    raster_.SetMask(mask);

    PixelBox box = DrawnBox(layer);
    if (box.Empty()) return;
    // The filters work on the drawn part with room for what they spread.
    Margins room;
    for (const Filter& filter : instance.filters) {
        Margins m = FilterMargins(filter);
        room.left += m.left;
        room.top += m.top;
        room.right += m.right;
        room.bottom += m.bottom;
    }
    // However far filters spread, what lies beyond the canvas's own size
    // around the drawn part can never reach it.
    room.left = std::min(room.left, canvas_->width);
    room.right = std::min(room.right, canvas_->width);
    room.top = std::min(room.top, canvas_->height);
    room.bottom = std::min(room.bottom, canvas_->height);
    Canvas image;
    image.width = box.x1 - box.x0 + room.left + room.right;
    image.height = box.y1 - box.y0 + room.top + room.bottom;
    image.pixels.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 0);
    for (int y = box.y0; y < box.y1; ++y)
        std::copy(layer.Row(y) + box.x0, layer.Row(y) + box.x1, image.Row(y - box.y0 + room.top) + room.left);
    for (const Filter& filter : instance.filters) ApplyFilter(filter, image);

    ColorTransform color = Combine(outer_color, instance.color);
    bool plain = IsIdentity(color);
    int left = box.x0 - room.left, top = box.y0 - room.top;
    for (int y = std::max(0, top); y < std::min(canvas_->height, top + image.height); ++y) {
        uint32_t* row = canvas_->Row(y);
        const uint32_t* source = image.Row(y - top);
        const float* mask_row = mask ? mask + static_cast<size_t>(y) * static_cast<size_t>(canvas_->width) : nullptr;
        for (int x = std::max(0, left); x < std::min(canvas_->width, left + image.width); ++x) {
            uint32_t p = source[x - left];
            if (!plain) p = Premultiply(color.Apply(Unpremultiply(p)));
            if (mask_row && p) {
                int m = static_cast<int>(std::clamp(mask_row[x], 0.0f, 1.0f) * 255 + 0.5f);
                p = PackArgb(Mul255(p >> 24, m), Mul255((p >> 16) & 0xFF, m), Mul255((p >> 8) & 0xFF, m),
                             Mul255(p & 0xFF, m));
            }
            row[x] = BlendPixels(p, row[x], instance.blend_mode);
        }
    }
}

void Renderer::DrawCharacter(const Character& character, const Instance& instance, const Matrix& matrix,
                             const ColorTransform& color, int nesting) {
    if (instance.bitmap_data) {
        DrawBitmapData(instance, matrix, color);
    } else if (character.shape) {
        DrawShape(*character.shape, matrix, color);
    } else if (character.bitmap) {
        // A bitmap placed by itself is drawn at its own size from the origin.
        DrawBitmap(*character.bitmap, matrix, color, false, false);
    } else if (character.morph) {
        DrawShape(MorphAt(*character.morph, instance.ratio), matrix, color);
    } else if (character.video) {
        DrawVideo(character.video, instance, matrix, color);
    } else if (character.text) {
        DrawText(*character.text, matrix, color);
    } else if (instance.text) {
        DrawTextField(*instance.text, matrix, color);
    } else if (character.edit_text) {
        DrawEditText(*character.edit_text, matrix, color);
    } else if (instance.clip && (instance.clip->mask || instance.clip->text_mask) && !mask_target_) {
        DrawMasked(*instance.clip, matrix, color, nesting);
    } else if (instance.clip) {
        DrawClip(*instance.clip, matrix, color, nesting);
    }
}

void Renderer::DrawBitmapData(const Instance& instance, const Matrix& matrix, const ColorTransform& color) {
    const avm1::BitmapPixels* pixels = avm1::BitmapDataPixels(instance.bitmap_data);
    if (!pixels || pixels->width() <= 0 || pixels->height() <= 0) return;
    Bitmap bitmap = CopyPixels(*pixels);
    DrawBitmap(bitmap, matrix, color, instance.bitmap_smoothing, true);
}

void Renderer::DrawVideo(const std::shared_ptr<const VideoStream>& video, const Instance& instance,
                         const Matrix& matrix, const ColorTransform& color) {
    const Bitmap* picture = videos_.Picture(video, instance.ratio);
    if (!picture) return;
    Matrix stretch;
    if (video->width > 0 && video->height > 0) {
        stretch.a = static_cast<double>(video->width) / picture->width;
        stretch.d = static_cast<double>(video->height) / picture->height;
    }
    DrawBitmap(*picture, Multiply(matrix, stretch), color, video->smoothing, false);
}

void Renderer::DrawBitmap(const Bitmap& bitmap, const Matrix& matrix, const ColorTransform& color, bool smoothing,
                          bool premultiplied) {
    // Bitmap pixels are twenty twips of the clip.
    Matrix twips;
    twips.a = twips.d = 20;
    Matrix to_target = Multiply(matrix, twips);
    double w = bitmap.width, h = bitmap.height;
    Point corners[4] = {Transform(to_target, 0, 0), Transform(to_target, w, 0), Transform(to_target, w, h),
                        Transform(to_target, 0, h)};
    for (int i = 0; i < 4; ++i) raster_.AddLine(corners[i], corners[(i + 1) % 4]);
    if (mask_target_) {
        raster_.Fill(*canvas_, MaskPaint(mask_target_, canvas_->width), FillRule::NonZero, samples_);
        return;
    }
    BitmapPaint paint(bitmap, to_target, color, false, smoothing && samples_ != 1, premultiplied);
    if (paint.Valid())
        raster_.Fill(*canvas_, paint, FillRule::NonZero, samples_);
    else
        raster_.Clear();
}

double Renderer::LineScale(const LineStyle& line, const Matrix& m) const {
    // Lines follow the object's scale in the directions their scale mode
    // names, else only the stage's. A line that follows both keeps one
    // width on a stretched or skewed object, set by its lesser axis scale.
    double x = std::sqrt(m.a * m.a + m.b * m.b), y = std::sqrt(m.c * m.c + m.d * m.d);
    if (line.scale_x && line.scale_y) return std::min(x, y);
    if (line.scale_x) return x;
    if (line.scale_y) return y;
    return stage_scale_;
}

void Renderer::DrawShape(const Shape& shape, const Matrix& matrix, const ColorTransform& color, const Rgba* solid) {
    FillRule rule = shape.nonzero_winding ? FillRule::NonZero : FillRule::EvenOdd;
    glyph_ = solid != nullptr;
    for (const ShapeLayer& layer : shape.layers) {
        // Fills that end up the same plain colour (all of a mask's fills, a
        // glyph's, or solid fills a colour transform makes alike) are drawn
        // as one, so that no seam shows where they meet.
        std::vector<char> done(layer.fills.size(), 0);
        bool layered = !mask_target_ && !solid && layer.fills.size() > 1;
        if (layered) raster_.BeginLayer();
        for (size_t f = 0; f < layer.fills.size(); ++f) {
            if (done[f]) continue;
            const FillStyle& fill = layer.fills[f];
            std::vector<char>& members = fill_members_;
            members.assign(layer.fills.size() + 1, 0);
            members[f + 1] = 1;
            bool plain = mask_target_ || solid || fill.kind == FillKind::Solid;
            if (plain) {
                Rgba mine = solid ? Rgba{} : color.Apply(fill.color);
                for (size_t g = f + 1; g < layer.fills.size(); ++g) {
                    const FillStyle& other = layer.fills[g];
                    bool alike = mask_target_ || solid;
                    if (!alike && other.kind == FillKind::Solid) {
                        Rgba theirs = color.Apply(other.color);
                        alike = theirs.r == mine.r && theirs.g == mine.g && theirs.b == mine.b && theirs.a == mine.a;
                    }
                    if (alike) members[g + 1] = done[g] = 1;
                }
            }
            AddFillEdges(layer, members, matrix);
            if (raster_.Empty()) continue;
            if (mask_target_) {
                raster_.Fill(*canvas_, MaskPaint(mask_target_, canvas_->width), rule, samples_);
                continue;
            }
            if (solid)
                raster_.Fill(*canvas_, SolidPaint(color.Apply(*solid)), rule, samples_);
            else
                FillWith(fill, matrix, color, rule);
        }
        if (layered) raster_.EndLayer();
        if (mask_target_) continue;  // a mask is its fills only
        for (size_t l = 0; l < layer.lines.size(); ++l) {
            const LineStyle& line = layer.lines[l];
            // The thinnest line is a pixel wide. A line widened to it, and a
            // line up to a pixel wide that does not follow the object's
            // scale both ways, cover a pixel across their minor axis,
            // whatever their slope.
            double width = line.width * LineScale(line, matrix);
            bool minor_axis = width < 1 || (width <= 1 && !(line.scale_x && line.scale_y));
            AddStroke(layer, static_cast<uint16_t>(l + 1), matrix, std::max(1.0, width) / 2, minor_axis);
            if (raster_.Empty()) continue;
            if (line.fill && !solid)
                FillWith(*line.fill, matrix, color, FillRule::NonZero);
            else
                raster_.Fill(*canvas_, SolidPaint(color.Apply(line.color)), FillRule::NonZero, samples_);
        }
    }
    glyph_ = false;
}

void Renderer::FillWith(const FillStyle& fill, const Matrix& matrix, const ColorTransform& color, FillRule rule) {
    if (fill.kind == FillKind::LinearGradient || fill.kind == FillKind::RadialGradient ||
        fill.kind == FillKind::FocalGradient) {
        GradientPaint paint(fill, Multiply(matrix, fill.matrix), color);
        if (paint.Valid())
            raster_.Fill(*canvas_, paint, rule, samples_);
        else
            raster_.Fill(*canvas_, SolidPaint(color.Apply(MiddleColor(fill))), rule, samples_);
    } else if (fill.kind == FillKind::Solid) {
        raster_.Fill(*canvas_, SolidPaint(color.Apply(fill.color)), rule, samples_);
    } else {
        // A BitmapData as it is now, or the movie's bitmap; a disposed or
        // missing one draws nothing.
        Bitmap copy;
        const Bitmap* bitmap = nullptr;
        if (fill.bitmap_data) {
            const avm1::BitmapPixels* pixels = avm1::BitmapDataPixels(fill.bitmap_data);
            if (pixels && pixels->width() > 0 && pixels->height() > 0) {
                copy = CopyPixels(*pixels);
                bitmap = &copy;
            }
        } else if (const Character* source = movie_->Find(fill.bitmap_id); source && source->bitmap) {
            bitmap = source->bitmap.get();
        }
        if (!bitmap) {
            raster_.Clear();
            return;
        }
        BitmapPaint paint(*bitmap, Multiply(matrix, fill.matrix), color, fill.bitmap_repeats,
                          fill.bitmap_smooth && samples_ != 1, fill.bitmap_data != nullptr);
        if (paint.Valid())
            raster_.Fill(*canvas_, paint, rule, samples_);
        else
            raster_.Clear();
    }
}

namespace {

Matrix GlyphMatrix(const Matrix& outer, double x, double y, double scale) {
    Matrix place;
    place.a = place.d = scale;
    place.tx = x;
    place.ty = y;
    return Multiply(outer, place);
}

// Code points of a text field's string: UTF-8 in movies of version 6 and
// later, one byte per character before.
std::vector<uint32_t> CodePoints(const std::string& text, int version) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        uint8_t c = static_cast<uint8_t>(text[i]);
        int extra = version < 6 || c < 0xC0 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        if (i + static_cast<size_t>(extra) >= text.size()) extra = 0;
        for (int k = 1; k <= extra; ++k) code = (code << 6) | (static_cast<uint8_t>(text[i + static_cast<size_t>(k)]) & 0x3F);
        out.push_back(code);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

}  // namespace

void Renderer::DrawText(const Text& text, const Matrix& matrix, const ColorTransform& color) {
    Matrix base = Multiply(matrix, text.matrix);
    for (const TextRun& run : text.runs) {
        const Character* character = movie_->Find(run.font);
        if (!character || !character->font) continue;
        const Font& font = *character->font;
        double scale = run.height / font.em;
        // A font without outlines is drawn with the system's font of its name.
        bool outlined = false;
        for (const Shape& shape : font.glyphs)
            for (const ShapeLayer& layer : shape.layers) outlined = outlined || !layer.edges.empty();
        const Font* device = outlined ? nullptr : DeviceFont(font.name.substr(0, font.name.find('\0')), font.bold, font.italic);
        double x = run.x;
        for (const auto& [glyph, advance] : run.glyphs) {
            if (device && glyph < font.codes.size()) {
                int index = device->FindGlyph(font.codes[glyph]);
                if (index >= 0)
                    DrawShape(device->glyphs[static_cast<size_t>(index)],
                              GlyphMatrix(base, x, run.y, run.height / device->em), color, &run.color);
            } else if (glyph < font.glyphs.size()) {
                DrawShape(font.glyphs[glyph], GlyphMatrix(base, x, run.y, scale), color, &run.color);
            }
            x += advance;
        }
    }
}

void Renderer::DrawBox(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax, const Matrix& m, Rgba color) {
    Point p[4] = {Transform(m, xmin, ymin), Transform(m, xmax, ymin), Transform(m, xmax, ymax), Transform(m, xmin, ymax)};
    for (int i = 0; i < 4; ++i) raster_.AddLine(p[i], p[(i + 1) % 4]);
    raster_.Fill(*canvas_, SolidPaint(color), FillRule::NonZero, samples_);
}

void Renderer::DrawEditText(const EditText& field, const Matrix& matrix, const ColorTransform& color) {
    if (field.border) {
        // A one-pixel black frame around a white box.
        double scale = Scale(matrix);
        int32_t w = scale > 0 ? static_cast<int32_t>(std::max(1.0, std::round(1 / scale))) : 20;
        DrawBox(field.xmin, field.ymin, field.xmax, field.ymax, matrix, color.Apply(Rgba{0, 0, 0, 255}));
        DrawBox(field.xmin + w, field.ymin + w, field.xmax - w, field.ymax - w, matrix, color.Apply(Rgba{255, 255, 255, 255}));
    }
    const Character* character = movie_->Find(field.font);
    if (!field.outlines || !character || !character->font || field.text.empty()) return;
    const Font& font = *character->font;
    double scale = field.height / font.em;
    const int32_t gutter = 40;  // two pixels inside the box
    double line_height = (font.ascent + font.descent) * scale + field.leading;
    if (line_height <= 0) line_height = field.height;
    double baseline = field.ymin + gutter + font.ascent * scale;
    if (font.ascent == 0) baseline = field.ymin + gutter + field.height * 0.8;

    std::vector<uint32_t> codes = CodePoints(field.text, movie_->version);
    size_t start = 0;
    bool first_line = true;
    while (start <= codes.size()) {
        size_t end = start;
        while (end < codes.size() && codes[end] != '\n' && codes[end] != '\r') ++end;
        // Glyphs of the line and their advances.
        std::vector<std::pair<size_t, double>> glyphs;
        double width = 0;
        for (size_t i = start; i < end; ++i) {
            auto found = std::find(font.codes.begin(), font.codes.end(), static_cast<uint16_t>(codes[i]));
            if (found == font.codes.end()) continue;
            size_t index = static_cast<size_t>(found - font.codes.begin());
            double advance = index < font.advances.size() ? font.advances[index] * scale : field.height * 0.5;
            glyphs.emplace_back(index, advance);
            width += advance;
        }
        double left = field.xmin + gutter + field.left_margin + (first_line ? field.indent : 0);
        double right = field.xmax - gutter - field.right_margin;
        double x = field.align == 1 ? right - width : field.align == 2 ? (left + right - width) / 2 : left;
        for (const auto& [index, advance] : glyphs) {
            if (index < font.glyphs.size())
                DrawShape(font.glyphs[index], GlyphMatrix(matrix, x, baseline, scale), color, &field.color);
            x += advance;
        }
        baseline += line_height;
        first_line = false;
        start = end + 1;
    }
}

void Renderer::DrawTextField(const TextField& field, const Matrix& matrix, const ColorTransform& color) {
    auto rgb = [](uint32_t c) {
        return Rgba{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c), 255};
    };
    int32_t x0 = static_cast<int32_t>(field.xmin), y0 = static_cast<int32_t>(field.ymin);
    int32_t x1 = static_cast<int32_t>(field.xmax), y1 = static_cast<int32_t>(field.ymax);
    if (!mask_target_ && (field.border || field.background)) {
        Rgba border = color.Apply(rgb(field.border_color)), fill = color.Apply(rgb(field.background_color));
        // Corners land on whole pixels, halves going down.
        auto snap = [](double v) { return std::ceil(v - 0.5); };
        Point c[4] = {Transform(matrix, x0, y0), Transform(matrix, x1, y0), Transform(matrix, x1, y1),
                      Transform(matrix, x0, y1)};
        for (Point& p : c) p = Point{snap(p.x), snap(p.y)};
        bool upright = matrix.b == 0 && matrix.c == 0;
        // A box turned or skewed by less than a pixel at its corners is still
        // drawn upright, its corners all drawn.
        bool nearly = (c[0].y == c[1].y && c[2].y == c[3].y && c[0].x == c[3].x && c[1].x == c[2].x) ||
                      (c[0].x == c[1].x && c[2].x == c[3].x && c[0].y == c[3].y && c[1].y == c[2].y);
        if (upright || nearly) {
            // The border is a pixel wide on the box's edge pixels, right and
            // bottom ones included.
            double left = std::min({c[0].x, c[1].x, c[2].x, c[3].x}), right = std::max({c[0].x, c[1].x, c[2].x, c[3].x});
            double top = std::min({c[0].y, c[1].y, c[2].y, c[3].y}), bottom = std::max({c[0].y, c[1].y, c[2].y, c[3].y});
            auto box = [&](double l, double t, double r, double b, Rgba c) {
                DrawBox(static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
                        static_cast<int32_t>(b), Matrix{}, c);
            };
            if (!field.border) {
                box(left, top, right, bottom, fill);
            } else {
                if (field.background && right - left > 1 && bottom - top > 1) box(left + 1, top + 1, right, bottom, fill);
                box(left, top, right + 1, top + 1, border);
                // An upright box leaves its bottom right corner pixel clear.
                box(left, bottom, upright ? right : right + 1, bottom + 1, border);
                box(left, top + 1, left + 1, bottom, border);
                box(right, top + 1, right + 1, bottom, border);
            }
        } else if (field.border) {
            double scale = Scale(matrix);
            int32_t w = scale > 0 ? static_cast<int32_t>(std::max(1.0, std::round(1 / scale))) : 20;
            if (field.background) DrawBox(x0 + w, y0 + w, x1 - w, y1 - w, matrix, fill);
            DrawBox(x0, y0, x1, y0 + w, matrix, border);
            DrawBox(x0, y1 - w, x1, y1, matrix, border);
            DrawBox(x0, y0 + w, x0 + w, y1 - w, matrix, border);
            DrawBox(x1 - w, y0 + w, x1, y1 - w, matrix, border);
        } else {
            DrawBox(x0, y0, x1, y1, matrix, fill);
        }
    }
    TextLayout laid = field.Laid();
    // The text shows only inside the field's box (when it stands upright),
    // except where the field is a mask.
    struct ClearClip {
        Rasterizer& raster;
        ~ClearClip() { raster.ClearClip(); }
    } clear_clip{raster_};
    if (!mask_target_ && matrix.b == 0 && matrix.c == 0) {
        Point a = Transform(matrix, x0, y0), b = Transform(matrix, x1, y1);
        raster_.SetClip(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
    }
    // Lines outside the box (and those scrolled past) are not drawn.
    double top = laid.lines.empty() || field.scroll <= 1
                     ? 0
                     : laid.lines[std::min(laid.lines.size(), static_cast<size_t>(field.scroll)) - 1].y;
    for (const LaidLine& line : laid.lines) {
        // The baseline sits the line's ascent below its top in whole twips.
        double baseline = field.ymin + kTextGutter + line.y - top + std::floor(line.ascent);
        if (line.y - top < 0 || (line.y > top && baseline - line.ascent > field.ymax)) continue;
        for (const LaidGlyph& g : line.glyphs) {
            double x = field.xmin + line.x + g.x;
            Rgba ink = rgb(g.color);
            if (g.font && g.glyph >= 0 && static_cast<size_t>(g.glyph) < g.font->glyphs.size())
                DrawShape(g.font->glyphs[static_cast<size_t>(g.glyph)], GlyphMatrix(matrix, x, baseline, g.scale),
                          color, &ink);
            if (g.underline && !mask_target_) {
                int32_t ux = static_cast<int32_t>(x), uy = static_cast<int32_t>(baseline + 20);
                DrawBox(ux, uy, ux + static_cast<int32_t>(std::ceil(g.advance)), uy + 20, matrix, color.Apply(ink));
            }
        }
    }
}

void Renderer::DrawMasked(const Clip& clip, const Matrix& matrix, const ColorTransform& color, int nesting) {
    Matrix mask_matrix = stage_;
    std::vector<const Clip*> chain;
    for (Clip* c = clip.mask ? clip.mask : clip.text_mask->parent; c && c->parent; c = c->parent) chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        mask_matrix = Multiply(mask_matrix, const_cast<Clip*>(*it)->Placement().matrix);
    std::vector<float> coverage(canvas_->pixels.size(), 0.0f);
    const float* outer = raster_.Mask();
    raster_.SetMask(nullptr);
    mask_target_ = coverage.data();
    if (clip.mask) {
        DrawClip(*clip.mask, mask_matrix, ColorTransform{}, nesting);
    } else {
        TextField& text = *clip.text_mask;
        DrawTextField(text, Multiply(mask_matrix, text.Placement().matrix), ColorTransform{});
    }
    mask_target_ = nullptr;
    raster_.SetMask(coverage.data());
    DrawClip(clip, matrix, color, nesting);
    raster_.SetMask(outer);
}

void Renderer::Flatten(const ShapeEdge& edge, const Matrix& m, std::vector<Point>& points) const {
    if (glyph_) {
        FlattenGlyphEdge(edge, m, points);
        return;
    }
    Point p0 = Transform(m, edge.x0, edge.y0);
    Point p1 = Transform(m, edge.x1, edge.y1);
    points.clear();
    points.push_back(p0);
    if (edge.curved) {
        // The points between are taken on the curve in the shape's own
        // space, as close together as a tenth of a pixel on the target
        // allows.
        Point q0{static_cast<double>(edge.x0), static_cast<double>(edge.y0)};
        Point q1{static_cast<double>(edge.cx), static_cast<double>(edge.cy)};
        Point q2{static_cast<double>(edge.x1), static_cast<double>(edge.y1)};
        CurveCuts cuts(q0, q1, q2, kFlattenTolerance / Scale(m));
        for (int i = 1; i < cuts.Count(); ++i) {
            double t = cuts.At(i);
            double u = 1 - t;
            double x = u * u * q0.x + 2 * u * t * q1.x + t * t * q2.x;
            double y = u * u * q0.y + 2 * u * t * q1.y + t * t * q2.y;
            points.push_back(Point{m.X(x, y), m.Y(x, y)});
        }
    }
    points.push_back(p1);
}

void Renderer::FlattenGlyphEdge(const ShapeEdge& edge, const Matrix& m, std::vector<Point>& points) const {
    auto place = [&](double x, double y) { return SnapToSixteenth(Point{m.X(x, y), m.Y(x, y)}); };
    points.clear();
    points.push_back(place(edge.x0, edge.y0));
    if (edge.curved) {
        for (double t : GlyphCurveCuts(edge, kGlyphCurveTolerance)) {
            double u = 1 - t;
            points.push_back(place(u * u * edge.x0 + 2 * u * t * edge.cx + t * t * edge.x1,
                                   u * u * edge.y0 + 2 * u * t * edge.cy + t * t * edge.y1));
        }
    }
    points.push_back(place(edge.x1, edge.y1));
}

void Renderer::AddFillEdges(const ShapeLayer& layer, const std::vector<char>& members, const Matrix& matrix) {
    auto member = [&](uint16_t fill) { return fill < members.size() && members[fill]; };
    for (const ShapeEdge& edge : layer.edges) {
        bool left = member(edge.fill0);
        bool right = member(edge.fill1);
        if (left == right) continue;  // not these fills' edge, or inside them
        Flatten(edge, matrix, points_);
        // The fill lies right of its edges once fill0 edges are reversed, so
        // the non-zero rule sees every region wound the same way.
        for (size_t i = 1; i < points_.size(); ++i) {
            if (right)
                raster_.AddLine(points_[i - 1], points_[i]);
            else
                raster_.AddLine(points_[i], points_[i - 1]);
        }
    }
}

namespace {

// Adds each polygon of a stroke to the rasteriser, wound so that its signed
// area is negative, so that the non-zero rule makes them one shape. With
// grid set, corners are first moved to the nearest point of a grid of that
// many steps per pixel.
class RasterSink : public StrokeSink {
public:
    RasterSink(Rasterizer& raster, double grid) : raster_(raster), grid_(grid) {}

    void Polygon(const Point* given, size_t count) override {
        points_.assign(given, given + count);
        if (grid_ > 0)
            for (Point& p : points_) p = Point{std::round(p.x * grid_) / grid_, std::round(p.y * grid_) / grid_};
        double area = 0;
        for (size_t i = 0; i < count; ++i) {
            const Point& p = points_[i];
            const Point& q = points_[(i + 1) % count];
            area += p.x * q.y - q.x * p.y;
        }
        for (size_t i = 0; i < count; ++i) {
            const Point& p = points_[i];
            const Point& q = points_[(i + 1) % count];
            if (area <= 0)
                raster_.AddLine(p, q);
            else
                raster_.AddLine(q, p);
        }
    }

private:
    Rasterizer& raster_;
    double grid_;
    std::vector<Point> points_;
};

}  // namespace

void Renderer::AddStroke(const ShapeLayer& layer, uint16_t line, const Matrix& matrix, double half,
                         bool minor_axis) {
    const LineStyle& style_of_line = layer.lines[line - 1];
    bool smoothed = samples_ != 1;
    if (!smoothed && style_of_line.start_cap == LineCap::Round && style_of_line.end_cap == LineCap::Round &&
        style_of_line.join == LineJoin::Round) {
        AddAliasedStroke(layer, line, matrix, half, minor_axis);
        return;
    }
    StrokeStyle style;
    style.half = half;
    style.start_cap = style_of_line.start_cap;
    style.end_cap = style_of_line.end_cap;
    style.join = style_of_line.join;
    style.miter_limit = style_of_line.miter_limit;
    style.minor_axis = minor_axis;
    // Smoothed, round joins and caps are polygons of a few sides and
    // corners lie on a sixteenth of a pixel.
    style.tolerance = smoothed ? kJoinTolerance : kCurveTolerance;
    RasterSink sink(raster_, smoothed ? kStrokeGrid : 0);
    // Edges that follow on from each other make one path; a path that
    // comes back to its start is joined there.
    std::vector<Point>& path = path_;
    path.clear();
    auto stroke_path = [&] {
        bool closed = path.size() > 2 && path.front().x == path.back().x && path.front().y == path.back().y &&
                      !style_of_line.no_close;
        StrokePolyline(path, closed, style, sink);
        path.clear();
    };
    const ShapeEdge* previous = nullptr;
    for (const ShapeEdge& edge : layer.edges) {
        if (edge.line != line) continue;
        if (previous && (previous->x1 != edge.x0 || previous->y1 != edge.y0)) stroke_path();
        previous = &edge;
        Flatten(edge, matrix, points_);
        path.insert(path.end(), points_.begin() + (path.empty() ? 0 : 1), points_.end());
    }
    stroke_path();
}

void Renderer::AddAliasedStroke(const ShapeLayer& layer, uint16_t line, const Matrix& matrix, double half,
                                bool minor_axis) {
    // Each edge is drawn by itself: a rectangle along each segment, a wedge
    // between the segments of a curve and a disc at each end, so that a
    // frame leaves out the corner pixel whose centre lies on the diagonal
    // past its corner.
    RasterSink sink(raster_, 0);
    std::vector<Point>& disc = path_;
    auto add_disc = [&](Point c) {
        // Enough sides that the polygon strays at most kCurveTolerance
        // inside the circle.
        double sides = std::ceil(3.15 * std::sqrt(half / (2 * kCurveTolerance)));
        int steps = sides < 128 ? std::max(8, static_cast<int>(sides)) : 128;
        disc.clear();
        for (int i = 0; i < steps; ++i) {
            double angle = 2 * 3.14159265358979323846 * i / steps;
            disc.push_back(Point{c.x + half * std::cos(angle), c.y + half * std::sin(angle)});
        }
        sink.Polygon(disc.data(), disc.size());
    };
    for (const ShapeEdge& edge : layer.edges) {
        if (edge.line != line) continue;
        Flatten(edge, matrix, points_);
        Point previous_normal{0, 0};
        bool has_previous = false;
        for (size_t i = 1; i < points_.size(); ++i) {
            Point a = points_[i - 1];
            Point b = points_[i];
            double dx = b.x - a.x, dy = b.y - a.y;
            double length = std::sqrt(dx * dx + dy * dy);
            if (!(length > 1e-9)) continue;
            Point n{-dy / length * half, dx / length * half};
            if (minor_axis) {
                double stretch = std::max(std::fabs(dx), std::fabs(dy)) / length;
                n = Point{n.x * stretch, n.y * stretch};
            }
            Point quad[4] = {{a.x + n.x, a.y + n.y}, {b.x + n.x, b.y + n.y}, {b.x - n.x, b.y - n.y}, {a.x - n.x, a.y - n.y}};
            sink.Polygon(quad, 4);
            if (has_previous) {
                Point outer[3] = {a, {a.x + previous_normal.x, a.y + previous_normal.y}, {a.x + n.x, a.y + n.y}};
                Point inner[3] = {a, {a.x - previous_normal.x, a.y - previous_normal.y}, {a.x - n.x, a.y - n.y}};
                sink.Polygon(outer, 3);
                sink.Polygon(inner, 3);
            }
            previous_normal = n;
            has_previous = true;
        }
        if (points_.size() >= 2) {
            add_disc(points_.front());
            add_disc(points_.back());
        }
    }
}

}  // namespace flash
