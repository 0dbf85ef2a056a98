#include "flash/shape_reader.h"

#include "flash/swf_records.h"

namespace flash {

namespace {

Rgba ReadColor(swf::ByteReader& in, int version) {
    return version >= 3 ? swf::ReadRgba(in) : swf::ReadRgb(in);
}

size_t ReadStyleCount(swf::ByteReader& in, int version) {
    size_t count = in.U8();
    if (count == 0xFF && version >= 2) count = in.U16();
    return count;
}

FillStyle ReadFillStyle(swf::ByteReader& in, int version) {
    FillStyle fill;
    uint8_t type = in.U8();
    if (type == 0x00) {
        fill.color = ReadColor(in, version);
    } else if (type == 0x10 || type == 0x12 || type == 0x13) {
        fill.kind = type == 0x10 ? FillKind::LinearGradient
                  : type == 0x12 ? FillKind::RadialGradient : FillKind::FocalGradient;
        fill.matrix = ToMatrix(swf::ReadMatrix(in));
        uint8_t flags = in.U8();
        fill.spread = (flags >> 6) & 3;
        fill.linear_rgb = ((flags >> 4) & 3) == 1;
        int count = flags & 15;
        for (int i = 0; i < count; ++i) {
            GradientStop stop;
            stop.ratio = in.U8();
            stop.color = ReadColor(in, version);
            fill.stops.push_back(stop);
        }
        if (type == 0x13) fill.focal = in.S16() / 256.0;
        if (!fill.stops.empty()) fill.color = fill.stops.front().color;
    } else if (type >= 0x40 && type <= 0x43) {
        fill.kind = FillKind::Bitmap;
        fill.bitmap_id = in.U16();
        fill.bitmap_repeats = type == 0x40 || type == 0x42;
        fill.bitmap_smooth = type == 0x40 || type == 0x41;
        fill.matrix = ToMatrix(swf::ReadMatrix(in));
    } else {
        throw swf::SwfDataError("unknown fill style type");
    }
    return fill;
}

LineCap CapOf(int bits) { return bits == 1 ? LineCap::None : bits == 2 ? LineCap::Square : LineCap::Round; }

LineStyle ReadLineStyle(swf::ByteReader& in, int version) {
    LineStyle line;
    line.width = in.U16();
    if (version < 4) {
        line.color = ReadColor(in, version);
        return line;
    }
    if (ReadLineFlags(in, line)) {
        FillStyle fill = ReadFillStyle(in, version);
        line.color = fill.color;
        if (fill.kind != FillKind::Solid) line.fill = fill;
    } else
        line.color = swf::ReadRgba(in);
    return line;
}

void ReadStyles(swf::ByteReader& in, int version, ShapeLayer& layer) {
    size_t fills = ReadStyleCount(in, version);
    for (size_t i = 0; i < fills; ++i) layer.fills.push_back(ReadFillStyle(in, version));
    size_t lines = ReadStyleCount(in, version);
    for (size_t i = 0; i < lines; ++i) layer.lines.push_back(ReadLineStyle(in, version));
}

// A style number from a shape record, kept only if the layer has it.
uint16_t CheckedStyle(uint32_t number, size_t count) {
    return number <= count ? static_cast<uint16_t>(number) : 0;
}

}  // namespace

bool ReadLineFlags(swf::ByteReader& in, LineStyle& line) {
    uint8_t flags1 = in.U8();
    uint8_t flags2 = in.U8();
    line.start_cap = CapOf(flags1 >> 6);
    int join = (flags1 >> 4) & 3;
    line.join = join == 1 ? LineJoin::Bevel : join == 2 ? LineJoin::Miter : LineJoin::Round;
    line.scale_x = !(flags1 & 0x04);
    line.scale_y = !(flags1 & 0x02);
    line.no_close = (flags2 >> 2) & 1;
    line.end_cap = CapOf(flags2 & 3);
    if (join == 2) line.miter_limit = in.U16() / 256.0;
    return (flags1 >> 3) & 1;
}

Shape ReadShape(swf::ByteReader& in, int version) {
    Shape shape;
    swf::Rect bounds = swf::ReadRect(in);
    shape.xmin = bounds.xmin;
    shape.xmax = bounds.xmax;
    shape.ymin = bounds.ymin;
    shape.ymax = bounds.ymax;
    if (version >= 4) {
        swf::ReadRect(in);  // edge bounds
        uint8_t flags = in.U8();
        shape.nonzero_winding = (flags & 0x04) != 0;
    }
    shape.layers.emplace_back();
    ReadStyles(in, version, shape.layers.back());
    ReadShapeRecords(in, version, shape);
    return shape;
}

void ReadShapeRecords(swf::ByteReader& in, int version, Shape& shape) {
    in.Align();
    int fill_bits = static_cast<int>(in.UB(4));
    int line_bits = static_cast<int>(in.UB(4));

    int32_t x = 0, y = 0;
    uint16_t fill0 = 0, fill1 = 0, line = 0;
    for (;;) {
        ShapeLayer& layer = shape.layers.back();
        if (in.UB(1) == 0) {
            uint32_t flags = in.UB(5);
            if (flags == 0) break;  // end of shape
            if (flags & 0x01) {
                int bits = static_cast<int>(in.UB(5));
                x = in.SB(bits);
                y = in.SB(bits);
            }
            if (flags & 0x02) fill0 = CheckedStyle(in.UB(fill_bits), layer.fills.size());
            if (flags & 0x04) fill1 = CheckedStyle(in.UB(fill_bits), layer.fills.size());
            if (flags & 0x08) line = CheckedStyle(in.UB(line_bits), layer.lines.size());
            if ((flags & 0x10) && version >= 2) {
                shape.layers.emplace_back();
                ReadStyles(in, version, shape.layers.back());
                in.Align();
                fill_bits = static_cast<int>(in.UB(4));
                line_bits = static_cast<int>(in.UB(4));
                fill0 = fill1 = line = 0;
            }
            continue;
        }
        ShapeEdge edge;
        edge.x0 = x;
        edge.y0 = y;
        edge.fill0 = fill0;
        edge.fill1 = fill1;
        edge.line = line;
        bool straight = in.UB(1);
        int bits = static_cast<int>(in.UB(4)) + 2;
        if (straight) {
            int32_t dx = 0, dy = 0;
            if (in.UB(1)) {
                dx = in.SB(bits);
                dy = in.SB(bits);
            } else if (in.UB(1)) {
                dy = in.SB(bits);
            } else {
                dx = in.SB(bits);
            }
            x += dx;
            y += dy;
        } else {
            edge.curved = true;
            edge.cx = x + in.SB(bits);
            edge.cy = y + in.SB(bits);
            x = edge.cx + in.SB(bits);
            y = edge.cy + in.SB(bits);
        }
        edge.x1 = x;
        edge.y1 = y;
        layer.edges.push_back(edge);
    }
}

Shape ReadGlyph(swf::ByteReader& in) {
    Shape glyph;
    glyph.layers.emplace_back();
    glyph.layers.back().fills.emplace_back();  // the text's colour
    ReadShapeRecords(in, 1, glyph);
    return glyph;
}

}  // namespace flash
