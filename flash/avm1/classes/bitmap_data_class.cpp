// flash.display.BitmapData: a script object around BitmapPixels. Methods
// on a disposed or foreign object answer -1 or do nothing.
#include "flash/avm1/classes/bitmap_pixels.h"
#include "flash/avm1/classes/color_transform_class.h"
#include "flash/avm1/classes/geom_helpers.h"
#include "flash/avm1/classes/perlin_noise.h"

#include "flash/avm1/array_object.h"

#include <memory>

namespace flash::avm1 {

namespace {

const char kBitmapDataClass[] = "BitmapData";

class BitmapDataObject : public Object {
public:
    explicit BitmapDataObject(Object* prototype) : Object(prototype) { native_class = kBitmapDataClass; }
    std::unique_ptr<BitmapPixels> pixels;   // nullptr once disposed
};

BitmapPixels* PixelsOf(const Value& value) {
    if (!value.IsObject() || value.object->native_class != kBitmapDataClass) return nullptr;
    return static_cast<BitmapDataObject*>(value.object)->pixels.get();
}

BitmapPixels* PixelsOf(Object* self) { return self ? PixelsOf(Value(self)) : nullptr; }

int IntOf(Vm& vm, const Value& value) { return vm.ToInt(value); }
uint32_t ColorOf(Vm& vm, const Value& value) { return static_cast<uint32_t>(vm.ToInt(value)); }

// A rectangle argument needs x, y, width and height.
bool IsRect(Vm& vm, const Value& value) {
    if (!value.IsObject()) return false;
    for (const char* name : {"x", "y", "width", "height"})
        if (!vm.Has(value.object, name)) return false;
    return true;
}

// Result codes of the methods: -1 too few arguments (or a disposed this),
// -2 a source that is no bitmap, -3 a disposed source, -4 a bad rectangle.
constexpr int kBadCall = -1, kNoSource = -2, kDisposedSource = -3, kBadRect = -4;

// Checks the source bitmap argument and the rectangle after it.
int CheckSource(Vm& vm, const Args& args, BitmapPixels** source) {
    Value value = Arg(args, 0);
    if (!value.IsObject() || value.object->native_class != kBitmapDataClass) return kNoSource;
    *source = PixelsOf(value);
    if (!*source) return kDisposedSource;
    if (!IsRect(vm, Arg(args, 1))) return kBadRect;
    return 0;
}

PixelRect RectOf(Vm& vm, const Value& value) {
    if (!value.IsObject()) return {0, 0, 0, 0};
    Object* o = value.object;
    return {vm.ToInt(vm.Get(o, "x")), vm.ToInt(vm.Get(o, "y")), vm.ToInt(vm.Get(o, "width")),
            vm.ToInt(vm.Get(o, "height"))};
}

void PointOf(Vm& vm, const Value& value, int* x, int* y) {
    *x = value.IsObject() ? vm.ToInt(vm.Get(value.object, "x")) : 0;
    *y = value.IsObject() ? vm.ToInt(vm.Get(value.object, "y")) : 0;
}

// Sizes the player accepts: up to 2880 on a side before version 10, then
// up to 8191 on a side and 16777215 pixels.
bool ValidSize(int version, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    if (version < 10) return width <= 2880 && height <= 2880;
    return width <= 8191 && height <= 8191 && int64_t{width} * height <= 16777215;
}

BitmapDataObject* Make(Vm& vm, std::unique_ptr<BitmapPixels> pixels) {
    auto* object = vm.heap.Make<BitmapDataObject>(vm.Proto("BitmapData"));
    object->pixels = std::move(pixels);
    return object;
}

Value Construct(Vm& vm, Object*, Args& args) {
    int width = IntOf(vm, Arg(args, 0)), height = IntOf(vm, Arg(args, 1));
    if (!ValidSize(vm.version(), width, height)) return Value();
    bool transparent = args.size() > 2 ? vm.ToBoolean(args[2]) : true;
    uint32_t fill = args.size() > 3 ? ColorOf(vm, args[3]) : 0xFFFFFFFFu;
    return Value(static_cast<Object*>(Make(vm, std::make_unique<BitmapPixels>(width, height, transparent, fill))));
}

// ---- properties ----

Value GetWidth(Vm&, Object* self, Args&) {
    BitmapPixels* p = PixelsOf(self);
    return Value(p ? p->width() : -1);
}
Value GetHeight(Vm&, Object* self, Args&) {
    BitmapPixels* p = PixelsOf(self);
    return Value(p ? p->height() : -1);
}
Value GetTransparent(Vm&, Object* self, Args&) {
    BitmapPixels* p = PixelsOf(self);
    return p ? Value(p->transparent()) : Value(-1);
}
Value GetRectangle(Vm& vm, Object* self, Args&) {
    BitmapPixels* p = PixelsOf(self);
    if (!p) return Value(-1);
    return Value(NewInstance(vm, "Rectangle", {Value(0), Value(0), Value(p->width()), Value(p->height())}));
}

// ---- pixels ----

Value GetPixel(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 2) return Value(-1);
    return Value(static_cast<double>(p->Get(IntOf(vm, Arg(args, 0)), IntOf(vm, Arg(args, 1))) & 0xFFFFFF));
}

Value GetPixel32(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 2) return Value(-1);
    return Value(static_cast<int32_t>(p->Get(IntOf(vm, Arg(args, 0)), IntOf(vm, Arg(args, 1)))));
}

