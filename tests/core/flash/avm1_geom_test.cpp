// Matrix arithmetic, and the geometry and colour classes as scripts use them.
#include "flash/avm1/classes/matrix_math.h"
#include "flash/avm1/vm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace flash::avm1 {
namespace {

TEST(MatrixMath, InvertUndoesTheMatrixAndSingularBecomesIdentity) {
    Affine m{2, 3, 5, 7, 9, 11};
    Affine inverse = Invert(m);
    EXPECT_DOUBLE_EQ(inverse.a, -7);
    EXPECT_DOUBLE_EQ(inverse.b, 3);
    EXPECT_DOUBLE_EQ(inverse.c, 5);
    EXPECT_DOUBLE_EQ(inverse.d, -2);
    EXPECT_DOUBLE_EQ(inverse.tx, 8);
    EXPECT_DOUBLE_EQ(inverse.ty, -5);
    Affine product = Concat(m, inverse);
    EXPECT_NEAR(product.a, 1, 1e-12);
    EXPECT_NEAR(product.b, 0, 1e-12);
    EXPECT_NEAR(product.tx, 0, 1e-12);
    EXPECT_NEAR(product.ty, 0, 1e-12);
    Affine singular = Invert(Affine{1, 2, 2, 4, 5, 6});
    EXPECT_EQ(singular.a, 1);
    EXPECT_EQ(singular.tx, 0);
}

TEST(MatrixMath, ConcatAppliesTheSecondMatrixAfterTheFirst) {
    Affine scale{2, 0, 0, 3, 10, 20};
    Affine shift{1, 0, 0, 1, 5, 7};
    Affine both = Concat(scale, shift);
    // A point through scale then shift.
    double x = 1, y = 1;
    EXPECT_DOUBLE_EQ(both.a * x + both.c * y + both.tx, 2 + 10 + 5);
    EXPECT_DOUBLE_EQ(both.b * x + both.d * y + both.ty, 3 + 20 + 7);
    Affine rotated = Rotate(Affine{}, std::acos(-1.0) / 2);
    EXPECT_NEAR(rotated.a, 0, 1e-12);
    EXPECT_NEAR(rotated.b, 1, 1e-12);
    EXPECT_NEAR(rotated.c, -1, 1e-12);
}

struct GeomScriptTest : ::testing::Test {
    Vm vm{8};

    Value New(const std::string& name, Args args) {
        Object* package = vm.Get(vm.Get(vm.global, "flash").object, "geom").object;
        return vm.Construct(vm.Get(package, name), std::move(args));
    }
    std::string Text(const Value& v) { return vm.ToString(vm.CallMethod(v, "toString", {})); }
};

TEST_F(GeomScriptTest, MatrixKeepsArgumentsAndComputesWithNumbers) {
    Value m = New("Matrix", {Value(2), Value(3), Value(5), Value(7), Value(9), Value(11)});
    vm.CallMethod(m, "invert", {});
    EXPECT_EQ(Text(m), "(a=-7, b=3, c=5, d=-2, tx=8, ty=-5)");
    Value partial = New("Matrix", {Value(1)});
    EXPECT_EQ(Text(partial), "(a=1, b=undefined, c=undefined, d=undefined, tx=undefined, ty=undefined)");
    Value box = New("Matrix", {});
    vm.CallMethod(box, "createGradientBox", {Value(200), Value(300)});
    EXPECT_EQ(Text(box), "(a=0.1220703125, b=0, c=0, d=0.18310546875, tx=100, ty=150)");
}

TEST_F(GeomScriptTest, RectangleEdgesMoveTheRightFields) {
    Value r = New("Rectangle", {Value(1), Value(3), Value(5), Value(7)});
    vm.SetMember(r, "top", Value(0));
    EXPECT_EQ(vm.ToNumber(vm.GetMember(r, "height")), 10);
    vm.SetMember(r, "right", Value(100));
    EXPECT_EQ(vm.ToNumber(vm.GetMember(r, "width")), 99);
    Value other = New("Rectangle", {Value(-1), Value(-3), Value(5), Value(7)});
    Value overlap = vm.CallMethod(r, "intersection", {other});
    EXPECT_EQ(Text(overlap), "(x=1, y=0, w=3, h=4)");
    EXPECT_TRUE(vm.CallMethod(r, "contains", {Value(4)}).IsUndefined());
}

TEST_F(GeomScriptTest, ColorTransformConcatAndRgb) {
    Value a = New("ColorTransform", {Value(1000), Value(1000), Value(1000), Value(1000), Value(1000.1),
                                     Value(1000.1), Value(1000.1), Value(1000.1)});
    Value b = New("ColorTransform", {Value(0.25), Value(0.25), Value(0.25), Value(0.25), Value(35), Value(50),
                                     Value(65), Value(80)});
    vm.CallMethod(a, "concat", {b});
    EXPECT_EQ(vm.ToString(vm.GetMember(a, "redOffset")), "36000.1");
    EXPECT_EQ(vm.ToNumber(vm.GetMember(a, "alphaMultiplier")), 250);
    vm.SetMember(b, "rgb", Value(0xFF1900));
    EXPECT_EQ(vm.ToNumber(vm.GetMember(b, "rgb")), 0xFF1900);
    EXPECT_EQ(vm.ToNumber(vm.GetMember(b, "redMultiplier")), 0);
}

}  // namespace
}  // namespace flash::avm1
