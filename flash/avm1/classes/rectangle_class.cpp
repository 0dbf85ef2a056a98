// flash.geom.Rectangle: x, y, width and height kept as given; the edges,
// corners and size are accessors computed from them as numbers.
#include "flash/avm1/classes/geom_helpers.h"

#include <algorithm>

namespace flash::avm1 {

namespace {

struct Box {
    double x, y, width, height;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
};

Box BoxOf(Vm& vm, const Value& value) {
    if (!value.IsObject()) return {NAN, NAN, NAN, NAN};
    Object* o = value.object;
    return {NumberOf(vm, o, "x"), NumberOf(vm, o, "y"), NumberOf(vm, o, "width"), NumberOf(vm, o, "height")};
}

bool AnyNaN(std::initializer_list<double> numbers) {
    for (double n : numbers)
        if (std::isnan(n)) return true;
    return false;
}

void SetBox(Vm& vm, Object* self, const Value& x, const Value& y, const Value& width, const Value& height) {
    vm.Set(self, "x", x);
    vm.Set(self, "y", y);
    vm.Set(self, "width", width);
    vm.Set(self, "height", height);
}

Value Construct(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    if (args.empty())
        SetBox(vm, self, Value(0), Value(0), Value(0), Value(0));
    else
        SetBox(vm, self, args[0], Arg(args, 1), Arg(args, 2), Arg(args, 3));
    return Value();
}

Object* NewRectangle(Vm& vm, double x, double y, double width, double height) {
    return NewInstance(vm, "Rectangle", {Value(x), Value(y), Value(width), Value(height)});
}

// ---- accessors ----

Value GetLeft(Vm& vm, Object* self, Args&) { return self ? vm.Get(self, "x") : Value(); }
Value GetTop(Vm& vm, Object* self, Args&) { return self ? vm.Get(self, "y") : Value(); }
Value GetRight(Vm& vm, Object* self, Args&) {
    return self ? AddFields(vm, vm.Get(self, "x"), vm.Get(self, "width")) : Value();
}
Value GetBottom(Vm& vm, Object* self, Args&) {
    return self ? AddFields(vm, vm.Get(self, "y"), vm.Get(self, "height")) : Value();
}
Value GetTopLeft(Vm& vm, Object* self, Args&) {
    return Value(NewInstance(vm, "Point", {vm.Get(self, "x"), vm.Get(self, "y")}));
}
Value GetBottomRight(Vm& vm, Object* self, Args& args) {
    return Value(NewInstance(vm, "Point", {GetRight(vm, self, args), GetBottom(vm, self, args)}));
}
Value GetSize(Vm& vm, Object* self, Args&) {
    return Value(NewInstance(vm, "Point", {vm.Get(self, "width"), vm.Get(self, "height")}));
}

Value SetLeft(Vm& vm, Object* self, Args& args) {
    double right = BoxOf(vm, Value(self)).right();
    vm.Set(self, "width", Value(right - vm.ToNumber(Arg(args, 0))));
    vm.Set(self, "x", Arg(args, 0));
    return Value();
}
Value SetTop(Vm& vm, Object* self, Args& args) {
    double bottom = BoxOf(vm, Value(self)).bottom();
    vm.Set(self, "height", Value(bottom - vm.ToNumber(Arg(args, 0))));
    vm.Set(self, "y", Arg(args, 0));
    return Value();
}
Value SetRight(Vm& vm, Object* self, Args& args) {
    vm.Set(self, "width", Value(vm.ToNumber(Arg(args, 0)) - NumberOf(vm, self, "x")));
    return Value();
}
Value SetBottom(Vm& vm, Object* self, Args& args) {
    vm.Set(self, "height", Value(vm.ToNumber(Arg(args, 0)) - NumberOf(vm, self, "y")));
    return Value();
}
Value SetTopLeft(Vm& vm, Object* self, Args& args) {
    Box box = BoxOf(vm, Value(self));
    Value x = vm.GetMember(Arg(args, 0), "x"), y = vm.GetMember(Arg(args, 0), "y");
    vm.Set(self, "width", Value(box.right() - vm.ToNumber(x)));
    vm.Set(self, "height", Value(box.bottom() - vm.ToNumber(y)));
    vm.Set(self, "x", x);
    vm.Set(self, "y", y);
    return Value();
}
Value SetBottomRight(Vm& vm, Object* self, Args& args) {
    double x = vm.ToNumber(vm.GetMember(Arg(args, 0), "x")), y = vm.ToNumber(vm.GetMember(Arg(args, 0), "y"));
    vm.Set(self, "width", Value(x - NumberOf(vm, self, "x")));
    vm.Set(self, "height", Value(y - NumberOf(vm, self, "y")));
    return Value();
}
Value SetSize(Vm& vm, Object* self, Args& args) {
    vm.Set(self, "width", vm.GetMember(Arg(args, 0), "x"));
    vm.Set(self, "height", vm.GetMember(Arg(args, 0), "y"));
    return Value();
}

// ---- methods ----

Value Clone(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    return Value(NewInstance(vm, "Rectangle",
                             {vm.Get(self, "x"), vm.Get(self, "y"), vm.Get(self, "width"), vm.Get(self, "height")}));
}

Value IsEmpty(Vm& vm, Object* self, Args&) {
    Box box = BoxOf(vm, Value(self));
    return Value(!(box.width > 0 && box.height > 0));
}

Value SetEmpty(Vm& vm, Object* self, Args&) {
    if (self) SetBox(vm, self, Value(0), Value(0), Value(0), Value(0));
    return Value();
}

Value ContainsXY(const Box& box, double x, double y) {
    if (AnyNaN({x, y, box.x, box.y, box.width, box.height})) return Value();
    return Value(x >= box.x && x < box.right() && y >= box.y && y < box.bottom());
}

Value Contains(Vm& vm, Object* self, Args& args) {
    return ContainsXY(BoxOf(vm, Value(self)), vm.ToNumber(Arg(args, 0)), vm.ToNumber(Arg(args, 1)));
}

Value ContainsPoint(Vm& vm, Object* self, Args& args) {
    Value point = Arg(args, 0);
    return ContainsXY(BoxOf(vm, Value(self)), vm.ToNumber(vm.GetMember(point, "x")),
                      vm.ToNumber(vm.GetMember(point, "y")));
}

Value ContainsRectangle(Vm& vm, Object* self, Args& args) {
    Box box = BoxOf(vm, Value(self)), other = BoxOf(vm, Arg(args, 0));
    if (AnyNaN({other.x, other.y, other.width, other.height, box.x, box.y, box.width, box.height})) return Value();
    return Value(other.x >= box.x && other.y >= box.y && other.right() <= box.right() &&
                 other.bottom() <= box.bottom());
}

Value Equals(Vm& vm, Object* self, Args& args) {
    Value other = Arg(args, 0);
    Object* constructor = vm.Get(vm.Proto("Rectangle"), "constructor").object;
    if (!self || !other.IsObject() || !vm.InstanceOf(other.object, constructor)) return Value(false);
    Box a = BoxOf(vm, Value(self)), b = BoxOf(vm, other);
    return Value(a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height);
}

void Inflate(Vm& vm, Object* self, double dx, double dy) {
    Box box = BoxOf(vm, Value(self));
    SetBox(vm, self, Value(box.x - dx), Value(box.y - dy), Value(box.width + 2 * dx), Value(box.height + 2 * dy));
}

Value InflateMethod(Vm& vm, Object* self, Args& args) {
    if (self) Inflate(vm, self, vm.ToNumber(Arg(args, 0)), vm.ToNumber(Arg(args, 1)));
    return Value();
}

Value InflatePoint(Vm& vm, Object* self, Args& args) {
    Value point = Arg(args, 0);
    if (self) Inflate(vm, self, vm.ToNumber(vm.GetMember(point, "x")), vm.ToNumber(vm.GetMember(point, "y")));
    return Value();
}

void Offset(Vm& vm, Object* self, double dx, double dy) {
    vm.Set(self, "x", Value(NumberOf(vm, self, "x") + dx));
    vm.Set(self, "y", Value(NumberOf(vm, self, "y") + dy));
}

Value OffsetMethod(Vm& vm, Object* self, Args& args) {
    if (self) Offset(vm, self, vm.ToNumber(Arg(args, 0)), vm.ToNumber(Arg(args, 1)));
    return Value();
}

Value OffsetPoint(Vm& vm, Object* self, Args& args) {
    Value point = Arg(args, 0);
    if (self) Offset(vm, self, vm.ToNumber(vm.GetMember(point, "x")), vm.ToNumber(vm.GetMember(point, "y")));
    return Value();
}

// min and max where a NaN makes the answer NaN.
double MinOf(double a, double b) { return std::isnan(a) || std::isnan(b) ? NAN : std::min(a, b); }
double MaxOf(double a, double b) { return std::isnan(a) || std::isnan(b) ? NAN : std::max(a, b); }

// The overlap of two boxes; false when they do not overlap (or an edge is
// not a number).
bool Overlap(const Box& a, const Box& b, Box* out) {
    double left = MaxOf(a.x, b.x), top = MaxOf(a.y, b.y);
    double right = MinOf(a.right(), b.right()), bottom = MinOf(a.bottom(), b.bottom());
    if (!(right > left && bottom > top)) return false;
    *out = {left, top, right - left, bottom - top};
    return true;
}

Value Intersection(Vm& vm, Object* self, Args& args) {
    Box overlap{0, 0, 0, 0};
    if (!Overlap(BoxOf(vm, Value(self)), BoxOf(vm, Arg(args, 0)), &overlap)) overlap = {0, 0, 0, 0};
    return Value(NewRectangle(vm, overlap.x, overlap.y, overlap.width, overlap.height));
}

Value Intersects(Vm& vm, Object* self, Args& args) {
    Box overlap{};
    return Value(Overlap(BoxOf(vm, Value(self)), BoxOf(vm, Arg(args, 0)), &overlap));
}


Value Union(Vm& vm, Object* self, Args& args) {
    Box a = BoxOf(vm, Value(self)), b = BoxOf(vm, Arg(args, 0));
    double left = MinOf(a.x, b.x), top = MinOf(a.y, b.y);
    double right = MaxOf(a.right(), b.right()), bottom = MaxOf(a.bottom(), b.bottom());
    return Value(NewRectangle(vm, left, top, right - left, bottom - top));
}

Value ToStringMethod(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    return Value("(x=" + vm.ToString(vm.Get(self, "x")) + ", y=" + vm.ToString(vm.Get(self, "y")) +
                 ", w=" + vm.ToString(vm.Get(self, "width")) + ", h=" + vm.ToString(vm.Get(self, "height")) + ")");
}

}  // namespace

// Scripts enumerate the members of the prototype (they are not hidden).
void InstallRectangleClass(Vm& vm) {
    Object* prototype = InstallClass(vm, FlashPackage(vm, "geom"), "Rectangle", Construct);
    AddAccessor(vm, prototype, "left", GetLeft, SetLeft, 0);
    AddAccessor(vm, prototype, "right", GetRight, SetRight, 0);
    AddAccessor(vm, prototype, "top", GetTop, SetTop, 0);
    AddAccessor(vm, prototype, "bottom", GetBottom, SetBottom, 0);
    AddAccessor(vm, prototype, "topLeft", GetTopLeft, SetTopLeft, 0);
    AddAccessor(vm, prototype, "bottomRight", GetBottomRight, SetBottomRight, 0);
    AddAccessor(vm, prototype, "size", GetSize, SetSize, 0);
    prototype->Define("clone", vm.MakeNative("clone", Clone), 0);
    prototype->Define("isEmpty", vm.MakeNative("isEmpty", IsEmpty), 0);
    prototype->Define("setEmpty", vm.MakeNative("setEmpty", SetEmpty), 0);
    prototype->Define("contains", vm.MakeNative("contains", Contains), 0);
    prototype->Define("containsPoint", vm.MakeNative("containsPoint", ContainsPoint), 0);
    prototype->Define("containsRectangle", vm.MakeNative("containsRectangle", ContainsRectangle), 0);
    prototype->Define("equals", vm.MakeNative("equals", Equals), 0);
    prototype->Define("inflate", vm.MakeNative("inflate", InflateMethod), 0);
    prototype->Define("inflatePoint", vm.MakeNative("inflatePoint", InflatePoint), 0);
    prototype->Define("offset", vm.MakeNative("offset", OffsetMethod), 0);
    prototype->Define("offsetPoint", vm.MakeNative("offsetPoint", OffsetPoint), 0);
    prototype->Define("intersection", vm.MakeNative("intersection", Intersection), 0);
    prototype->Define("intersects", vm.MakeNative("intersects", Intersects), 0);
    prototype->Define("union", vm.MakeNative("union", Union), 0);
    prototype->Define("toString", vm.MakeNative("toString", ToStringMethod), 0);
}

}  // namespace flash::avm1