Value SetPixel(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 3) return Value(kBadCall);
    int x = IntOf(vm, Arg(args, 0)), y = IntOf(vm, Arg(args, 1));
    if (!p->Inside(x, y)) return Value(0);
    uint32_t alpha = p->Get(x, y) & 0xFF000000u;
    p->Set(x, y, alpha | (ColorOf(vm, Arg(args, 2)) & 0xFFFFFF));
    return Value(0);
}

Value SetPixel32(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 3) return Value(kBadCall);
    p->Set(IntOf(vm, Arg(args, 0)), IntOf(vm, Arg(args, 1)), ColorOf(vm, Arg(args, 2)));
    return Value(0);
}

Value FillRect(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 2 || !IsRect(vm, args[0])) return Value(kBadCall);
    p->FillRect(RectOf(vm, args[0]), ColorOf(vm, Arg(args, 1)));
    return Value(0);
}

// 1 when something was filled, 0 when not.
Value FloodFill(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 3) return Value(kBadCall);
    return Value(p->FloodFill(IntOf(vm, args[0]), IntOf(vm, args[1]), ColorOf(vm, args[2])) ? 1 : 0);
}

Value Clone(Vm& vm, Object* self, Args&) {
    BitmapPixels* p = PixelsOf(self);
    if (!p) return Value(-1);
    return Value(static_cast<Object*>(Make(vm, std::make_unique<BitmapPixels>(*p))));
}

Value Dispose(Vm&, Object* self, Args&) {
    if (!PixelsOf(self)) return Value(kBadCall);
    static_cast<BitmapDataObject*>(self)->pixels.reset();
    return Value();
}

Value CopyPixelsMethod(Vm& vm, Object* self, Args& args) {
    BitmapPixels* dest = PixelsOf(self);
    BitmapPixels* source = PixelsOf(Arg(args, 0));
    if (!dest) return Value(-1);
    if (!source || !Arg(args, 1).IsObject()) return Value();
    int x, y;
    PointOf(vm, Arg(args, 2), &x, &y);
    bool merge = args.size() > 5 && vm.ToBoolean(args[5]);
    if (source == dest) {
        BitmapPixels copy = *source;
        CopyPixels(copy, RectOf(vm, args[1]), *dest, x, y, merge);
    } else {
        CopyPixels(*source, RectOf(vm, args[1]), *dest, x, y, merge);
    }
    return Value();
}

