// Point-in-shape tests, and buttons and clips driven by the mouse and the
// keyboard: states, transitions, condition actions, handlers, listeners,
// dragging.
#include "flash_test_movies.h"

#include "flash/avm1/vm.h"
#include "flash/hit_test.h"
#include "flash/player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using flash::ActionWriter;
using flash::ButtonConditionArgs;
using flash::ButtonRecordArgs;
using flash::Player;
using flash_test::DefineBox;
using flash_test::Load;
using flash_test::NewAt;

flash::Shape Parsed(const flash::ShapeBuilder& builder) {
    flash::SwfWriter movie(6, 100, 100, 10);
    movie.DefineShape(1, builder);
    movie.ShowFrame();
    auto loaded = Load(movie);
    return *loaded->Find(1)->shape;
}

TEST(HitTest, FillsFollowTheEvenOddRuleAndLinesCount) {
    flash::ShapeBuilder donut;
    int fill = donut.AddSolidFill({0, 0, 255, 255});
    donut.Circle(1000, 1000, 800, fill);
    donut.Circle(1000, 1000, 400, fill);   // the hole
    flash::Shape shape = Parsed(donut);
    EXPECT_FALSE(flash::ShapeContains(shape, 1000, 1000));     // in the hole
    EXPECT_TRUE(flash::ShapeContains(shape, 1600, 1000));      // on the ring
    EXPECT_TRUE(flash::ShapeContains(shape, 1000, 400));
    EXPECT_FALSE(flash::ShapeContains(shape, 1750, 1750));     // corner of the box, outside the curve
    EXPECT_FALSE(flash::ShapeContains(shape, 3000, 1000));

    flash::ShapeBuilder stroke;
    stroke.SetLine(stroke.AddLineStyle(100, {0, 0, 0, 255}));
    stroke.MoveTo(0, 0);
    stroke.LineTo(2000, 0);
    flash::Shape line = Parsed(stroke);
    EXPECT_TRUE(flash::ShapeContains(line, 1000, 40));
    EXPECT_FALSE(flash::ShapeContains(line, 1000, 200));
}

// A button at (10, 10), 40 by 40 pixels: red up, green over, blue down;
// its conditions set the root variable `said` to what happened.
struct ButtonMovie {
    explicit ButtonMovie(bool track_as_menu = false, int version = 6) : writer(version, 200, 200, 10) {
        DefineBox(writer, 1, 0, 0, 40, 40, {255, 0, 0, 255});
        DefineBox(writer, 2, 0, 0, 40, 40, {0, 255, 0, 255});
        DefineBox(writer, 3, 0, 0, 40, 40, {0, 0, 255, 255});
        std::vector<ButtonRecordArgs> records = {{0x01 | 0x08, 1, 1, {}}, {0x02, 2, 1, {}}, {0x04, 3, 1, {}}};
        std::vector<ButtonConditionArgs> conditions = {
            {0x01, Say("rollOver")}, {0x04, Say("press")}, {0x08, Say("release")},
            {0x10, Say("dragOut")},  {0x40, Say("releaseOutside")}, {uint16_t('k' << 9), Say("key k")},
        };
        writer.DefineButton2(4, records, conditions, track_as_menu);
        flash::PlaceArgs place = NewAt(1, 4, 10, 10);
        place.name = "b";
        writer.PlaceObject(place);
        writer.ShowFrame();
    }
    static std::vector<uint8_t> Say(const std::string& what) {
        return ActionWriter().Push("said").Push("said").GetVariable().Push(what + ";").Op(0x47).SetVariable().Bytes();
    }
    flash::SwfWriter writer;
};

struct Played {
    explicit Played(const flash::SwfWriter& writer) {
        player.SetTraceSink([this](const std::string& line) { traced.push_back(line); });
        player.Load(Load(writer));
    }
    std::string Var(const std::string& name) {
        return player.vm()->ToString(player.vm()->Get(const_cast<flash::Clip*>(player.Root()), name));
    }
    flash::Clip* Button() { return player.Root()->children.at(1).clip; }
    uint16_t Shown() { return Button()->children.at(1).character; }
    void Move(double x, double y) { player.MouseMove(x * 20, y * 20); }
    Player player;
    std::vector<std::string> traced;
};

TEST(Buttons, AreObjectsOfTheirClassNamedInTheirParent) {
    Played p(ButtonMovie().writer);
    flash::avm1::Vm& vm = *p.player.vm();
    flash::Clip* root = const_cast<flash::Clip*>(p.player.Root());
    flash::avm1::Value b = vm.Get(root, "b");
    ASSERT_TRUE(b.IsObject());
    EXPECT_EQ(vm.TypeOf(b), "object");
    EXPECT_EQ(vm.ToString(b), "_level0.b");
    EXPECT_TRUE(vm.InstanceOf(b.object, vm.Get(vm.global, "Button").object));
    EXPECT_EQ(vm.ToNumber(vm.Get(b.object, "_x")), 10);
    EXPECT_TRUE(vm.ToBoolean(vm.Get(b.object, "useHandCursor")));
}

