#include "flash/truetype.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

namespace flash {

namespace {

struct BadFont : std::runtime_error {
    BadFont() : std::runtime_error("bad font") {}
};

// Big-endian reads that throw past the end of the bytes.
struct Bytes {
    const std::vector<uint8_t>& data;

    void Need(size_t at, size_t count) const {
        if (at > data.size() || count > data.size() - at) throw BadFont();
    }
    uint8_t U8(size_t at) const { Need(at, 1); return data[at]; }
    uint16_t U16(size_t at) const { Need(at, 2); return static_cast<uint16_t>(data[at] << 8 | data[at + 1]); }
    int16_t S16(size_t at) const { return static_cast<int16_t>(U16(at)); }
    uint32_t U32(size_t at) const { return static_cast<uint32_t>(U16(at)) << 16 | U16(at + 2); }
};

struct Tables {
    size_t head = 0, hhea = 0, hmtx = 0, maxp = 0, cmap = 0, loca = 0, glyf = 0, os2 = 0;
    size_t glyf_size = 0;
};

Tables FindTables(const Bytes& b, size_t offset) {
    Tables t;
    int count = b.U16(offset + 4);
    for (int i = 0; i < count; ++i) {
        size_t record = offset + 12 + static_cast<size_t>(i) * 16;
        b.Need(record, 16);
        std::string tag(reinterpret_cast<const char*>(&b.data[record]), 4);
        size_t at = b.U32(record + 8), size = b.U32(record + 12);
        b.Need(at, size);
        if (tag == "head") t.head = at;
        else if (tag == "hhea") t.hhea = at;
        else if (tag == "hmtx") t.hmtx = at;
        else if (tag == "maxp") t.maxp = at;
        else if (tag == "cmap") t.cmap = at;
        else if (tag == "loca") t.loca = at;
        else if (tag == "glyf") t.glyf = at, t.glyf_size = size;
        else if (tag == "OS/2") t.os2 = at;
    }
    if (!t.head || !t.hhea || !t.hmtx || !t.maxp || !t.cmap || !t.loca || !t.glyf) throw BadFont();
    return t;
}

// Character code to glyph index from the Unicode BMP subtable (format 4).
std::map<uint16_t, uint16_t> ReadCmap(const Bytes& b, size_t cmap) {
    int count = b.U16(cmap + 2);
    size_t table = 0;
    for (int i = 0; i < count; ++i) {
        size_t record = cmap + 4 + static_cast<size_t>(i) * 8;
        int platform = b.U16(record), encoding = b.U16(record + 2);
        size_t at = cmap + b.U32(record + 4);
        if (b.U16(at) != 4) continue;
        if ((platform == 3 && encoding == 1) || platform == 0) table = at;
    }
    std::map<uint16_t, uint16_t> out;
    if (!table) return out;
    size_t segments = b.U16(table + 6) / 2;
    size_t ends = table + 14, starts = ends + segments * 2 + 2;
    size_t deltas = starts + segments * 2, ranges = deltas + segments * 2;
    for (size_t s = 0; s < segments; ++s) {
        uint32_t end = b.U16(ends + s * 2), start = b.U16(starts + s * 2);
        uint16_t delta = b.U16(deltas + s * 2);
        size_t range_at = ranges + s * 2;
        uint16_t range = b.U16(range_at);
        for (uint32_t c = start; c <= end && c != 0xFFFF; ++c) {
            uint16_t glyph;
            if (range == 0) {
                glyph = static_cast<uint16_t>(c + delta);
            } else {
                glyph = b.U16(range_at + range + (c - start) * 2);
                if (glyph) glyph = static_cast<uint16_t>(glyph + delta);
            }
            if (glyph) out[static_cast<uint16_t>(c)] = glyph;
        }
    }
    return out;
}

struct Point {
    int32_t x, y;
    bool on;
};

struct Reader {
    Bytes b;
    Tables t;
    bool long_offsets = false;
    uint16_t glyph_count = 0;