// applyFilter(source, sourceRect, destPoint, filter): a colour matrix
// filter maps the straight colour of each pixel of the rectangle through
// its 4 x 5 matrix into the destination; 0 when done, -1 for a filter
// this does not apply.
Value ApplyFilterMethod(Vm& vm, Object* self, Args& args) {
    BitmapPixels* dest = PixelsOf(self);
    BitmapPixels* source = PixelsOf(Arg(args, 0));
    if (!dest || !source || !Arg(args, 1).IsObject() || !Arg(args, 3).IsObject()) return Value(-1);
    Value matrix_value = vm.Get(Arg(args, 3).object, "matrix");
    ArrayObject* matrix = matrix_value.IsObject() ? matrix_value.object->AsArray() : nullptr;
    std::vector<Value> entries = matrix ? matrix->Elements() : std::vector<Value>{};
    if (entries.size() != 20) return Value(-1);
    double m[20];
    for (size_t i = 0; i < 20; ++i) m[i] = vm.ToNumber(entries[i]);
    PixelRect rect = source->Clip(RectOf(vm, args[1]));
    int dx, dy;
    PointOf(vm, args[2], &dx, &dy);
    BitmapPixels copy = *source;
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            uint32_t p = copy.Get(rect.x + x, rect.y + y);
            double in[4] = {static_cast<double>((p >> 16) & 0xFF), static_cast<double>((p >> 8) & 0xFF),
                            static_cast<double>(p & 0xFF), static_cast<double>(p >> 24)};
            uint32_t out[4];
            for (int row = 0; row < 4; ++row) {
                double v = m[row * 5] * in[0] + m[row * 5 + 1] * in[1] + m[row * 5 + 2] * in[2] +
                           m[row * 5 + 3] * in[3] + m[row * 5 + 4];
                out[row] = static_cast<uint32_t>(std::clamp(v, 0.0, 255.0));
            }
            if (dest->Inside(dx + x, dy + y))
                dest->Set(dx + x, dy + y, (out[3] << 24) | (out[0] << 16) | (out[1] << 8) | out[2]);
        }
    }
    return Value(0);
}

int ChannelShift(int channel) {
    switch (channel) {
    case 1: return 16;
    case 2: return 8;
    case 4: return 0;
    case 8: return 24;
    }
    return -1;
}

Value CopyChannel(Vm& vm, Object* self, Args& args) {
    BitmapPixels* dest = PixelsOf(self);
    BitmapPixels* source = nullptr;
    if (!dest || args.size() < 5) return Value(kBadCall);
    if (int code = CheckSource(vm, args, &source)) return Value(code);
    int from_shift = ChannelShift(IntOf(vm, Arg(args, 3))), to_shift = ChannelShift(IntOf(vm, Arg(args, 4)));
    // An unknown source channel copies zeros; an unknown target changes nothing.
    if (to_shift < 0) return Value(kBadCall);
    BitmapPixels copy = *source;
    PixelRect rect = copy.Clip(RectOf(vm, args[1]));
    int dx, dy;
    PointOf(vm, Arg(args, 2), &dx, &dy);
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            int tx = dx + x, ty = dy + y;
            if (!dest->Inside(tx, ty)) continue;
            uint32_t value = from_shift < 0 ? 0 : (copy.Get(rect.x + x, rect.y + y) >> from_shift) & 0xFF;
            uint32_t pixel = dest->Get(tx, ty);
            pixel = (pixel & ~(0xFFu << to_shift)) | (value << to_shift);
            dest->Set(tx, ty, pixel);
        }
    }
    return Value(kBadCall);
}

Value ColorTransformMethod(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 2) return Value(kBadCall);
    if (!IsRect(vm, args[0])) return Value(kNoSource);
    Value ct = args[1];
    if (!ct.IsObject() || !ct.object->NativeOf(kColorTransformClass)) return Value(kDisposedSource);
    const double* v = static_cast<ColorTransformObject*>(ct.object->NativeOf(kColorTransformClass))->values;
    p->ColorTransform(RectOf(vm, args[0]), v, v + 4);
    return Value(kBadCall);
}

