#include "swf/records.h"

namespace swf {

Rect ReadRect(ByteReader& in) {
    in.Align();
    int bits = static_cast<int>(in.UB(5));
    Rect r;
    r.xmin = in.SB(bits);
    r.xmax = in.SB(bits);
    r.ymin = in.SB(bits);
    r.ymax = in.SB(bits);
    in.Align();
    return r;
}

Matrix ReadMatrix(ByteReader& in) {
    in.Align();
    Matrix m;
    if (in.UB(1)) {
        int bits = static_cast<int>(in.UB(5));
        m.scale_x = in.FB(bits);
        m.scale_y = in.FB(bits);
    }
    if (in.UB(1)) {
        int bits = static_cast<int>(in.UB(5));
        m.skew0 = in.FB(bits);
        m.skew1 = in.FB(bits);
    }
    int bits = static_cast<int>(in.UB(5));
    m.tx = in.SB(bits);
    m.ty = in.SB(bits);
    in.Align();
    return m;
}

ColorTransform ReadColorTransform(ByteReader& in, bool with_alpha) {
    in.Align();
    ColorTransform t;
    bool has_add = in.UB(1);
    bool has_mult = in.UB(1);
    int bits = static_cast<int>(in.UB(4));
    if (has_mult) {
        t.rm = in.SB(bits);
        t.gm = in.SB(bits);
        t.bm = in.SB(bits);
        if (with_alpha) t.am = in.SB(bits);
    }
    if (has_add) {
        t.ra = in.SB(bits);
        t.ga = in.SB(bits);
        t.ba = in.SB(bits);
        if (with_alpha) t.aa = in.SB(bits);
    }
    in.Align();
    return t;
}

Rgba ReadRgb(ByteReader& in) {
    Rgba c;
    c.r = in.U8();
    c.g = in.U8();
    c.b = in.U8();
    return c;
}

Rgba ReadRgba(ByteReader& in) {
    Rgba c = ReadRgb(in);
    c.a = in.U8();
    return c;
}

}  // namespace swf
