// TextFormat conversions, Sound volume and pan, filter defaults, limits and
// copies, and the result codes of BitmapData methods as scripts see them.
#include "flash/avm1/vm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace flash::avm1 {
namespace {

struct MediaClassesTest : ::testing::Test {
    Vm vm{8};

    Value New(const Value& constructor, Args args = {}) { return vm.Construct(constructor, std::move(args)); }
    Value Global(const std::string& name) { return vm.Get(vm.global, name); }
    Value Package(const std::string& package, const std::string& name) {
        Object* flash = vm.Get(vm.global, "flash").object;
        return vm.Get(vm.Get(flash, package).object, name);
    }
    std::string Text(const Value& v) { return vm.ToString(v); }
};

TEST_F(MediaClassesTest, TextFormatConvertsWhatIsAssigned) {
    Value format = New(Global("TextFormat"), {Value("Arial"), Value(12.5), Value(-3)});
    EXPECT_EQ(Text(vm.GetMember(format, "font")), "Arial");
    EXPECT_EQ(vm.ToNumber(vm.GetMember(format, "size")), 12);   // halves go to even
    EXPECT_EQ(vm.ToNumber(vm.GetMember(format, "color")), 4294967293.0);
    EXPECT_TRUE(vm.GetMember(format, "bold").IsNull());
    vm.SetMember(format, "leftMargin", Value(-5));
    EXPECT_EQ(vm.ToNumber(vm.GetMember(format, "leftMargin")), 0);
    vm.SetMember(format, "indent", Value(NAN));
    EXPECT_EQ(vm.ToNumber(vm.GetMember(format, "indent")), -2147483648.0);
    vm.SetMember(format, "align", Value("CENTER"));
    vm.SetMember(format, "align", Value("sideways"));
    EXPECT_EQ(Text(vm.GetMember(format, "align")), "center");
    vm.SetMember(format, "font", Value());
    EXPECT_TRUE(vm.GetMember(format, "font").IsNull());
}

TEST_F(MediaClassesTest, SoundPanMovesOneChannelAndVolumeIsAnInteger) {
    Value sound = New(Global("Sound"));
    vm.CallMethod(sound, "setVolume", {Value(50.5)});
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(sound, "getVolume", {})), 50);
    vm.CallMethod(sound, "setVolume", {Value(NAN)});
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(sound, "getVolume", {})), -2147483648.0);
    vm.CallMethod(sound, "setPan", {Value(-50)});
    Value transform = vm.CallMethod(sound, "getTransform", {});
    EXPECT_EQ(vm.ToNumber(vm.GetMember(transform, "ll")), 100);
    EXPECT_EQ(vm.ToNumber(vm.GetMember(transform, "rr")), 50);
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(sound, "getPan", {})), -50);
    vm.CallMethod(sound, "setPan", {Value(200)});
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(sound, "getPan", {})), 0);   // the left channel went to -100
}

TEST_F(MediaClassesTest, FiltersClampSettingsAndCloneIndependently) {
    Value blur = New(Package("filters", "BlurFilter"), {Value(300), Value(-2), Value(40)});
    EXPECT_EQ(vm.ToNumber(vm.GetMember(blur, "blurX")), 255);
    EXPECT_EQ(vm.ToNumber(vm.GetMember(blur, "blurY")), 0);
    EXPECT_EQ(vm.ToNumber(vm.GetMember(blur, "quality")), 15);
    Value glow = New(Package("filters", "GlowFilter"));
    EXPECT_EQ(vm.ToNumber(vm.GetMember(glow, "color")), 0xFF0000);
    Value copy = vm.CallMethod(glow, "clone", {});
    vm.SetMember(copy, "color", Value(0x123456));
    EXPECT_EQ(vm.ToNumber(vm.GetMember(glow, "color")), 0xFF0000);
    Value matrix = vm.GetMember(New(Package("filters", "ColorMatrixFilter")), "matrix");
    EXPECT_EQ(vm.ToNumber(vm.GetMember(matrix, "length")), 20);
    vm.SetMember(glow, "alpha", Value(7));
    EXPECT_EQ(vm.ToNumber(vm.GetMember(glow, "alpha")), 1);
}