Value Scroll(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p) return Value(kBadCall);
    p->Scroll(IntOf(vm, Arg(args, 0)), IntOf(vm, Arg(args, 1)));
    return Value();
}

// 0 when equal, -3 or -4 when widths or heights differ, else a bitmap of
// the differences.
Value Compare(Vm& vm, Object* self, Args& args) {
    BitmapPixels* a = PixelsOf(self);
    if (!a || args.empty()) return Value(kBadCall);
    BitmapPixels* b = PixelsOf(args[0]);
    if (!b) return Value(kNoSource);
    if (a->width() != b->width()) return Value(-3);
    if (a->height() != b->height()) return Value(-4);
    auto out = std::make_unique<BitmapPixels>(a->width(), a->height(), true, 0);
    bool same = true;
    for (int y = 0; y < a->height(); ++y) {
        for (int x = 0; x < a->width(); ++x) {
            uint32_t pa = a->Get(x, y), pb = b->Get(x, y);
            if (pa == pb) continue;
            same = false;
            uint32_t rgb_a = pa & 0xFFFFFF, rgb_b = pb & 0xFFFFFF;
            uint32_t diff;
            if (rgb_a != rgb_b) {
                auto d = [&](int shift) { return ((((pa >> shift) & 0xFF) - ((pb >> shift) & 0xFF)) & 0xFF) << shift; };
                diff = 0xFF000000u | d(16) | d(8) | d(0);
            } else {
                diff = ((((pa >> 24) - (pb >> 24)) & 0xFF) << 24) | 0xFFFFFF;
            }
            out->Set(x, y, diff);
        }
    }
    if (same) return Value(0);
    return Value(static_cast<Object*>(Make(vm, std::move(out))));
}

Value GetColorBoundsRect(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 2) return Value(-1);
    uint32_t mask = ColorOf(vm, Arg(args, 0)), color = ColorOf(vm, Arg(args, 1));
    bool find = args.size() > 2 ? vm.ToBoolean(args[2]) : true;
    int left = p->width(), top = p->height(), right = -1, bottom = -1;
    for (int y = 0; y < p->height(); ++y) {
        for (int x = 0; x < p->width(); ++x) {
            bool match = (p->Get(x, y) & mask) == (color & mask);
            if (match != find) continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    }
    // The player takes a far corner still at the origin for nothing found:
    // a lone match at (0, 0) gives an empty rectangle too.
    if (right <= 0 && bottom <= 0) return Value(NewInstance(vm, "Rectangle", {Value(0), Value(0), Value(0), Value(0)}));
    return Value(NewInstance(vm, "Rectangle",
                             {Value(left), Value(top), Value(right - left + 1), Value(bottom - top + 1)}));
}

// An operation the player does not know counts as "<".
bool Compare(const std::string& operation, uint32_t value, uint32_t threshold) {
    if (operation == "<=") return value <= threshold;
    if (operation == ">") return value > threshold;
    if (operation == ">=") return value >= threshold;
    if (operation == "==") return value == threshold;
    if (operation == "!=") return value != threshold;
    return value < threshold;
}

// threshold(source, rect, point, operation, threshold, color, mask, copySource)
Value Threshold(Vm& vm, Object* self, Args& args) {
    BitmapPixels* dest = PixelsOf(self);
    BitmapPixels* source = nullptr;
    if (!dest || args.size() < 5) return Value(kBadCall);
    if (int code = CheckSource(vm, args, &source)) return Value(code);
    std::string operation = vm.ToString(Arg(args, 3));
    uint32_t threshold = ColorOf(vm, Arg(args, 4));
    uint32_t color = args.size() > 5 ? ColorOf(vm, args[5]) : 0;
    uint32_t mask = args.size() > 6 ? ColorOf(vm, args[6]) : 0xFFFFFFFFu;
    bool copy_source = args.size() > 7 && vm.ToBoolean(args[7]);
    BitmapPixels copy = *source;
    PixelRect rect = copy.Clip(RectOf(vm, args[1]));
    int dx, dy;
    PointOf(vm, Arg(args, 2), &dx, &dy);
    int count = 0;
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            int tx = dx + x, ty = dy + y;
            if (!dest->Inside(tx, ty)) continue;
            // The test reads the stored, premultiplied pixel.
            uint32_t raw = copy.GetRaw(rect.x + x, rect.y + y);
            if (Compare(operation, raw & mask, threshold & mask)) {
                dest->SetRaw(tx, ty, Premultiply(color));
                ++count;
            } else if (copy_source) {
                dest->SetRaw(tx, ty, raw);
            }
        }
    }
    return Value(count);
}