    size_t GlyphAt(uint16_t glyph, size_t* size) const {
        if (glyph >= glyph_count) return 0;
        size_t from, to;
        if (long_offsets) from = b.U32(t.loca + glyph * 4u), to = b.U32(t.loca + glyph * 4u + 4);
        else from = b.U16(t.loca + glyph * 2u) * 2u, to = b.U16(t.loca + glyph * 2u + 2) * 2u;
        if (to <= from || to > t.glyf_size) return 0;
        *size = to - from;
        return t.glyf + from;
    }

    // Appends the contours of a glyph, moved by (dx, dy) in font units.
    void Contours(uint16_t glyph, double dx, double dy, const double scale[4], int depth,
                  std::vector<std::vector<Point>>& out) const {
        size_t size = 0;
        size_t at = GlyphAt(glyph, &size);
        if (!at || depth > 8) return;
        int16_t contours = b.S16(at);
        if (contours >= 0) {
            Simple(at, contours, dx, dy, scale, out);
            return;
        }
        size_t p = at + 10;
        for (;;) {
            uint16_t flags = b.U16(p), component = b.U16(p + 2);
            p += 4;
            double ax, ay;
            if (flags & 1) ax = b.S16(p), ay = b.S16(p + 2), p += 4;
            else ax = static_cast<int8_t>(b.U8(p)), ay = static_cast<int8_t>(b.U8(p + 1)), p += 2;
            double m[4] = {1, 0, 0, 1};
            if (flags & 0x08) m[0] = m[3] = b.S16(p) / 16384.0, p += 2;
            else if (flags & 0x40) m[0] = b.S16(p) / 16384.0, m[3] = b.S16(p + 2) / 16384.0, p += 4;
            else if (flags & 0x80) {
                m[0] = b.S16(p) / 16384.0, m[1] = b.S16(p + 2) / 16384.0;
                m[2] = b.S16(p + 4) / 16384.0, m[3] = b.S16(p + 6) / 16384.0, p += 8;
            }
            double combined[4] = {scale[0] * m[0] + scale[2] * m[1], scale[1] * m[0] + scale[3] * m[1],
                                  scale[0] * m[2] + scale[2] * m[3], scale[1] * m[2] + scale[3] * m[3]};
            // Component offsets given as point numbers are rare; they are read as no offset.
            double ox = (flags & 2) ? ax : 0, oy = (flags & 2) ? ay : 0;
            Contours(component, dx + scale[0] * ox + scale[2] * oy, dy + scale[1] * ox + scale[3] * oy, combined,
                     depth + 1, out);
            if (!(flags & 0x20)) break;
        }
    }

