// The media search over a real folder tree (started from the browser cache
// folder in the registry), stopping it, and the file-type associations the
// window writes when it is created.
#include "playlist_test_support.h"

#include <commctrl.h>
#include <shlobj.h>

using app_test::MainWindowTest;
using namespace playlist_test;

namespace {

constexpr const wchar_t* kShellFolders = L"SOFTWARE\\Microsoft\\windows\\currentversion\\explorer\\shell Folders";

std::wstring ReadDefault(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<none>";
    return value;
}

void WriteString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

class PlaylistSearchTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        saved_cache_ = ReadDefault(HKEY_CURRENT_USER, kShellFolders, L"Cache");
        root_ = folder_ / L"root";
        for (const wchar_t* name : {L"a\\c", L"b", L".hidden"}) std::filesystem::create_directories(root_ / name);
        for (const wchar_t* name : {L"a\\x.swf", L"b\\Y.MP3", L"a\\c\\z.avi", L"w.wav", L".hidden\\q.mp3",
                                    L"note.txt", L"b\\.mp3"})
            WriteBytes(root_ / name, "x");
    }

    void TearDown() override {
        if (saved_cache_ == L"<none>")
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kShellFolders, L"Cache");
        else
            WriteString(HKEY_CURRENT_USER, kShellFolders, L"Cache", saved_cache_);
        MainWindowTest::TearDown();
    }

    bool PanelVisible(Tfrmmain& form) { return form.Controls().Visible(form.ControlIndex(L"Panel4")); }
    int BarPosition(Tfrmmain& form) {
        return static_cast<int>(SendMessageW(form.ControlWindow(L"ProgressBar2"), PBM_GETPOS, 0, 0));
    }
    std::wstring In(const std::wstring& name) const { return (root_ / name).wstring(); }

    std::filesystem::path root_;
    std::wstring saved_cache_;
};

}  // namespace

TEST_F(PlaylistSearchTest, BrowserCacheSearchAddsMediaFilesBreadthFirstWithWholeNames) {
    Tfrmmain& form = MakeForm();
    form.AppendEntry(L"C:\\m\\before.mp3");
    // Blanks around the value and a trailing separator are taken off.
    WriteString(HKEY_CURRENT_USER, kShellFolders, L"Cache", L"  " + root_.wstring() + L"\\ ");
    trace_.clear();

    form.ClickMenuItem(L"IE1");

    // root, then its subfolders a and b, then a\c; folders beginning with a
    // dot are not entered, files beginning with one are listed.
    std::vector<std::wstring> labels = Labels(form);
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_EQ(labels[1], L"2.w.wav");
    EXPECT_EQ(labels[2], L"3.x.swf");
    // Within b, the order the file system lists them.
    EXPECT_TRUE((labels[3] == L"4.Y.MP3" && labels[4] == L"5..mp3") ||
                (labels[3] == L"4..mp3" && labels[4] == L"5.Y.MP3"));
    EXPECT_EQ(labels[5], L"6.z.avi");
    std::vector<std::wstring> paths = MemoLines(form);
    EXPECT_EQ(paths[1], In(L"w.wav"));
    EXPECT_EQ(paths[5], In(L"a\\c\\z.avi"));
    EXPECT_EQ(form.ControlText(L"zzcz"), In(L"a\\c") + L"\\");

    // Nothing is selected or played; the panel goes away at the end.
    EXPECT_EQ(Selection(form), -1);
    EXPECT_EQ(CountOf(trace_, "play file"), 0);
    EXPECT_FALSE(PanelVisible(form));
    EXPECT_EQ(BarPosition(form), 100);

    // Searching again lists the same files again.
    form.ClickMenuItem(L"IE1");
    EXPECT_EQ(Labels(form).size(), 11u);
}

