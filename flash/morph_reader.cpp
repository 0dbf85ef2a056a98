#include "flash/morph_reader.h"

#include "flash/shape_reader.h"
#include "flash/swf_records.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

size_t ReadCount(swf::ByteReader& in) {
    size_t count = in.U8();
    if (count == 0xFF) count = in.U16();
    return count;
}

void ReadMorphFill(swf::ByteReader& in, FillStyle& start, FillStyle& end) {
    uint8_t type = in.U8();
    if (type == 0x00) {
        start.color = swf::ReadRgba(in);
        end.color = swf::ReadRgba(in);
    } else if (type == 0x10 || type == 0x12 || type == 0x13) {
        start.kind = end.kind = type == 0x10 ? FillKind::LinearGradient
                              : type == 0x12 ? FillKind::RadialGradient : FillKind::FocalGradient;
        start.matrix = ToMatrix(swf::ReadMatrix(in));
        end.matrix = ToMatrix(swf::ReadMatrix(in));
        uint8_t flags = in.U8();
        start.spread = end.spread = (flags >> 6) & 3;
        start.linear_rgb = end.linear_rgb = ((flags >> 4) & 3) == 1;
        int count = flags & 15;
        for (int i = 0; i < count; ++i) {
            GradientStop a, b;
            a.ratio = in.U8();
            a.color = swf::ReadRgba(in);
            b.ratio = in.U8();
            b.color = swf::ReadRgba(in);
            start.stops.push_back(a);
            end.stops.push_back(b);
        }
        if (type == 0x13) {
            start.focal = in.S16() / 256.0;
            end.focal = in.S16() / 256.0;
        }
    } else if (type >= 0x40 && type <= 0x43) {
        start.kind = end.kind = FillKind::Bitmap;
        start.bitmap_id = end.bitmap_id = in.U16();
        start.bitmap_repeats = end.bitmap_repeats = type == 0x40 || type == 0x42;
        start.bitmap_smooth = end.bitmap_smooth = type == 0x40 || type == 0x41;
        start.matrix = ToMatrix(swf::ReadMatrix(in));
        end.matrix = ToMatrix(swf::ReadMatrix(in));
    } else {
        throw swf::SwfDataError("unknown morph fill style type");
    }
}

double Mix(double a, double b, double t) { return a + (b - a) * t; }

uint8_t MixByte(uint8_t a, uint8_t b, double t) { return static_cast<uint8_t>(std::lround(Mix(a, b, t))); }

Rgba MixColor(Rgba a, Rgba b, double t) {
    return Rgba{MixByte(a.r, b.r, t), MixByte(a.g, b.g, t), MixByte(a.b, b.b, t), MixByte(a.a, b.a, t)};
}

Matrix MixMatrix(const Matrix& a, const Matrix& b, double t) {
    return Matrix{Mix(a.a, b.a, t), Mix(a.b, b.b, t), Mix(a.c, b.c, t), Mix(a.d, b.d, t), Mix(a.tx, b.tx, t),
                  Mix(a.ty, b.ty, t)};
}

int32_t MixCoord(int32_t a, int32_t b, double t) { return static_cast<int32_t>(std::lround(Mix(a, b, t))); }

// A straight edge as a curve with its control point halfway.
ShapeEdge AsCurve(ShapeEdge e) {
    if (!e.curved) {
        e.curved = true;
        e.cx = e.x0 + (e.x1 - e.x0) / 2;
        e.cy = e.y0 + (e.y1 - e.y0) / 2;
    }
    return e;
}

}  // namespace

