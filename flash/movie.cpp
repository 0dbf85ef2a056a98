#include "flash/movie.h"

#include <algorithm>
#include <cmath>

namespace flash {

Matrix Multiply(const Matrix& o, const Matrix& i) {
    Matrix m;
    m.a = o.a * i.a + o.c * i.b;
    m.b = o.b * i.a + o.d * i.b;
    m.c = o.a * i.c + o.c * i.d;
    m.d = o.b * i.c + o.d * i.d;
    m.tx = o.a * i.tx + o.c * i.ty + o.tx;
    m.ty = o.b * i.tx + o.d * i.ty + o.ty;
    return m;
}

std::optional<Matrix> Inverse(const Matrix& m) {
    double det = m.a * m.d - m.b * m.c;
    if (!std::isfinite(det) || std::fabs(det) < 1e-12) return std::nullopt;
    Matrix inverse;
    inverse.a = m.d / det;
    inverse.b = -m.b / det;
    inverse.c = -m.c / det;
    inverse.d = m.a / det;
    inverse.tx = -(inverse.a * m.tx + inverse.c * m.ty);
    inverse.ty = -(inverse.b * m.tx + inverse.d * m.ty);
    return inverse;
}

namespace {

uint8_t Channel(int value, int mult, int add) {
    return static_cast<uint8_t>(std::clamp(value * mult / 256 + add, 0, 255));
}

// Alpha is scaled to the nearest level, so that full opacity times the
// 8.8 fixed point multiplier n blends as n/256 of the colour.
uint8_t AlphaChannel(int value, int mult, int add) {
    return static_cast<uint8_t>(std::clamp((value * mult + 128) / 256 + add, 0, 255));
}

}  // namespace

Rgba ColorTransform::Apply(Rgba c) const {
    return Rgba{Channel(c.r, rm, ra), Channel(c.g, gm, ga), Channel(c.b, bm, ba), AlphaChannel(c.a, am, aa)};
}

ColorTransform Combine(const ColorTransform& o, const ColorTransform& i) {
    ColorTransform t;
    t.rm = o.rm * i.rm / 256;
    t.gm = o.gm * i.gm / 256;
    t.bm = o.bm * i.bm / 256;
    t.am = o.am * i.am / 256;
    t.ra = o.ra + o.rm * i.ra / 256;
    t.ga = o.ga + o.gm * i.ga / 256;
    t.ba = o.ba + o.bm * i.ba / 256;
    t.aa = o.aa + o.am * i.aa / 256;
    return t;
}

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

int Timeline::FindLabel(const std::string& label) const {
    // Labels that differ only in case are one label: the first in the
    // timeline answers.
    std::string wanted = Lower(label);
    int found = -1;
    for (const auto& [name, frame] : labels)
        if (Lower(name) == wanted && (found < 0 || frame < found)) found = frame;
    return found;
}

const Character* Movie::Find(uint16_t id) const {
    auto it = characters.find(id);
    return it == characters.end() ? nullptr : &it->second;
}

int Font::FindGlyph(uint16_t code) const {
    auto found = codes_sorted ? std::lower_bound(codes.begin(), codes.end(), code)
                              : std::find(codes.begin(), codes.end(), code);
    if (found == codes.end() || *found != code) return -1;
    return static_cast<int>(found - codes.begin());
}

Box TransformBox(const Matrix& m, const Box& box) {
    double xs[4] = {m.X(box.xmin, box.ymin), m.X(box.xmax, box.ymin), m.X(box.xmin, box.ymax), m.X(box.xmax, box.ymax)};
    double ys[4] = {m.Y(box.xmin, box.ymin), m.Y(box.xmax, box.ymin), m.Y(box.xmin, box.ymax), m.Y(box.xmax, box.ymax)};
    return {*std::min_element(xs, xs + 4), *std::min_element(ys, ys + 4), *std::max_element(xs, xs + 4),
            *std::max_element(ys, ys + 4)};
}

}  // namespace flash