TEST(Buttons, ShowTheirStatesAndRunTheirConditions) {
    Played p(ButtonMovie().writer);
    EXPECT_EQ(p.Shown(), 1);
    p.Move(5, 5);
    EXPECT_EQ(p.Shown(), 1);
    EXPECT_FALSE(p.player.CursorIsHand());
    p.Move(20, 20);
    EXPECT_EQ(p.Shown(), 2);
    EXPECT_TRUE(p.player.CursorIsHand());
    p.player.MouseDown();
    EXPECT_EQ(p.Shown(), 3);
    p.player.MouseUp();
    EXPECT_EQ(p.Shown(), 2);
    EXPECT_EQ(p.Var("said"), "rollOver;press;release;");

    // Pressed, dragged off and let go outside.
    p.player.MouseDown();
    p.Move(100, 100);
    p.player.MouseUp();
    EXPECT_EQ(p.Shown(), 1);
    EXPECT_EQ(p.Var("said"), "rollOver;press;release;press;dragOut;releaseOutside;");
}

TEST(Buttons, DisabledButtonsAndHiddenOnesIgnoreThePointer) {
    Played p(ButtonMovie().writer);
    flash::avm1::Vm& vm = *p.player.vm();
    vm.Set(p.Button(), "enabled", flash::avm1::Value(false));
    p.Move(20, 20);
    EXPECT_EQ(p.Shown(), 1);
    EXPECT_EQ(p.player.MouseTarget(400, 400), nullptr);
    vm.Set(p.Button(), "enabled", flash::avm1::Value(true));
    EXPECT_EQ(p.player.MouseTarget(400, 400), p.Button());
    vm.Set(p.Button(), "_visible", flash::avm1::Value(false));
    EXPECT_EQ(p.player.MouseTarget(400, 400), nullptr);
}

TEST(Buttons, KeyConditionsAndListenersHearKeys) {
    ButtonMovie movie;
    Played p(movie.writer);
    flash::avm1::Vm& vm = *p.player.vm();
    p.player.KeyDown(75, 'k');
    EXPECT_EQ(p.Var("said"), "key k;");
    EXPECT_TRUE(vm.keys_down[75]);
    EXPECT_EQ(vm.last_ascii, 'k');
    p.player.KeyUp(75, 'k');
    EXPECT_FALSE(vm.keys_down[75]);
    p.player.KeyDown(76, 'l');
    EXPECT_EQ(p.Var("said"), "key k;");
}

TEST(Buttons, ScriptHandlersAndMouseListenersRun) {
    Played p(ButtonMovie().writer);
    flash::avm1::Vm& vm = *p.player.vm();
    // onRelease on the button, onMouseDown on a Mouse listener, both trace.
    flash::avm1::Code code;
    auto bytes = std::make_shared<std::vector<uint8_t>>(
        flash::ActionWriter()
            .Function("f", flash::ActionWriter().Push("onRelease").Trace())
            .Push("b").GetVariable().Push("onRelease").Push("f").GetVariable().SetMember()
            .Push("l").Push(0.0).Op(0x43).SetVariable()   // l = {}
            .Function("g", flash::ActionWriter().Push("down").Trace())
            .Push("l").GetVariable().Push("onMouseDown").Push("g").GetVariable().SetMember()
            .Push("l").GetVariable().Push(1.0).Push("Mouse").GetVariable().Push("addListener").CallMethod().Pop()
            .Bytes());
    code.owner = bytes;
    code.data = bytes->data();
    code.size = bytes->size();
    code.version = 6;
    vm.RunActions(code, const_cast<flash::Clip*>(p.player.Root()));
    p.Move(20, 20);
    p.player.MouseDown();
    p.player.MouseUp();
    EXPECT_EQ(p.traced, (std::vector<std::string>{"down", "onRelease"}));
}

TEST(Buttons, DragFollowsThePointerWithinItsConstraint) {
    flash::SwfWriter writer(6, 200, 200, 10);
    DefineBox(writer, 1, 0, 0, 10, 10, {0, 0, 0, 255});
    flash::TagList sprite;
    sprite.PlaceObject(NewAt(1, 1));
    sprite.ShowFrame();
    writer.DefineSprite(2, sprite);
    flash::PlaceArgs place = NewAt(1, 2, 50, 50);
    place.name = "c";
    writer.PlaceObject(place);
    writer.ShowFrame();
    Played p(writer);
    flash::Clip* clip = p.player.Root()->children.at(1).clip;
    p.Move(55, 55);
    p.player.StartDrag(clip, false, false, 0, 0, 0, 0);
    p.Move(65, 75);
    EXPECT_EQ(clip->Placement().matrix.tx, 60 * 20);
    EXPECT_EQ(clip->Placement().matrix.ty, 70 * 20);
    p.player.StartDrag(clip, true, true, 0, 0, 100, 80);
    p.Move(150, 30);
    EXPECT_EQ(clip->Placement().matrix.tx, 100 * 20);
    EXPECT_EQ(clip->Placement().matrix.ty, 30 * 20);
    p.player.StopDrag();
    p.Move(10, 10);
    EXPECT_EQ(clip->Placement().matrix.tx, 100 * 20);
}

}  // namespace