TEST_F(PlaylistSearchTest, StopEndsTheSearchAtTheNextFolder) {
    Tfrmmain& form = MakeForm();
    WriteString(HKEY_CURRENT_USER, kShellFolders, L"Cache", root_.wstring());
    // The stop command arrives while the search lets the window run before
    // its first folder: that folder is still listed, nothing more.
    PopupMenu& menu = form.PopupMenu1();
    PostMessageW(form.Window(), WM_COMMAND, static_cast<WPARAM>(menu.CommandOf(menu.Index(L"N41"))), 0);

    form.IE1Click();

    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.w.wav"}));
    EXPECT_TRUE(form.SearchStopped);
    EXPECT_FALSE(PanelVisible(form));

    // A search started inside a running one shares its bar and its stop.
    form.N47Click();
    form.SearchStopped = false;
    PostMessageW(form.Window(), WM_COMMAND, static_cast<WPARAM>(menu.CommandOf(menu.Index(L"IE1"))), 0);
    form.SearchMediaFiles(In(L"a"));
    // Inner: the whole tree; outer, rooted at a: x.swf, then z.avi.
    std::vector<std::wstring> labels = Labels(form);
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(labels[0], L"1.w.wav");
    EXPECT_EQ(labels[5], L"6.x.swf");
    EXPECT_EQ(labels[6], L"7.z.avi");
    EXPECT_EQ(BarPosition(form), 100);
}

TEST_F(PlaylistSearchTest, MissingFolderEndsAtOnceWithAFullBar) {
    Tfrmmain& form = MakeForm();
    form.SearchMediaFiles(In(L"nowhere"));
    EXPECT_TRUE(Labels(form).empty());
    EXPECT_EQ(BarPosition(form), 100);
}

TEST_F(PlaylistSearchTest, CreationAssociatesTheThreeFileTypesWithTheProgram) {
    WriteString(HKEY_CLASSES_ROOT, L".mp3", nullptr, L"SomeOtherPlayer");
    MakeForm();
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring program = exe;

    struct Expected {
        const wchar_t* extension;
        const wchar_t* type;
        const wchar_t* description;
    };
    for (const Expected& e : {Expected{L".swf", L"FlashFile", L"Flash文件"}, Expected{L".mp3", L"Mp3File", L"Mp3文件"},
                              Expected{L".lis", L"FlashFileList", L"Flash文件列表"}}) {
        std::wstring type = e.type;
        EXPECT_EQ(ReadDefault(HKEY_CLASSES_ROOT, e.extension), type);
        EXPECT_EQ(ReadDefault(HKEY_CLASSES_ROOT, type), e.description);
        EXPECT_EQ(ReadDefault(HKEY_CLASSES_ROOT, type + L"\\DefaultIcon"), program);
        EXPECT_EQ(ReadDefault(HKEY_CLASSES_ROOT, type + L"\\shell\\open\\command"), program + L" \"%1\"");
    }
    EXPECT_TRUE(app_test::CapturedErrors().empty());
}

TEST_F(PlaylistSearchTest, ChosenFolderIsSearchedInsideTheZOrderBracket) {
    Tfrmmain& form = MakeForm();
    std::wstring root = root_.wstring();
    auto answer_browser = [&](WPARAM button) {
        return [&, button] {
            HWND dialog = FindThreadWindow(L"#32770");
            if (!dialog) return false;
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(root.c_str()));
            PostMessageW(dialog, WM_COMMAND, button, 0);
            return true;
        };
    };
    const std::vector<std::string> bracket = {"not topmost", "topmost", "not topmost"};

    trace_.clear();
    {
        ModalActor cancel(answer_browser(IDCANCEL));
        form.ClickMenuItem(L"N39");
        EXPECT_TRUE(cancel.Done());
    }
    EXPECT_TRUE(Labels(form).empty());
    EXPECT_EQ(trace_, bracket);

    trace_.clear();
    {
        ModalActor choose(answer_browser(IDOK));
        form.ClickMenuItem(L"N39");
        EXPECT_TRUE(choose.Done());
    }
    std::vector<std::wstring> labels = Labels(form);
    ASSERT_EQ(labels.size(), 5u);
    EXPECT_EQ(labels.front(), L"1.w.wav");
    EXPECT_EQ(labels.back(), L"5.z.avi");
    EXPECT_FALSE(PanelVisible(form));
    // The window is shown for the search, between the two z-order steps.
    EXPECT_TRUE(IsWindowVisible(form.Window()));
    ASSERT_GE(trace_.size(), 3u);
    EXPECT_EQ(trace_.front(), "not topmost");
    EXPECT_EQ(std::vector<std::string>(trace_.end() - 2, trace_.end()),
              (std::vector<std::string>{"topmost", "not topmost"}));
}
