// How files enter the playlist of the main window: dropped files (through
// the real drop message), the command line, the right-click on the Flash
// area, and the remove and clear commands.
#include "playlist_test_support.h"

#include "flash/flash_control_win.h"

#include <commctrl.h>

using app_test::MainWindowTest;
using namespace playlist_test;

namespace {

class PlaylistIntakeTest : public MainWindowTest {
protected:
    Tfrmmain& MakeFormWith(const std::vector<std::wstring>& arguments) {
        Tfrmmain::Options options;
        options.program_folder = folder_.wstring();
        options.arguments = arguments;
        options.ends_program = false;
        form_ = std::make_unique<Tfrmmain>(options);
        Forms().frmmain = form_.get();
        form_->Create();
        return *form_;
    }

    // A playable movie: a copy of the start-up movie the window writes.
    std::wstring Movie(const std::wstring& name) {
        std::filesystem::path file = folder_ / name;
        std::filesystem::copy_file(folder_ / L"corvella.SWF", file, std::filesystem::copy_options::overwrite_existing);
        return file.wstring();
    }

    std::wstring Path(const std::wstring& name) const { return (folder_ / name).wstring(); }
};

}  // namespace

TEST_F(PlaylistIntakeTest, DroppedMediaFilesAreAppendedNumberedOnAndTheFirstNewOnePlays) {
    Tfrmmain& form = MakeForm();
    form.AppendEntry(Movie(L"one.swf"));
    form.AppendEntry(Movie(L"two.swf"));
    std::vector<std::wstring> dropped = {Movie(L"Song A.swf"), Path(L"b.mp3"), Path(L"C.MP3")};
    trace_.clear();

    DropOn(form, dropped);

    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.one", L"2.two", L"3.Song A", L"4.b", L"5.C"}));
    std::vector<std::wstring> paths = MemoLines(form);
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(std::vector<std::wstring>(paths.begin() + 2, paths.end()), dropped);
    EXPECT_EQ(Selection(form), 2);
    EXPECT_EQ(CountOf(trace_, "play file"), 1);
}

TEST_F(PlaylistIntakeTest, DropTakesLongPathsWholeAndSkipsFilesOfOtherKinds) {
    Tfrmmain& form = MakeForm();
    // 200 characters, far beyond the 79 bytes a fixed buffer would take.
    std::wstring name(92, L'x');
    std::wstring long_path = L"C:\\" + std::wstring(100, L'd') + L"\\" + name + L".mp3";
    ASSERT_EQ(long_path.size(), 200u);
    trace_.clear();

    DropOn(form, {Path(L"notes.txt"), Path(L"noextension"), Path(L"dot.d\\file"), long_path, Path(L"short.mp")});

    // ".MP" lies inside ".MP2": the extension test is a substring test.
    EXPECT_EQ(MemoLines(form), (std::vector<std::wstring>{long_path, Path(L"short.mp")}));
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1." + name, L"2.shor"}));

    // Nothing accepted: nothing selected or played.
    form.N47Click();
    trace_.clear();
    DropOn(form, {Path(L"readme.txt")});
    EXPECT_TRUE(Labels(form).empty());
    EXPECT_EQ(Selection(form), -1);
    EXPECT_EQ(CountOf(trace_, "play file"), 0);
}