    void Simple(size_t at, int contours, double dx, double dy, const double m[4],
                std::vector<std::vector<Point>>& out) const {
        std::vector<uint16_t> ends;
        for (int i = 0; i < contours; ++i) ends.push_back(b.U16(at + 10 + static_cast<size_t>(i) * 2));
        if (ends.empty()) return;
        size_t count = static_cast<size_t>(ends.back()) + 1;
        size_t p = at + 10 + static_cast<size_t>(contours) * 2;
        p += 2 + b.U16(p);   // instructions
        std::vector<uint8_t> flags;
        while (flags.size() < count) {
            uint8_t f = b.U8(p++);
            flags.push_back(f);
            if (f & 8) {
                int repeat = b.U8(p++);
                for (int r = 0; r < repeat && flags.size() < count; ++r) flags.push_back(f);
            }
        }
        std::vector<int32_t> xs(count), ys(count);
        int32_t value = 0;
        for (size_t i = 0; i < count; ++i) {
            uint8_t f = flags[i];
            if (f & 2) value += (f & 16) ? b.U8(p) : -b.U8(p), p += 1;
            else if (!(f & 16)) value += b.S16(p), p += 2;
            xs[i] = value;
        }
        value = 0;
        for (size_t i = 0; i < count; ++i) {
            uint8_t f = flags[i];
            if (f & 4) value += (f & 32) ? b.U8(p) : -b.U8(p), p += 1;
            else if (!(f & 32)) value += b.S16(p), p += 2;
            ys[i] = value;
        }
        size_t first = 0;
        for (uint16_t end : ends) {
            std::vector<Point> contour;
            for (size_t i = first; i <= end && i < count; ++i) {
                double x = m[0] * xs[i] + m[2] * ys[i] + dx, y = m[1] * xs[i] + m[3] * ys[i] + dy;
                // Doubled, y down.
                contour.push_back({static_cast<int32_t>(std::lround(x * 2)), static_cast<int32_t>(std::lround(-y * 2)),
                                   (flags[i] & 1) != 0});
            }
            first = static_cast<size_t>(end) + 1;
            if (contour.size() >= 2) out.push_back(std::move(contour));
        }
    }
};

// Quadratic edges of a closed contour of on- and off-curve points.
void AddContour(const std::vector<Point>& points, std::vector<ShapeEdge>& edges) {
    size_t n = points.size();
    size_t start = 0;
    while (start < n && !points[start].on) ++start;
    Point origin = points[start % n];
    if (start == n) origin = {(points[0].x + points[1].x) / 2, (points[0].y + points[1].y) / 2, true}, start = 0;
    Point pen = origin;
    const Point* control = nullptr;
    Point middle{};
    auto line_to = [&](Point to) {
        ShapeEdge e;
        e.x0 = pen.x, e.y0 = pen.y, e.x1 = to.x, e.y1 = to.y, e.fill1 = 1;
        edges.push_back(e);
        pen = to;
    };
    auto curve_to = [&](const Point& c, Point to) {
        ShapeEdge e;
        e.x0 = pen.x, e.y0 = pen.y, e.cx = c.x, e.cy = c.y, e.x1 = to.x, e.y1 = to.y, e.curved = true, e.fill1 = 1;
        edges.push_back(e);
        pen = to;
    };
    for (size_t k = 1; k <= n; ++k) {
        const Point& p = k == n && points[start].on ? origin : points[(start + k) % n];
        if (p.on) {
            if (control) curve_to(*control, p);
            else if (p.x != pen.x || p.y != pen.y) line_to(p);
            control = nullptr;
        } else {
            if (control) {
                middle = {(control->x + p.x) / 2, (control->y + p.y) / 2, true};
                curve_to(*control, middle);
            }
            control = &p;
        }
    }
    if (control) curve_to(*control, origin);
    else if (pen.x != origin.x || pen.y != origin.y) line_to(origin);
}

}  // namespace

std::shared_ptr<Font> ReadTrueType(const std::vector<uint8_t>& data) {
    try {
        Bytes b{data};
        size_t offset = 0;
        if (data.size() >= 16 && std::string(data.begin(), data.begin() + 4) == "ttcf") offset = b.U32(12);
        Reader r{b, FindTables(b, offset)};
        int em = b.U16(r.t.head + 18);
        if (em <= 0) return nullptr;
        r.long_offsets = b.S16(r.t.head + 50) != 0;
        r.glyph_count = b.U16(r.t.maxp + 4);
        size_t metrics = b.U16(r.t.hhea + 34);
        if (metrics == 0) return nullptr;

        auto font = std::make_shared<Font>();
        font->em = em * 2.0;
        if (r.t.os2 && b.U16(r.t.os2 + 2) != 0xFFFF) {
            font->ascent = b.U16(r.t.os2 + 74) * 2;
            font->descent = b.U16(r.t.os2 + 76) * 2;
        } else {
            font->ascent = b.S16(r.t.hhea + 4) * 2;
            font->descent = -b.S16(r.t.hhea + 6) * 2;
        }
        font->leading = std::max(0, static_cast<int>(b.S16(r.t.hhea + 8))) * 2;
        font->codes_sorted = true;
        const double identity[4] = {1, 0, 0, 1};
        for (const auto& [code, glyph] : ReadCmap(b, r.t.cmap)) {
            size_t m = std::min<size_t>(glyph, metrics - 1);
            int advance = b.U16(r.t.hmtx + m * 4);
            std::vector<std::vector<Point>> contours;
            r.Contours(glyph, 0, 0, identity, 0, contours);
            Shape shape;
            shape.nonzero_winding = true;
            ShapeLayer layer;
            layer.fills.push_back(FillStyle{});
            for (const auto& contour : contours) AddContour(contour, layer.edges);
            shape.layers.push_back(std::move(layer));
            font->glyphs.push_back(std::move(shape));
            font->codes.push_back(code);
            font->advances.push_back(advance * 2);
        }
        return font;
    } catch (const BadFont&) {
        return nullptr;
    }
}

}  // namespace flash
