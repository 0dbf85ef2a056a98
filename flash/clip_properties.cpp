// What scripts see of a movie clip as members: the underscore properties
// (_x, _alpha, _currentframe...) and the children by instance name; and
// the bounds those properties measure.
#include "flash/avm1/classes/bitmap_pixels.h"
#include "flash/avm1/level_names.h"
#include "flash/avm1/vm.h"
#include "flash/drawing.h"
#include "flash/player.h"
#include "flash/text_field.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace flash {

namespace {

constexpr double kPi = 3.14159265358979323846;

enum class Prop {
    None, X, Y, XScale, YScale, CurrentFrame, TotalFrames, Alpha, Visible, Width, Height, Rotation, Target,
    FramesLoaded, Name, DropTarget, Url, HighQuality, FocusRect, SoundBufTime, Quality, XMouse, YMouse, Parent,
    Root,
};

Prop PropertyOf(const std::string& name, bool case_sensitive) {
    if (name.empty() || name[0] != '_') return Prop::None;
    static const std::pair<const char*, Prop> table[] = {
        {"_x", Prop::X}, {"_y", Prop::Y}, {"_xscale", Prop::XScale}, {"_yscale", Prop::YScale},
        {"_currentframe", Prop::CurrentFrame}, {"_totalframes", Prop::TotalFrames}, {"_alpha", Prop::Alpha},
        {"_visible", Prop::Visible}, {"_width", Prop::Width}, {"_height", Prop::Height},
        {"_rotation", Prop::Rotation}, {"_target", Prop::Target}, {"_framesloaded", Prop::FramesLoaded},
        {"_name", Prop::Name}, {"_droptarget", Prop::DropTarget}, {"_url", Prop::Url},
        {"_highquality", Prop::HighQuality}, {"_focusrect", Prop::FocusRect}, {"_soundbuftime", Prop::SoundBufTime},
        {"_quality", Prop::Quality}, {"_xmouse", Prop::XMouse}, {"_ymouse", Prop::YMouse},
        {"_parent", Prop::Parent}, {"_root", Prop::Root},
    };
    // The built-in properties are found whatever the case, in every
    // version; _root, which names a clip rather than a property, follows
    // the case rule of the version.
    std::string key = avm1::FoldCase(name);
    for (const auto& [n, p] : table)
        if (key == n) return p == Prop::Root && case_sensitive && name != n ? Prop::None : p;
    return Prop::None;
}

double ScaleX(const Matrix& m) { return std::sqrt(m.a * m.a + m.b * m.b); }
double ScaleY(const Matrix& m) { return std::sqrt(m.c * m.c + m.d * m.d); }
double RotationOf(const Matrix& m) { return std::atan2(m.b, m.a) * 180 / kPi; }

// Rebuilds the matrix from scales and rotation, keeping the translation
// and the skew between the axes.
void SetScaleRotation(Matrix& m, double sx, double sy, double degrees) {
    double skew = std::atan2(-m.c, m.d) - std::atan2(m.b, m.a);
    double r = degrees * kPi / 180;
    m.a = sx * std::cos(r);
    m.b = sx * std::sin(r);
    m.c = -sy * std::sin(r + skew);
    m.d = sy * std::cos(r + skew);
}

// From the first script change on, the scales and rotation are kept as
// numbers of their own.
void KeepScale(Instance& placed) {
    if (placed.has_scale) return;
    placed.has_scale = true;
    placed.xscale = ScaleX(placed.matrix) * 100;
    placed.yscale = ScaleY(placed.matrix) * 100;
    placed.rotation = RotationOf(placed.matrix);
}

double Round20(double twips) { return std::round(twips) / 20.0; }

// The union of boxes, each taken through a matrix.
struct BoundsUnion {
    double xmin = std::numeric_limits<double>::infinity(), ymin = xmin;
    double xmax = -xmin, ymax = -xmin;
    bool Empty() const { return xmin > xmax; }
    void AddBox(double x0, double y0, double x1, double y1, const Matrix& m) {
        Box box = TransformBox(m, {x0, y0, x1, y1});
        xmin = std::min(xmin, box.xmin), ymin = std::min(ymin, box.ymin);
        xmax = std::max(xmax, box.xmax), ymax = std::max(ymax, box.ymax);
    }
};

void AddClip(Clip& clip, const Matrix& m, BoundsUnion& box, int nesting);

void AddInstance(const Instance& instance, const Matrix& outer, BoundsUnion& box, int nesting) {
    if (!instance.definition || nesting > 32) return;
    Matrix m = Multiply(outer, instance.matrix);
    const Character& c = *instance.definition;
    if (instance.bitmap_data) {
        // An attached BitmapData: its pixels are twenty twips each.
        if (const avm1::BitmapPixels* pixels = avm1::BitmapDataPixels(instance.bitmap_data))
            box.AddBox(0, 0, pixels->width() * 20.0, pixels->height() * 20.0, m);
    } else if (c.shape) {
        box.AddBox(c.shape->xmin, c.shape->ymin, c.shape->xmax, c.shape->ymax, m);
    } else if (c.morph) {
        const Shape& s = c.morph->start;
        box.AddBox(s.xmin, s.ymin, s.xmax, s.ymax, m);
    } else if (instance.text) {
        const TextField& f = *instance.text;
        box.AddBox(f.xmin, f.ymin, f.xmax, f.ymax, m);
    } else if (c.edit_text) {
        box.AddBox(c.edit_text->xmin, c.edit_text->ymin, c.edit_text->xmax, c.edit_text->ymax, m);
    } else if (instance.clip) {
        AddClip(*instance.clip, m, box, nesting + 1);
    }
}

void AddClip(Clip& clip, const Matrix& m, BoundsUnion& box, int nesting) {
    if (clip.drawing && !clip.drawing->empty) {
        const Shape& s = clip.drawing->shape;
        box.AddBox(s.xmin, s.ymin, s.xmax, s.ymax, m);
    }
    for (auto& [depth, instance] : clip.children) AddInstance(instance, m, box, nesting);
}

}  // namespace

