// BitmapData pixels: premultiplied storage and its rounding, clipping of
// copies and fills, colour transforms; shared object data round trips.
#include "flash/avm1/classes/bitmap_pixels.h"
#include "flash/avm1/classes/shared_object_store.h"
#include "flash/avm1/vm.h"
#include "tests/core/temp_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace flash::avm1 {
namespace {

TEST(BitmapPixels, PremultipliedStorageRoundsLikeThePlayer) {
    // Premultiplying rounds, reading back truncates: 0xAABBCCDD comes back
    // as 0xAABBCCDC.
    EXPECT_EQ(Unpremultiply(Premultiply(0xAABBCCDDu)), 0xAABBCCDCu);
    EXPECT_EQ(Premultiply(0x00FFFFFFu), 0u);
    EXPECT_EQ(Premultiply(0xFF123456u), 0xFF123456u);
    EXPECT_EQ(Unpremultiply(0x80808080u), 0x80FFFFFFu);
    BitmapPixels opaque(2, 2, false, 0x00112233u);
    EXPECT_EQ(opaque.Get(1, 1), 0xFF112233u);
    opaque.Set(0, 0, 0x10FFFFFFu);
    EXPECT_EQ(opaque.Get(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(opaque.Get(5, 0), 0u);
}

TEST(BitmapPixels, FillsAndCopiesAreClippedToBothBitmaps) {
    BitmapPixels dest(4, 4, true, 0);
    dest.FillRect({-2, -2, 4, 4}, 0xFF0000FFu);
    EXPECT_EQ(dest.Get(1, 1), 0xFF0000FFu);
    EXPECT_EQ(dest.Get(2, 2), 0u);
    BitmapPixels source(3, 3, true, 0xFFFF0000u);
    CopyPixels(source, {-1, 0, 3, 3}, dest, 2, 2, false);
    // Column -1 of the source does not exist, so the copy starts one to the right.
    EXPECT_EQ(dest.Get(2, 2), 0u);
    EXPECT_EQ(dest.Get(3, 2), 0xFFFF0000u);
    EXPECT_EQ(dest.Get(3, 3), 0xFFFF0000u);
    // A negative size fills back from the corner: (3, 3, -2, -2) is (1, 1, 2, 2).
    BitmapPixels back(4, 4, true, 0);
    back.FillRect({3, 3, -2, -2}, 0xFF00FF00u);
    EXPECT_EQ(back.Get(0, 0), 0u);
    EXPECT_EQ(back.Get(1, 1), 0xFF00FF00u);
    EXPECT_EQ(back.Get(2, 2), 0xFF00FF00u);
    EXPECT_EQ(back.Get(3, 3), 0u);
}

TEST(BitmapPixels, MergingDrawsHalfTransparentSourceOverDestination) {
    BitmapPixels dest(1, 1, true, 0xFF0000FFu);
    BitmapPixels source(1, 1, true, 0x80FF0000u);
    CopyPixels(source, {0, 0, 1, 1}, dest, 0, 0, true);
    uint32_t out = dest.Get(0, 0);
    EXPECT_EQ(out >> 24, 0xFFu);
    EXPECT_EQ((out >> 16) & 0xFF, 0x80u);
    EXPECT_EQ(out & 0xFF, 0x7Fu);
}

TEST(BitmapPixels, ColorTransformClampsChannelsAndFloodFillStopsAtEdges) {
    BitmapPixels bitmap(3, 1, true, 0xFF808080u);
    double multipliers[4] = {2, 0.5, 1, 1}, offsets[4] = {10, 0, -200, 0};
    bitmap.ColorTransform({0, 0, 2, 1}, multipliers, offsets);
    EXPECT_EQ(bitmap.Get(0, 0), 0xFFFF4000u);
    EXPECT_EQ(bitmap.Get(2, 0), 0xFF808080u);
    bitmap.FloodFill(0, 0, 0xFF000000u);
    EXPECT_EQ(bitmap.Get(1, 0), 0xFF000000u);
    EXPECT_EQ(bitmap.Get(2, 0), 0xFF808080u);
}

TEST(SharedObjectStore, DataSurvivesARoundTripAndNamesAreChecked) {
    Vm vm(8);
    Object* data = vm.MakeObject();
    vm.Set(data, "n", Value(1.5));
    vm.Set(data, "s", Value("a:b;c"));
    Object* list = vm.MakeArray({Value(true), Value::Null()});
    vm.Set(data, "list", Value(list));
    vm.Set(data, "self", Value(data));   // cycles are not saved
    Object* back = vm.MakeObject();
    ASSERT_TRUE(DeserializeData(vm, SerializeData(vm, data), back));
    EXPECT_EQ(vm.ToNumber(vm.Get(back, "n")), 1.5);
    EXPECT_EQ(vm.ToString(vm.Get(back, "s")), "a:b;c");
    ArrayObject* list_back = vm.Get(back, "list").object->AsArray();
    ASSERT_NE(list_back, nullptr);
    ASSERT_EQ(list_back->Elements().size(), 2u);
    EXPECT_TRUE(list_back->Elements()[0].boolean);
    EXPECT_TRUE(list_back->Elements()[1].IsNull());
    EXPECT_TRUE(vm.Get(back, "self").IsUndefined());
    EXPECT_EQ(vm.EnumerableKeys(back), vm.EnumerableKeys(data));
    EXPECT_FALSE(DeserializeData(vm, "garbage", back));
    EXPECT_TRUE(ValidSharedObjectName("scores/level1"));
    EXPECT_FALSE(ValidSharedObjectName("a b"));
    EXPECT_FALSE(ValidSharedObjectName("../x"));
    EXPECT_FALSE(ValidSharedObjectName("x//y"));
}

TEST(SharedObjectStore, GetLocalFlushesIntoTheHostFolder) {
    auto folder = testtemp::OwnTempPath("corvella-so-test");
    std::filesystem::remove_all(folder);
    {
        Vm vm(8);
        vm.set_shared_object_folder(folder.string());
        Value so = vm.CallMethod(vm.Get(vm.global, "SharedObject"), "getLocal", {Value("game")});
        ASSERT_TRUE(so.IsObject());
        EXPECT_EQ(vm.CallMethod(vm.Get(vm.global, "SharedObject"), "getLocal", {Value("game")}).object, so.object);
        vm.Set(vm.Get(so.object, "data").object, "level", Value(3));
        EXPECT_TRUE(vm.ToBoolean(vm.CallMethod(so, "flush", {})));
        EXPECT_TRUE(vm.CallMethod(vm.Get(vm.global, "SharedObject"), "getLocal", {Value("bad name")}).IsNull());
    }
    Vm vm(8);
    vm.set_shared_object_folder(folder.string());
    Value so = vm.CallMethod(vm.Get(vm.global, "SharedObject"), "getLocal", {Value("game")});
    EXPECT_EQ(vm.ToNumber(vm.Get(vm.Get(so.object, "data").object, "level")), 3);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace flash::avm1