// paletteMap(source, rect, point, red, green, blue, alpha): each channel
// looks up an array of 256 colours; the lookups are added.
Value PaletteMap(Vm& vm, Object* self, Args& args) {
    BitmapPixels* dest = PixelsOf(self);
    BitmapPixels* source = nullptr;
    if (!dest || args.size() < 4) return Value(kBadCall);
    if (int code = CheckSource(vm, args, &source)) return Value(code);
    uint32_t tables[4][256];
    const int shifts[4] = {16, 8, 0, 24};
    for (int c = 0; c < 4; ++c) {
        Value list = Arg(args, 3 + c);
        ArrayObject* array = list.IsObject() ? list.object->AsArray() : nullptr;
        std::vector<Value> entries = array ? array->Elements() : std::vector<Value>{};
        // No table keeps the channel; an object that is no array, or a
        // missing entry, maps to 0.
        for (uint32_t i = 0; i < 256; ++i) {
            if (list.IsNullish())
                tables[c][i] = i << shifts[c];
            else if (i < entries.size())
                tables[c][i] = ColorOf(vm, entries[i]);
            else
                tables[c][i] = 0;
        }
    }
    BitmapPixels copy = *source;
    PixelRect rect = copy.Clip(RectOf(vm, args[1]));
    int dx, dy;
    PointOf(vm, Arg(args, 2), &dx, &dy);
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            if (!dest->Inside(dx + x, dy + y)) continue;
            uint32_t pixel = copy.Get(rect.x + x, rect.y + y), out = 0;
            for (int c = 0; c < 4; ++c) out += tables[c][(pixel >> shifts[c]) & 0xFF];
            dest->Set(dx + x, dy + y, out);
        }
    }
    return Value(kBadCall);
}

// The generator behind noise: the multiplicative one of modulus 2^31 - 1
// and multiplier 16807. Seeds of 0 and below count as 1 - seed.
class NoiseRandom {
public:
    explicit NoiseRandom(int seed) {
        int64_t start = seed > 0 ? int64_t{seed} : 1 - int64_t{seed};
        state_ = start % kModulus;
        if (state_ == 0) state_ = 1;
    }
    uint32_t Next() {
        state_ = state_ * 16807 % kModulus;
        return static_cast<uint32_t>(state_);
    }

private:
    static constexpr int64_t kModulus = 2147483647;
    int64_t state_;
};

Value Noise(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p) return Value(-1);
    if (args.empty()) return Value();
    NoiseRandom random(IntOf(vm, Arg(args, 0)));
    int low = args.size() > 1 ? IntOf(vm, args[1]) & 0xFF : 0;
    int high = args.size() > 2 ? IntOf(vm, args[2]) & 0xFF : 255;
    int channels = args.size() > 3 ? IntOf(vm, args[3]) : 7;
    bool gray = args.size() > 4 && vm.ToBoolean(args[4]);
    // A range upside down gives its low end only.
    auto sample = [&]() {
        uint32_t value = random.Next();
        return static_cast<uint32_t>(high <= low ? low : low + value % (high - low + 1));
    };
    for (int y = 0; y < p->height(); ++y) {
        for (int x = 0; x < p->width(); ++x) {
            uint32_t r = 0, g = 0, b = 0, a = 255;
            if (gray) {
                r = g = b = sample();
            } else {
                if (channels & 1) r = sample();
                if (channels & 2) g = sample();
                if (channels & 4) b = sample();
            }
            if (channels & 8) a = sample();
            p->Set(x, y, (a << 24) | (r << 16) | (g << 8) | b);
        }
    }
    return Value();
}

