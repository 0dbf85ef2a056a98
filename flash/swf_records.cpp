#include "flash/swf_records.h"

namespace flash {

Rect ReadRect(SwfBits& in) {
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

Matrix ReadMatrix(SwfBits& in) {
    in.Align();
    Matrix m;
    if (in.UB(1)) {
        int bits = static_cast<int>(in.UB(5));
        m.a = in.FB(bits);
        m.d = in.FB(bits);
    }
    if (in.UB(1)) {
        int bits = static_cast<int>(in.UB(5));
        m.b = in.FB(bits);
        m.c = in.FB(bits);
    }
    int bits = static_cast<int>(in.UB(5));
    m.tx = in.SB(bits);
    m.ty = in.SB(bits);
    in.Align();
    return m;
}

Rgba ReadRgb(SwfBits& in) {
    Rgba c;
    c.r = in.U8();
    c.g = in.U8();
    c.b = in.U8();
    return c;
}

Rgba ReadRgba(SwfBits& in) {
    Rgba c = ReadRgb(in);
    c.a = in.U8();
    return c;
}

ColorTransform ReadColorTransform(SwfBits& in, bool with_alpha) {
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

}  // namespace flash