TEST_F(PlaylistIntakeTest, DroppedListFilesAreLoadedAndPlayed) {
    Tfrmmain& form = MakeForm();
    std::wstring a = Movie(L"a.swf"), b = Movie(L"b.swf");
    WriteBytes(folder_ / L"list.lis", WideToAnsi(a) + "\r\n" + WideToAnsi(b) + "\r\n");
    trace_.clear();

    DropOn(form, {Path(L"list.lis")});

    EXPECT_EQ(MemoLines(form), (std::vector<std::wstring>{a, b}));
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.a", L"2.b"}));
    EXPECT_EQ(Selection(form), 0);
    EXPECT_GE(CountOf(trace_, "play file"), 1);
    // The scratch list holds what the file gave.
    EXPECT_EQ(MemoLines(form, L"Memo2"), (std::vector<std::wstring>{a, b}));

    // An ".m3u" among the dropped files is appended without playing of its
    // own; a missing list file is passed over quietly and the files after
    // it still come in.
    WriteBytes(folder_ / L"list.m3u", "#EXTM3U\r\n#EXTINF:1,A\r\nC:\\m\\a.mp3\r\n");
    trace_.clear();
    HGLOBAL failed = DropOn(form, {Path(L"list.m3u"), Path(L"gone.lis"), Path(L"after.mp3")});
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.a", L"2.b", L"3.a", L"4.after"}));
    EXPECT_EQ(MemoLines(form).back(), Path(L"after.mp3"));
    EXPECT_TRUE(app_test::CapturedErrors().empty());
    // The drop handle is released in every case, the failed one included.
    HGLOBAL unreleased = MakeDrop({Path(L"x.mp3")});
    EXPECT_FALSE(DropReleased(unreleased));
    GlobalFree(unreleased);
    EXPECT_TRUE(DropReleased(failed));
    EXPECT_TRUE(DropReleased(DropOn(form, {Path(L"later.mp3")})));
    EXPECT_TRUE(DropReleased(DropOn(form, {Path(L"readme.txt")})));
    EXPECT_EQ(Labels(form).back(), L"5.later");
}

static int flash_right_clicks;
static int list_right_clicks;

static LRESULT CALLBACK CountFlashClicks(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (message == WM_RBUTTONDOWN) ++flash_right_clicks;
    return DefSubclassProc(window, message, wparam, lparam);
}