MorphShape ReadMorphShape(swf::ByteReader& in, int version) {
    MorphShape morph;
    swf::Rect start = swf::ReadRect(in);
    swf::ReadRect(in);  // end bounds
    morph.start.xmin = start.xmin;
    morph.start.xmax = start.xmax;
    morph.start.ymin = start.ymin;
    morph.start.ymax = start.ymax;
    if (version >= 2) {
        swf::ReadRect(in);
        swf::ReadRect(in);
        in.U8();  // stroke hints
    }
    uint32_t end_offset = in.U32();
    size_t offset_base = in.Pos();
    morph.start.layers.emplace_back();
    ShapeLayer& layer = morph.start.layers.back();

    size_t fills = ReadCount(in);
    for (size_t i = 0; i < fills; ++i) {
        FillStyle a, b;
        ReadMorphFill(in, a, b);
        layer.fills.push_back(a);
        morph.end_fills.push_back(b);
    }
    size_t lines = ReadCount(in);
    for (size_t i = 0; i < lines; ++i) {
        LineStyle a, b;
        a.width = in.U16();
        b.width = in.U16();
        if (version >= 2) {
            if (ReadLineFlags(in, a)) {
                FillStyle fa, fb;
                ReadMorphFill(in, fa, fb);
                a.color = fa.color;
                b.color = fb.color;
            } else {
                a.color = swf::ReadRgba(in);
                b.color = swf::ReadRgba(in);
            }
        } else {
            a.color = swf::ReadRgba(in);
            b.color = swf::ReadRgba(in);
        }
        layer.lines.push_back(a);
        morph.end_lines.push_back(b);
    }
    ReadShapeRecords(in, 3, morph.start);
    morph.start.layers.resize(1);  // a morph has no new styles

    if (end_offset > in.Size() - offset_base) throw swf::SwfDataError("morph end edges outside the tag");
    size_t end_start = offset_base + end_offset;
    swf::ByteReader end_in(in.Data().subspan(end_start));
    Shape end;
    end.layers.emplace_back();
    ReadShapeRecords(end_in, 1, end);
    morph.end_edges = std::move(end.layers.front().edges);
    return morph;
}

Shape MorphAt(const MorphShape& morph, int ratio) {
    double t = std::clamp(ratio, 0, 65535) / 65535.0;
    Shape shape = morph.start;
    ShapeLayer& layer = shape.layers.front();
    for (size_t i = 0; i < layer.fills.size() && i < morph.end_fills.size(); ++i) {
        FillStyle& fill = layer.fills[i];
        const FillStyle& end = morph.end_fills[i];
        fill.color = MixColor(fill.color, end.color, t);
        fill.matrix = MixMatrix(fill.matrix, end.matrix, t);
        for (size_t s = 0; s < fill.stops.size() && s < end.stops.size(); ++s) {
            fill.stops[s].ratio = MixByte(fill.stops[s].ratio, end.stops[s].ratio, t);
            fill.stops[s].color = MixColor(fill.stops[s].color, end.stops[s].color, t);
        }
    }
    for (size_t i = 0; i < layer.lines.size() && i < morph.end_lines.size(); ++i) {
        layer.lines[i].width = static_cast<int>(std::lround(Mix(layer.lines[i].width, morph.end_lines[i].width, t)));
        layer.lines[i].color = MixColor(layer.lines[i].color, morph.end_lines[i].color, t);
    }
    size_t count = std::min(layer.edges.size(), morph.end_edges.size());
    layer.edges.resize(count);
    for (size_t i = 0; i < count; ++i) {
        ShapeEdge& edge = layer.edges[i];
        const ShapeEdge& target = morph.end_edges[i];
        if (edge.curved != target.curved) {
            ShapeEdge a = AsCurve(edge), b = AsCurve(target);
            edge = a;
            edge.cx = MixCoord(a.cx, b.cx, t);
            edge.cy = MixCoord(a.cy, b.cy, t);
            edge.x0 = MixCoord(a.x0, b.x0, t);
            edge.y0 = MixCoord(a.y0, b.y0, t);
            edge.x1 = MixCoord(a.x1, b.x1, t);
            edge.y1 = MixCoord(a.y1, b.y1, t);
            continue;
        }
        edge.x0 = MixCoord(edge.x0, target.x0, t);
        edge.y0 = MixCoord(edge.y0, target.y0, t);
        edge.cx = MixCoord(edge.cx, target.cx, t);
        edge.cy = MixCoord(edge.cy, target.cy, t);
        edge.x1 = MixCoord(edge.x1, target.x1, t);
        edge.y1 = MixCoord(edge.y1, target.y1, t);
    }
    return shape;
}

}  // namespace flash
