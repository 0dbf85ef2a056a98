// The arithmetic of 2-D affine matrices as flash.geom.Matrix does it:
// points map as x' = a*x + c*y + tx, y' = b*x + d*y + ty.
#pragma once

#include <cmath>

namespace flash::avm1 {

struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

// m followed by then (m.concat(then)).
inline Affine Concat(const Affine& m, const Affine& then) {
    return {m.a * then.a + m.b * then.c,       m.a * then.b + m.b * then.d,
            m.c * then.a + m.d * then.c,       m.c * then.b + m.d * then.d,
            m.tx * then.a + m.ty * then.c + then.tx, m.tx * then.b + m.ty * then.d + then.ty};
}

// The inverse; a matrix with no inverse becomes the identity.
inline Affine Invert(const Affine& m) {
    double det = m.a * m.d - m.b * m.c;
    if (det == 0 || std::isnan(det)) return Affine{};
    Affine r;
    r.a = m.d / det;
    r.b = -m.b / det;
    r.c = -m.c / det;
    r.d = m.a / det;
    r.tx = -(r.a * m.tx + r.c * m.ty);
    r.ty = -(r.b * m.tx + r.d * m.ty);
    return r;
}

inline Affine Rotate(const Affine& m, double angle) {
    double cos = std::cos(angle), sin = std::sin(angle);
    return Concat(m, Affine{cos, sin, -sin, cos, 0, 0});
}

inline Affine Scale(const Affine& m, double sx, double sy) {
    return {m.a * sx, m.b * sy, m.c * sx, m.d * sy, m.tx * sx, m.ty * sy};
}

// scale, then rotate, then translate (createBox).
inline Affine Box(double sx, double sy, double angle, double tx, double ty) {
    double cos = std::cos(angle), sin = std::sin(angle);
    return {sx * cos, sy * sin, -sx * sin, sy * cos, tx, ty};
}

}  // namespace flash::avm1