static LRESULT CALLBACK CountListClicks(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (message == WM_RBUTTONDOWN) {
        ++list_right_clicks;
        return 0;  // no context menu
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

TEST_F(PlaylistIntakeTest, RightClickOnTheFlashAreaOpensTheControlMenuInstead) {
    Tfrmmain& form = MakeForm();
    form.Show();
    HWND flash = form.flash()->Window();
    flash_right_clicks = 0;
    SetWindowSubclass(flash, CountFlashClicks, 77, 0);
    // The pointer may take a moment to reach the new place under X: the menu
    // must open where the cursor is when the button goes down.
    SetCursorPos(300, 250);
    ProcessPendingMessages();
    POINT cursor{};
    GetCursorPos(&cursor);

    RECT menu_rect{};
    ModalActor close_menu([&] {
        HWND menu = FindThreadWindow(L"#32768");
        if (!menu) return false;
        GetWindowRect(menu, &menu_rect);
        EndMenu();
        return true;
    });
    PostMessageW(flash, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    ProcessPendingMessages();

    EXPECT_TRUE(close_menu.Done());
    EXPECT_EQ(flash_right_clicks, 0);
    EXPECT_EQ(menu_rect.left, cursor.x);
    EXPECT_EQ(menu_rect.top, cursor.y);

    // Elsewhere the right button is left alone.
    PostMessageW(flash, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    HWND list = form.ControlWindow(L"ListBox1");
    list_right_clicks = 0;
    SetWindowSubclass(list, CountListClicks, 78, 0);
    PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ProcessPendingMessages();
    EXPECT_EQ(list_right_clicks, 1);
    RemoveWindowSubclass(list, CountListClicks, 78);
    RemoveWindowSubclass(flash, CountFlashClicks, 77);
}

// The control panel's background, its pictures and labels and the volume
// bar open the control menu on a right click, as its buttons do.
TEST_F(PlaylistIntakeTest, RightClickOnTheControlPanelOpensTheControlMenu) {
    Tfrmmain& form = MakeForm();
    form.Show();
    struct Place {
        const wchar_t* window;
        POINT point;
    };
    const Place places[] = {
        {L"Panel5", {150, 5}},     // background
        {L"Panel5", {200, 50}},    // picture Image1
        {L"Panel5", {200, 12}},    // progress label
        {L"Panel8", {5, 5}},       // volume bar
        {L"VolLbl", {5, 5}},
    };
    for (const Place& place : places) {
        HMENU shown = nullptr;
        ModalActor close_menu([&] {
            HWND menu = FindThreadWindow(L"#32768");
            if (!menu) return false;
            shown = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
            EndMenu();
            return true;
        });
        HWND window = form.ControlWindow(place.window);
        PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(place.point.x, place.point.y));
        PostMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(place.point.x, place.point.y));
        ProcessPendingMessages();
        EXPECT_TRUE(close_menu.Done()) << place.window;
        EXPECT_EQ(shown, form.PopupMenu1().Handle()) << place.window;
    }
}

TEST_F(PlaylistIntakeTest, RemoveRenumbersInTheStemFormAndClearEmptiesBothLists) {
    Tfrmmain& form = MakeForm();
    for (const wchar_t* name : {L"C:\\m\\a.mp3", L"C:\\m\\b.mp3", L"C:\\m\\c.mp3"}) form.AppendEntry(name);
    form.AppendFoundEntry(L"C:\\s\\x.swf", L"x.swf");
    EXPECT_EQ(Labels(form).back(), L"4.x.swf");

    form.N43Click();  // nothing selected: nothing happens
    EXPECT_EQ(Labels(form).size(), 4u);

    form.SelectListEntry(1);
    form.N43Click();
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.a", L"2.c", L"3.x"}));
    EXPECT_EQ(MemoLines(form), (std::vector<std::wstring>{L"C:\\m\\a.mp3", L"C:\\m\\c.mp3", L"C:\\s\\x.swf"}));
    EXPECT_EQ(Selection(form), -1);
    EXPECT_EQ(form.ListEntryPath(2), L"C:\\s\\x.swf");

    form.N47Click();
    EXPECT_TRUE(Labels(form).empty());
    EXPECT_EQ(form.ControlText(L"Memo1"), L"");
    EXPECT_EQ(form.ListEntryCount(), 0);
    form.AppendEntry(L"C:\\m\\a.mp3");
    form.AppendEntry(L"C:\\m\\a.mp3");  // no duplicate check
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.a", L"2.a"}));
}

TEST_F(PlaylistIntakeTest, CommandLineMovieIsAppendedAndPlaysWhenShown) {
    Tfrmmain& form = MakeFormWith({L"  C:\\f\\movie.swf "});
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.movie"}));
    EXPECT_EQ(MemoLines(form), (std::vector<std::wstring>{L"C:\\f\\movie.swf"}));
    EXPECT_EQ(Selection(form), 0);
    EXPECT_TRUE(form.PlayAtShow);
    EXPECT_EQ(CountOf(trace_, "play file"), 0);
    form.Show();
    EXPECT_EQ(CountOf(trace_, "play file"), 1);
    EXPECT_FALSE(form.PlayAtShow);
}

TEST_F(PlaylistIntakeTest, CommandLineListIsLoadedAndPlayedAtOnceOtherKindsAddNothing) {
    std::filesystem::create_directories(folder_);
    std::wstring list = Path(L"list.lis");
    // The start-up movie is written before the command line is taken.
    std::string movie = WideToAnsi(Path(L"corvella.SWF"));
    WriteBytes(list, movie + "\r\n" + movie + "\r\n");
    {
        Tfrmmain& form = MakeFormWith({list});
        EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.corvella", L"2.corvella"}));
        EXPECT_EQ(Selection(form), 0);
        EXPECT_GE(CountOf(trace_, "play file"), 1);
        EXPECT_FALSE(form.PlayAtShow);
    }
    for (const wchar_t* argument : {L"C:\\f\\clip.avi", L"C:\\f\\list.lis\\x"}) {
        trace_.clear();
        Tfrmmain& form = MakeFormWith({argument});
        EXPECT_TRUE(Labels(form).empty()) << argument;
        EXPECT_EQ(CountOf(trace_, "play file"), 0) << argument;
    }
    // A list that cannot be read is reported by the start-up guard.
    MakeFormWith({Path(L"missing.lis")});
    EXPECT_EQ(app_test::CapturedErrors().size(), 1u);
}