// pixelDissolve walks the pixels of its rectangle in the order of a
// shift register of as many bits as the column and row numbers need
// together (column in the low bits); numbers past the rectangle are passed
// over, so every pixel comes once per cycle. State 0 stands for the first
// pixel, which the register never reaches again.
class DissolveOrder {
public:
    DissolveOrder(int width, int height) : width_(width), height_(height) {
        while ((1 << column_bits_) < width) ++column_bits_;
        int row_bits = 0;
        while ((1 << row_bits) < height) ++row_bits;
        int bits = column_bits_ + row_bits;
        static const uint32_t kTaps[33] = {
            0,         0,          0x3,        0x6,        0xC,        0x14,       0x30,       0x60,      0xB8,
            0x110,     0x240,      0x500,      0x829,      0x100D,     0x2015,     0x6000,     0xD008,    0x12000,
            0x20400,   0x40023,    0x90000,    0x140000,   0x300000,   0x420000,   0xE10000,   0x1200000, 0x2000023,
            0x4000013, 0x9000000,  0x14000000, 0x20000029, 0x48000000, 0x80200003};
        taps_ = bits >= 2 && bits <= 32 ? kTaps[bits] : 0;
        mask_ = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    }
    bool Usable() const { return taps_ != 0; }
    // A seed past the register's states is taken modulo its cycle.
    uint32_t Start(uint32_t seed) const { return seed > mask_ ? seed % mask_ : seed; }
    uint32_t Mask() const { return mask_; }
    // The pixel of a state (column, row in the rectangle); false past it.
    bool Pixel(uint32_t state, int* column, int* row) const {
        *column = static_cast<int>(state & ((1u << column_bits_) - 1));
        *row = static_cast<int>(state >> column_bits_);
        return *column < width_ && *row < height_;
    }
    // The next state that names a pixel.
    uint32_t Next(uint32_t state) const {
        int column, row;
        state &= mask_;
        do {
            if (state == 0) state = 1;
            else state = (state & 1) ? (state >> 1) ^ taps_ : state >> 1;
        } while (!Pixel(state, &column, &row));
        return state;
    }

private:
    int width_, height_;
    int column_bits_ = 0;
    uint32_t taps_ = 0, mask_ = 0;
};

// pixelDissolve(source, sourceRect, destPoint, randomSeed, numPixels,
// fillColor): answers the state to pass to the next call.
Value PixelDissolve(Vm& vm, Object* self, Args& args) {
    BitmapPixels* dest = PixelsOf(self);
    BitmapPixels* source = nullptr;
    if (!dest || args.size() < 5) return Value(kBadCall);
    if (int code = CheckSource(vm, args, &source)) return Value(code);
    uint32_t state = static_cast<uint32_t>(IntOf(vm, Arg(args, 3)));
    int count = args.size() > 4 ? IntOf(vm, args[4]) : 0;
    uint32_t fill = args.size() > 5 ? ColorOf(vm, args[5]) : 0;
    int dx, dy;
    PointOf(vm, Arg(args, 2), &dx, &dy);
    // The rectangle is cut to both bitmaps before the walk.
    PixelRect asked = RectOf(vm, args[1]);
    PixelRect rect = source->Clip(asked);
    dx += rect.x - asked.x;
    dy += rect.y - asked.y;
    PixelRect to = dest->Clip({dx, dy, rect.width, rect.height});
    rect = {rect.x + to.x - dx, rect.y + to.y - dy, to.width, to.height};
    dx = to.x, dy = to.y;
    DissolveOrder order(rect.width, rect.height);
    // Nothing to walk: the state comes back as given.
    if (!order.Usable()) return Value(static_cast<int>(state));
    int area = rect.width * rect.height;
    count = std::max(0, count);
    state = order.Start(state);
    BitmapPixels copy = *source;
    auto put = [&](uint32_t at) {
        int column, row;
        if (!order.Pixel(at, &column, &row)) return;
        int x = rect.x + column, y = rect.y + row;
        uint32_t pixel = source == dest ? fill : copy.Get(x, y);
        dest->Set(dx + column, dy + row, pixel);
    };
    // Enough pixels for the whole rectangle take all of it, the state
    // staying as it was.
    if (count >= area) {
        for (uint32_t at = 0; at <= order.Mask(); ++at) put(at);
        return Value(static_cast<int>(state));
    }
    int column, row;
    if (!order.Pixel(state, &column, &row)) state = order.Next(state);
    put(state);
    for (int i = 0; i < count; ++i) {
        state = order.Next(state);
        put(state);
    }
    return Value(static_cast<int>(state));
}