TEST_F(MediaClassesTest, BitmapDataChecksSizesAndArguments) {
    Value constructor = Package("display", "BitmapData");
    EXPECT_TRUE(New(constructor, {Value(2881), Value(1)}).IsUndefined());
    EXPECT_TRUE(New(constructor, {Value(5)}).IsUndefined());
    Value bitmap = New(constructor, {Value(3), Value(3), Value(true), Value(2864434397.0)});
    ASSERT_TRUE(bitmap.IsObject());
    EXPECT_EQ(static_cast<uint32_t>(vm.ToInt(vm.CallMethod(bitmap, "getPixel32", {Value(0), Value(0)}))),
              0xAABBCCDCu);
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(bitmap, "setPixel", {Value(1)})), -1);
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(bitmap, "fillRect", {Value::Null(), Value(0)})), -1);
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(bitmap, "copyChannel",
                                        {Value::Null(), Value::Null(), Value::Null(), Value(1), Value(2)})),
              -2);
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(bitmap, "floodFill", {Value(0), Value(0), Value(2864434397.0)})), 0);
    vm.CallMethod(bitmap, "dispose", {});
    EXPECT_EQ(vm.ToNumber(vm.GetMember(bitmap, "width")), -1);
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(bitmap, "getPixel", {Value(0), Value(0)})), -1);
}

TEST_F(MediaClassesTest, BitmapDataHitTestMeetsBitmapsRectanglesAndPoints) {
    Value constructor = Package("display", "BitmapData");
    // Clear but for a half transparent pixel at (1, 1) and an opaque one at (2, 2).
    Value bitmap = New(constructor, {Value(4), Value(4), Value(true), Value(0)});
    vm.CallMethod(bitmap, "setPixel32", {Value(1), Value(1), Value(static_cast<double>(0xA0FFFFFFu))});
    vm.CallMethod(bitmap, "setPixel32", {Value(2), Value(2), Value(static_cast<double>(0xFFFFFFFFu))});
    auto point = [&](double x, double y) { return New(Package("geom", "Point"), {Value(x), Value(y)}); };
    auto hit = [&](Args args) { return vm.CallMethod(bitmap, "hitTest", std::move(args)); };
    // A clear pixel is never a hit, even with no threshold.
    EXPECT_FALSE(vm.ToBoolean(hit({point(0, 0), Value(0), point(0, 0)})));
    EXPECT_TRUE(vm.ToBoolean(hit({point(1, 1), Value(255), point(3, 3)})));
    EXPECT_FALSE(vm.ToBoolean(hit({point(0, 0), Value(255), point(1, 1)})));
    // A rectangle's right and bottom edges count.
    Value rect = New(Package("geom", "Rectangle"), {Value(0), Value(0), Value(1), Value(1)});
    EXPECT_TRUE(vm.ToBoolean(hit({point(0, 0), Value(0), rect})));
    // Two bitmaps, each at its point: the opaque pixel over the other's (1, 1).
    EXPECT_TRUE(vm.ToBoolean(hit({point(0, 0), Value(255), bitmap, point(1, 1), Value(160)})));
    EXPECT_FALSE(vm.ToBoolean(hit({point(0, 0), Value(255), bitmap, point(1, 1), Value(255)})));
    // Bad arguments: the first point, the second object, the second point.
    Object* inherited = vm.MakeObject();
    inherited->proto = point(0, 0).object;   // x and y only through the prototype
    EXPECT_EQ(vm.ToNumber(hit({Value(inherited), Value(0), bitmap})), -2);
    EXPECT_EQ(vm.ToNumber(hit({point(0, 0), Value(0), Value(vm.MakeObject())})), -3);
    EXPECT_EQ(vm.ToNumber(hit({point(0, 0), Value(0), bitmap, Value::Null()})), -4);
}