bool Player::ClipBounds(Clip& clip, double* xmin, double* ymin, double* xmax, double* ymax) {
    BoundsUnion box;
    AddClip(clip, Matrix{}, box, 0);
    if (box.Empty()) return false;
    *xmin = box.xmin, *ymin = box.ymin, *xmax = box.xmax, *ymax = box.ymax;
    return true;
}

// The display child with an instance name, as scripts see it; nullptr
// when there is none.
avm1::Object* Clip::NamedChild(const std::string& name, bool cs) {
    for (auto& [d, instance] : children) {
        if (instance.name.empty()) continue;
        if (cs ? instance.name != name : avm1::FoldCase(instance.name) != avm1::FoldCase(name)) continue;
        // A named shape is no object of its own: it stands for the clip it
        // is in.
        avm1::Object* child = instance.clip;
        if (!child) child = instance.text;
        if (!child) child = this;
        // Movies before version 6 have no button objects: a button stands
        // for the clip it is in.
        if (instance.clip && instance.clip->button && movie->version < 6) child = this;
        return child;
    }
    return nullptr;
}

// A member name is looked for in the clip's own properties, then level
// names, then its display children, then its built-in properties.
bool Clip::GetVirtual(avm1::Vm& vm, const std::string& name, avm1::Value* out) {
    bool cs = vm.CaseSensitive();
    if (FindOwn(name, cs)) return false;
    if (avm1::LevelValue(vm, name, out)) return true;
    if (avm1::Object* child = NamedChild(name, cs)) {
        *out = avm1::Value(child);
        return true;
    }
    return GetBuiltIn(vm, name, out);
}