// perlinNoise(baseX, baseY, numOctaves, randomSeed, stitch, fractalNoise,
// channelOptions, grayScale, offsets): offsets is an array of points, one
// per octave.
Value PerlinNoise(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p || args.size() < 6) return Value(kBadCall);
    PerlinOptions options;
    options.base_x = vm.ToNumber(args[0]);
    options.base_y = vm.ToNumber(args[1]);
    options.octaves = IntOf(vm, args[2]);
    options.seed = IntOf(vm, args[3]);
    options.stitch = vm.ToBoolean(args[4]);
    options.fractal = vm.ToBoolean(args[5]);
    if (args.size() > 6) options.channels = IntOf(vm, args[6]);
    options.gray = args.size() > 7 && vm.ToBoolean(args[7]);
    ArrayObject* offsets = args.size() > 8 && args[8].IsObject() ? args[8].object->AsArray() : nullptr;
    if (offsets) {
        for (const Value& point : offsets->Elements()) {
            PerlinOffset offset;
            if (point.IsObject()) {
                offset.x = vm.ToNumber(vm.Get(point.object, "x"));
                offset.y = vm.ToNumber(vm.Get(point.object, "y"));
            }
            options.offsets.push_back(offset);
        }
    }
    FillPerlinNoise(*p, options);
    return Value(0);
}

// A point argument of hitTest: an object with x and y of its own.
bool OwnPointOf(Vm& vm, const Value& value, int* x, int* y) {
    if (!value.IsObject()) return false;
    Object* o = value.object;
    bool cs = vm.CaseSensitive();
    if (!o->FindOwn("x", cs) || !o->FindOwn("y", cs)) return false;
    *x = vm.ToInt(vm.Get(o, "x"));
    *y = vm.ToInt(vm.Get(o, "y"));
    return true;
}

// Whether the pixel counts as opaque: a clear pixel never does.
bool Opaque(const BitmapPixels& p, int x, int y, uint32_t threshold) {
    if (!p.Inside(x, y)) return false;
    uint32_t alpha = p.Get(x, y) >> 24;
    return alpha != 0 && alpha >= threshold;
}

// Both images placed at their points: whether an opaque pixel of one lies
// on an opaque pixel of the other.
bool BitmapsOverlap(const BitmapPixels& a, int ax, int ay, uint32_t a_threshold, const BitmapPixels& b, int bx,
                    int by, uint32_t b_threshold) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (Opaque(a, x, y, a_threshold) && Opaque(b, x + ax - bx, y + ay - by, b_threshold)) return true;
    return false;
}