TEST_F(MediaClassesTest, BitmapDataNoiseFollowsItsSeed) {
    Value constructor = Package("display", "BitmapData");
    Value bitmap = New(constructor, {Value(2), Value(1), Value(false), Value(0)});
    auto pixel = [&](int x) {
        return static_cast<uint32_t>(vm.ToInt(vm.CallMethod(bitmap, "getPixel32", {Value(x), Value(0)})));
    };
    vm.CallMethod(bitmap, "noise", {Value(1)});
    EXPECT_EQ(pixel(0), 0xFFA7F1D9u);
    EXPECT_EQ(pixel(1), 0xFF2A82C8u);
    vm.CallMethod(bitmap, "noise", {Value(0)});   // the same as seed 1
    EXPECT_EQ(pixel(0), 0xFFA7F1D9u);
    vm.CallMethod(bitmap, "noise", {Value(-1), Value(0), Value(255), Value(1), Value(true)});   // seed 2, grey
    EXPECT_EQ(pixel(0), 0xFF4E4E4Eu);
    vm.CallMethod(bitmap, "noise", {Value(5), Value(10), Value(2)});
    EXPECT_EQ(pixel(1), 0xFF0A0A0Au);
    // Without arguments nothing changes.
    EXPECT_TRUE(vm.CallMethod(bitmap, "noise", {}).IsUndefined());
    EXPECT_EQ(pixel(1), 0xFF0A0A0Au);
}

TEST_F(MediaClassesTest, PixelDissolveVisitsEachPixelOnceAcrossCalls) {
    Value constructor = Package("display", "BitmapData");
    Value bitmap = New(constructor, {Value(7), Value(9), Value(false), Value(static_cast<double>(0xFFCCCCCCu))});
    Value rect = vm.GetMember(bitmap, "rectangle");
    Value origin = New(Package("geom", "Point"), {Value(0), Value(0)});
    auto filled = [&]() {
        int count = 0;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 7; ++x)
                if (static_cast<uint32_t>(vm.ToInt(vm.CallMethod(bitmap, "getPixel32", {Value(x), Value(y)}))) ==
                    0xFFFF0000u)
                    ++count;
        return count;
    };
    Value red(static_cast<double>(0xFFFF0000u));
    Value state(0);
    // The first call takes the first pixel too; then one new pixel a call.
    for (int round = 1; round <= 70; ++round) {
        state = vm.CallMethod(bitmap, "pixelDissolve", {bitmap, rect, origin, state, Value(1), red});
        EXPECT_EQ(filled(), std::min(round + 1, 63)) << round;
    }
    // Enough pixels for the rectangle take all of it and keep the state.
    Value fresh = New(constructor, {Value(3), Value(3), Value(false), Value(0)});
    Value all = vm.CallMethod(fresh, "pixelDissolve", {fresh, vm.GetMember(fresh, "rectangle"), origin, Value(5),
                                                       Value(9), red});
    EXPECT_EQ(vm.ToNumber(all), 5);
    EXPECT_EQ(static_cast<uint32_t>(vm.ToInt(vm.CallMethod(fresh, "getPixel32", {Value(2), Value(2)}))), 0xFFFF0000u);
}

TEST_F(MediaClassesTest, ApplyFilterMapsColoursThroughAColourMatrix) {
    Value constructor = Package("display", "BitmapData");
    Value source = New(constructor, {Value(2), Value(2), Value(false), Value(static_cast<double>(0xFF204080u))});
    Value dest = New(constructor, {Value(2), Value(2), Value(false), Value(static_cast<double>(0xFF000000u))});
    // Red and blue swapped, green halved, 10 added to blue.
    std::vector<Value> m(20, Value(0));
    m[2] = Value(1), m[6] = Value(0.5), m[10] = Value(1), m[14] = Value(10), m[18] = Value(1);
    Value filter = New(Package("filters", "ColorMatrixFilter"), {Value(vm.MakeArray(std::move(m)))});
    Value rect = New(Package("geom", "Rectangle"), {Value(0), Value(0), Value(1), Value(2)});
    Value point = New(Package("geom", "Point"), {Value(1), Value(0)});
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(dest, "applyFilter", {source, rect, point, filter})), 0);
    EXPECT_EQ(static_cast<uint32_t>(vm.ToInt(vm.CallMethod(dest, "getPixel32", {Value(1), Value(1)}))), 0xFF80202Au);
    EXPECT_EQ(static_cast<uint32_t>(vm.ToInt(vm.CallMethod(dest, "getPixel32", {Value(0), Value(0)}))), 0xFF000000u);
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(dest, "applyFilter", {source, rect, point, Value::Null()})), -1);
}

}  // namespace
}  // namespace flash::avm1