bool Clip::GetBuiltIn(avm1::Vm& vm, const std::string& name, avm1::Value* out) {
    Prop prop = PropertyOf(name, vm.CaseSensitive());
    if (prop == Prop::None) return GetDisplayProperty(vm, name, out);
    Instance& placed = Placement();
    const Matrix& m = placed.matrix;
    switch (prop) {
    case Prop::X: *out = avm1::Value(Round20(m.tx)); return true;
    case Prop::Y: *out = avm1::Value(Round20(m.ty)); return true;
    case Prop::XScale: *out = avm1::Value(placed.has_scale ? placed.xscale : ScaleX(m) * 100); return true;
    case Prop::YScale: *out = avm1::Value(placed.has_scale ? placed.yscale : ScaleY(m) * 100); return true;
    case Prop::Rotation: *out = avm1::Value(placed.has_scale ? placed.rotation : RotationOf(m)); return true;
    case Prop::CurrentFrame: *out = avm1::Value(frame + 1); return true;
    case Prop::TotalFrames:
    case Prop::FramesLoaded: *out = avm1::Value(timeline->frame_count); return true;
    case Prop::Alpha: *out = avm1::Value(placed.color.am * 100.0 / 256.0); return true;
    case Prop::Visible: *out = avm1::Value(placed.visible); return true;
    case Prop::Width:
    case Prop::Height: {
        double x0, y0, x1, y1;
        if (!player->ClipBounds(*this, &x0, &y0, &x1, &y1)) {
            *out = avm1::Value(0);
            return true;
        }
        // Measured in the parent's space.
        Box box = TransformBox(m, {x0, y0, x1, y1});
        *out = avm1::Value(Round20(prop == Prop::Width ? box.xmax - box.xmin : box.ymax - box.ymin));
        return true;
    }
    case Prop::Target: *out = avm1::Value(player->SlashPath(this)); return true;
    case Prop::Name: *out = avm1::Value(parent ? placed.name : std::string()); return true;
    case Prop::DropTarget: *out = avm1::Value(""); return true;
    case Prop::Url: *out = avm1::Value(movie ? movie->url : std::string()); return true;
    case Prop::HighQuality: *out = avm1::Value(1); return true;
    case Prop::FocusRect: *out = avm1::Value(true); return true;
    case Prop::SoundBufTime: *out = avm1::Value(5); return true;
    case Prop::Quality: *out = avm1::Value("HIGH"); return true;
    case Prop::XMouse:
    case Prop::YMouse: {
        Matrix to_stage = player->StageMatrix(*this);
        auto inverse = Inverse(to_stage);
        double x = player->mouse_x, y = player->mouse_y;
        if (inverse) {
            double lx = inverse->X(x, y), ly = inverse->Y(x, y);
            x = lx, y = ly;
        }
        *out = avm1::Value(Round20(prop == Prop::XMouse ? x : y));
        return true;
    }
    case Prop::Parent: {
        Clip* above = parent;
        if (above && above->button && above->movie->version < 6 && above->parent) above = above->parent;
        *out = above ? avm1::Value(static_cast<avm1::Object*>(above)) : avm1::Value();
        return true;
    }
    case Prop::Root: *out = avm1::Value(player->RootOf(this)); return true;
    case Prop::None: break;
    }
    return false;
}

void Clip::ChildKeys(std::vector<std::string>& keys) {
    for (auto& [d, instance] : children)
        if ((instance.clip || instance.text) && !instance.name.empty()) keys.push_back(instance.name);
}

bool Clip::SetVirtual(avm1::Vm& vm, const std::string& name, const avm1::Value& value) {
    Prop prop = PropertyOf(name, vm.CaseSensitive());
    if (prop == Prop::None) return SetDisplayProperty(vm, name, value);
    if (prop == Prop::Parent || prop == Prop::Root) return false;
    Instance& placed = Placement();
    Matrix& m = placed.matrix;
    // undefined and null leave a number property as it is, in every
    // version (though version 6 reads them as 0 elsewhere).
    double n = vm.ToNumber(value);
    bool valid = !value.IsNullish() && std::isfinite(n);
    switch (prop) {
    case Prop::X:
        if (valid) m.tx = std::round(n * 20);
        break;
    case Prop::Y:
        if (valid) m.ty = std::round(n * 20);
        break;
    case Prop::XScale:
    case Prop::YScale:
    case Prop::Rotation:
        if (!valid) break;
        KeepScale(placed);
        if (prop == Prop::XScale) {
            placed.xscale = n;
        } else if (prop == Prop::YScale) {
            placed.yscale = n;
        } else {
            double r = std::fmod(n, 360);
            if (r > 180) r -= 360;
            if (r < -180) r += 360;
            placed.rotation = r;
        }
        SetScaleRotation(m, placed.xscale / 100, placed.yscale / 100, placed.rotation);
        break;
    case Prop::Alpha:
        if (valid) placed.color.am = static_cast<int>(n * 256 / 100);
        break;
    case Prop::Visible:
        // Read as a number; what is not one leaves it as it is.
        if (!value.IsNullish() && !std::isnan(n)) placed.visible = n != 0;
        break;
    case Prop::Width:
    case Prop::Height: {
        double x0, y0, x1, y1;
        if (!valid || !player->ClipBounds(*this, &x0, &y0, &x1, &y1)) break;
        // The scale of the axis changes by the ratio of the new size to
        // the size now, both measured in the parent's space.
        Box box = TransformBox(m, {x0, y0, x1, y1});
        double size = prop == Prop::Width ? box.xmax - box.xmin : box.ymax - box.ymin;
        if (size <= 0) break;
        double ratio = n * 20 / size;
        KeepScale(placed);
        if (prop == Prop::Width) placed.xscale *= ratio;
        else placed.yscale *= ratio;
        SetScaleRotation(m, placed.xscale / 100, placed.yscale / 100, placed.rotation);
        break;
    }
    case Prop::Name:
        placed.name = vm.ToString(value);
        break;
    default:
        return true;  // read-only: the assignment is ignored
    }
    placed.scripted = true;
    return true;
}

}  // namespace flash