// hitTest(firstPoint, firstAlphaThreshold, secondObject, secondPoint,
// secondAlphaThreshold): the second object is a BitmapData, a rectangle
// (its edges included) or a point, all in the coordinates where this image
// has its top left corner at firstPoint. Bad arguments answer negative codes.
Value HitTest(Vm& vm, Object* self, Args& args) {
    BitmapPixels* p = PixelsOf(self);
    if (!p) return Value(-1);
    int ox, oy;
    if (!OwnPointOf(vm, Arg(args, 0), &ox, &oy)) return Value(-2);
    uint32_t threshold = static_cast<uint32_t>(IntOf(vm, Arg(args, 1))) & 0xFF;
    Value second = Arg(args, 2);
    if (!second.IsObject()) return Value(-3);
    Object* o = second.object;
    if (o->native_class == kBitmapDataClass) {
        BitmapPixels* other = PixelsOf(second);
        if (!other) return Value(-3);
        int bx, by;
        if (!OwnPointOf(vm, Arg(args, 3), &bx, &by)) return Value(-4);
        uint32_t other_threshold = static_cast<uint32_t>(IntOf(vm, Arg(args, 4))) & 0xFF;
        return Value(BitmapsOverlap(*p, ox, oy, threshold, *other, bx, by, other_threshold));
    }
    bool cs = vm.CaseSensitive();
    int x, y;
    if (!OwnPointOf(vm, second, &x, &y)) return Value(-3);
    if (o->FindOwn("width", cs) && o->FindOwn("height", cs)) {
        int width = vm.ToInt(vm.Get(o, "width")), height = vm.ToInt(vm.Get(o, "height"));
        for (int py = y; py <= y + height; ++py)
            for (int px = x; px <= x + width; ++px)
                if (Opaque(*p, px - ox, py - oy, threshold)) return Value(true);
        return Value(false);
    }
    return Value(Opaque(*p, x - ox, y - oy, threshold));
}

// Methods that draw nothing here; a disposed bitmap still says so.
Value Nothing(Vm&, Object* self, Args&) { return PixelsOf(self) ? Value() : Value(kBadCall); }

}  // namespace

const BitmapPixels* BitmapDataPixels(Object* object) { return PixelsOf(object); }

void InstallBitmapDataClass(Vm& vm) {
    Object* prototype = InstallClass(vm, FlashPackage(vm, "display"), "BitmapData", Construct, Construct);
    AddAccessor(vm, prototype, "width", GetWidth, nullptr, 0);
    AddAccessor(vm, prototype, "height", GetHeight, nullptr, 0);
    AddAccessor(vm, prototype, "transparent", GetTransparent, nullptr, 0);
    AddAccessor(vm, prototype, "rectangle", GetRectangle, nullptr, 0);
    struct Method {
        const char* name;
        NativeFn fn;
    } const methods[] = {
        {"getPixel", GetPixel},       {"getPixel32", GetPixel32},
        {"setPixel", SetPixel},       {"setPixel32", SetPixel32},
        {"fillRect", FillRect},       {"floodFill", FloodFill},
        {"clone", Clone},             {"dispose", Dispose},
        {"copyPixels", CopyPixelsMethod}, {"copyChannel", CopyChannel},
        {"colorTransform", ColorTransformMethod}, {"scroll", Scroll},
        {"compare", Compare},         {"getColorBoundsRect", GetColorBoundsRect},
        {"threshold", Threshold},     {"paletteMap", PaletteMap},
        {"noise", Noise},             {"pixelDissolve", PixelDissolve},
        {"perlinNoise", PerlinNoise}, {"hitTest", HitTest},
        {"draw", Nothing},            {"applyFilter", ApplyFilterMethod},
        {"generateFilterRect", Nothing}, {"merge", Nothing},
    };
    for (const Method& method : methods) vm.AddMethod(prototype, method.name, method.fn);
    Object* constructor = vm.Get(prototype, "constructor").object;
    constructor->Define("RED_CHANNEL", Value(1), 0);
    constructor->Define("GREEN_CHANNEL", Value(2), 0);
    constructor->Define("BLUE_CHANNEL", Value(4), 0);
    constructor->Define("ALPHA_CHANNEL", Value(8), 0);
    vm.AddMethod(constructor, "loadBitmap", [](Vm&, Object*, Args&) { return Value(); });
}

}  // namespace flash::avm1
