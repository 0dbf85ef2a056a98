// Real pointer and keyboard input reaching a movie in the main window: a
// click on a button runs its action, a key press is seen by Key.isDown,
// and the pointer over the button is the hand.
#include "playback_test_support.h"

#include "swf/sourcefm_win.h"
#include "flash/swf_writer.h"

using playback_test::PlaybackTest;
using playback_test::Pump;

namespace {

// Six frames, stopped on the first. A button over the whole stage goes to
// frame 3 when released; a Key listener goes to frame 5 when the key A is
// down as a key goes down (frame 1 otherwise).
std::vector<uint8_t> InputMovie() {
    using flash::ActionWriter;
    flash::SwfWriter movie(6, 200, 100, 20);
    flash::ShapeBuilder box;
    box.Rectangle(0, 0, 4000, 2000, box.AddSolidFill({200, 30, 30, 255}));
    movie.DefineShape(1, box);
    flash::ShapeBuilder over;
    over.Rectangle(0, 0, 4000, 2000, over.AddSolidFill({30, 200, 30, 255}));
    movie.DefineShape(2, over);
    auto go = [](double frame) {
        return ActionWriter().Push(frame).Push(1.0).Push("_root").GetVariable().Push("gotoAndStop").CallMethod().Pop();
    };
    movie.DefineButton2(3, {{0x01 | 0x08, 1, 1, {}}, {0x02 | 0x04, 2, 1, {}}}, {{0x08, go(3).Bytes()}});
    flash::PlaceArgs place;
    place.depth = 1;
    place.character = 3;
    place.matrix = flash::Matrix{};
    place.name = "b";
    movie.PlaceObject(place);
    ActionWriter on_key;
    on_key.Push(65.0).Push(1.0).Push("Key").GetVariable().Push("isDown").CallMethod().Op(0x4A);
    on_key.Push(4.0).Op(0x0C).Push(1.0).Op(0x47);
    on_key.Push(1.0).Push("_root").GetVariable().Push("gotoAndStop").CallMethod().Pop();
    ActionWriter script;
    script.Op(0x07);   // stop
    script.Push("l").Push(0.0).Op(0x43).SetVariable();
    script.Function("f", on_key);
    script.Push("l").GetVariable().Push("onKeyDown").Push("f").GetVariable().SetMember();
    script.Push("l").GetVariable().Push(1.0).Push("Key").GetVariable().Push("addListener").CallMethod().Pop();
    movie.DoAction(script);
    for (int f = 0; f < 6; ++f) movie.ShowFrame();
    return movie.Finish();
}

void Click(POINT at) {
    SetCursorPos(at.x, at.y);
    Pump(100);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[0], sizeof(INPUT));
    Pump(100);
    SendInput(1, &input[1], sizeof(INPUT));
    Pump(200);
}

void Press(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &input[0], sizeof(INPUT));
    Pump(200);
    SendInput(1, &input[1], sizeof(INPUT));
    Pump(200);
}

}  // namespace

TEST_F(PlaybackTest, ClicksAndKeysReachTheMovie) {
    Tfrmmain& form = MakeForm();
    Tsourcefm sourcefm;
    Forms().sourcefm = &sourcefm;
    form.Show();
    SetForegroundWindow(form.Window());
    AddEntries(form, {File(L"input.swf", InputMovie())});
    Play(form, 0);
    Pump(300);
    FlashControl* flash = form.flash();
    ASSERT_NE(flash, nullptr);
    EXPECT_EQ(flash->CurrentFrame(), 0);

    RECT client{};
    GetClientRect(flash->Window(), &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(flash->Window(), &centre);
    Click(centre);
    EXPECT_EQ(flash->CurrentFrame(), 2);
    EXPECT_EQ(GetFocus(), flash->Window());
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    SendMessageW(flash->Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(flash->Window()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), hand);

    Press('A');
    EXPECT_EQ(flash->CurrentFrame(), 4);
    Press('B');
    EXPECT_EQ(flash->CurrentFrame(), 0);
}