namespace flash::avm1 {
namespace {

// File dialogs: browse checks its type list; with no dialog to show, one
// that opens is cancelled when the player's deliveries run, and none other
// opens meanwhile.
TEST_F(MediaClassesTest, FileReferenceDialogsCheckFiltersAndCloseCancelled) {
    Value list = New(Package("net", "FileReferenceList"));
    Object* filter = vm.MakeObject();
    vm.Set(filter, "description", Value("text"));
    Args bad = {Value(vm.MakeArray({Value(filter)}))};   // no extension
    EXPECT_FALSE(vm.ToBoolean(vm.CallMethod(list, "browse", bad)));
    EXPECT_FALSE(vm.ToBoolean(vm.CallMethod(list, "browse", {Value("*.txt")})));
    vm.Set(filter, "extension", Value("*.txt"));
    Args good = {Value(vm.MakeArray({Value(filter)}))};

    Object* listener = vm.MakeObject();
    vm.Set(listener, "onCancel", Value(static_cast<Object*>(vm.MakeNative("", [](Vm& v, Object*, Args&) {
               v.Set(v.global, "cancelled", Value(true));
               return Value();
           }))));
    vm.CallMethod(list, "addListener", {Value(listener)});
    EXPECT_TRUE(vm.ToBoolean(vm.CallMethod(list, "browse", good)));
    EXPECT_FALSE(vm.ToBoolean(vm.CallMethod(list, "browse", good)));   // one is open
    vm.RunDeliveries();
    EXPECT_TRUE(vm.ToBoolean(vm.Get(vm.global, "cancelled")));
    EXPECT_TRUE(vm.ToBoolean(vm.CallMethod(list, "browse", {})));   // closed again
    vm.RunDeliveries();
    Value file = New(Package("net", "FileReference"));
    EXPECT_FALSE(vm.ToBoolean(vm.CallMethod(file, "download", {Value("baddomain")})));
    EXPECT_TRUE(vm.Get(file.object, "name").IsUndefined());
}

}  // namespace
}  // namespace flash::avm1

namespace flash::avm1 {
namespace {

// onStatus hears each change of a NetConnection: the local connection
// opens at once, a server connection stays pending, close ends either.
TEST_F(MediaClassesTest, NetConnectionTellsOnStatusOfEachChange) {
    Value connection = New(Global("NetConnection"));
    Object* log = vm.MakeArray();
    vm.Set(vm.global, "log", Value(log));
    vm.Set(connection.object, "onStatus", Value(static_cast<Object*>(vm.MakeNative("", [](Vm& v, Object*, Args& a) {
               Value code = a.empty() ? Value("none") : v.Get(a[0].object, "code");
               v.CallMethod(v.Get(v.global, "log"), "push", {code});
               return Value();
           }))));
    vm.CallMethod(connection, "close", {});                      // nothing to close
    vm.CallMethod(connection, "connect", {Value::Null()});
    vm.CallMethod(connection, "connect", {Value::Null()});       // closes, then connects again
    vm.CallMethod(connection, "connect", {Value("http://example.org")});
    vm.CallMethod(connection, "close", {});
    EXPECT_EQ(vm.ToString(Value(log)),
              "NetConnection.Connect.Success,NetConnection.Connect.Closed,NetConnection.Connect.Success,"
              "NetConnection.Connect.Closed,NetConnection.Connect.Closed,none");
}

}  // namespace
}  // namespace flash::avm1
