// Creation, showing and closing of the main window: the order of the
// start-up steps, the start-up movie, the information memo, the settings
// read at show time and what a failing step leaves behind.
#include "app_test_support.h"

#include "app/application_win.h"
#include "app/startup_movie_win.h"
#include "flash/flash_control_win.h"

#include <fstream>
#include <stdexcept>

using app_test::CapturedErrors;
using app_test::MainWindowTest;

namespace {

const std::vector<std::string> kCreationSteps = {
    "program folder", "apply volume bar",     "open configuration",  "title text",
    "message hook",   "load skin",            "volume level",        "write start-up movie",
    "play start-up movie", "write associations", "take command line"};

const std::vector<std::string> kShowSteps = {"caption", "information memo", "read playback settings"};

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string ToAnsi(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring FromAnsi(const std::string& bytes) {
    int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

}  // namespace

TEST_F(MainWindowTest, CreationAndShowRunTheirStepsInOrder) {
    Tfrmmain& form = MakeForm();
    EXPECT_EQ(trace_, kCreationSteps);
    EXPECT_TRUE(CapturedErrors().empty());
    EXPECT_EQ(form.ProgramFolder, folder_.wstring());
    EXPECT_EQ(form.TitleText, L"Corvella3.0  ");
    EXPECT_EQ(form.VolumeLevel, 100);
    ASSERT_TRUE(form.Config);
    EXPECT_EQ(form.Config->Path(), std::filesystem::path(folder_.wstring() + L"\\config.ini"));
    EXPECT_FALSE(form.PlayAtShow);

    trace_.clear();
    form.Show();
    EXPECT_EQ(trace_, kShowSteps);
    EXPECT_TRUE(IsWindowVisible(form.Window()));
    EXPECT_EQ(WindowText(form.Window()), L"Corvella3.0 ");

    // Shown again: the show steps run again.
    ShowWindow(form.Window(), SW_HIDE);
    trace_.clear();
    form.Show();
    EXPECT_EQ(trace_, kShowSteps);
}

TEST_F(MainWindowTest, StaleStartupMovieIsReplacedAndPlayed) {
    std::filesystem::path movie = folder_ / "corvella.SWF";
    WriteFile(movie, std::string(20000, 'x'));
    Tfrmmain& form = MakeForm();

    std::vector<uint8_t> resource = LoadStartupMovieResource();
    std::string written = ReadFile(movie);
    ASSERT_EQ(written.size(), resource.size());
    EXPECT_TRUE(std::equal(written.begin(), written.end(), resource.begin(),
                           [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }));
    EXPECT_EQ(written.substr(0, 3), "FWS");

    ASSERT_NE(form.flash(), nullptr);
    EXPECT_EQ(form.flash()->Movie(), folder_.wstring() + L"\\corvella.SWF");
    EXPECT_GT(form.flash()->TotalFrames(), 0);
}

TEST_F(MainWindowTest, UnwritableProgramFolderReportsAndSkipsTheLaterSteps) {
    std::wstring folder = (folder_ / "missing" / "deeper").wstring();
    Tfrmmain& form = MakeForm(folder);

    ASSERT_EQ(CapturedErrors().size(), 1u);
    EXPECT_NE(CapturedErrors()[0].find(L"corvella.SWF"), std::wstring::npos);
    std::vector<std::string> expected(kCreationSteps.begin(), kCreationSteps.begin() + 8);
    EXPECT_EQ(trace_, expected);
    ASSERT_NE(form.flash(), nullptr);
    EXPECT_EQ(form.flash()->Movie(), L"");
    // The steps before the failure did their work.
    EXPECT_EQ(form.TitleText, L"Corvella3.0  ");
    EXPECT_EQ(form.VolumeLevel, 100);

    form.Show();
    EXPECT_TRUE(IsWindowVisible(form.Window()));
    EXPECT_EQ(WindowText(form.Window()), L"Corvella3.0 ");
    EXPECT_EQ(CapturedErrors().size(), 1u);
}

TEST_F(MainWindowTest, InformationMemoShowsTheReadmeInTheAnsiCodePage) {
    std::wstring text = L"Corvella3.0 播放器\n第二行\r\n";
    std::string bytes = ToAnsi(text);
    WriteFile(folder_ / "readme.txt", bytes);
    Tfrmmain& form = MakeForm();
    form.Show();
    std::wstring expected = FromAnsi(bytes);
    expected = expected.substr(0, expected.find(L'\n')) + L"\r\n" + expected.substr(expected.find(L'\n') + 1);
    EXPECT_EQ(form.ControlText(L"Memo3"), expected);
    if (GetACP() == 936) {
        EXPECT_EQ(form.ControlText(L"Memo3"), L"Corvella3.0 播放器\r\n第二行\r\n");
    }
}

TEST_F(MainWindowTest, MissingReadmeLeavesTheMemoEmptySilently) {
    Tfrmmain& form = MakeForm();
    form.Show();
    EXPECT_EQ(form.ControlText(L"Memo3"), L"");
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(MainWindowTest, PlaybackSettingsAreReadWhenShown) {
    WriteFile(folder_ / "config.ini", "[mydata]\r\nAutoSkip=1\r\nmySkipzs=5\r\noverCurrentFileZS=0x10\r\n");
    Tfrmmain& form = MakeForm();
    EXPECT_FALSE(form.SkipPlay);
    form.Show();
    EXPECT_TRUE(form.SkipPlay);
    EXPECT_TRUE(form.ControlChecked(L"CheckBox3"));
    EXPECT_EQ(form.NearEndFrames, 5);
    EXPECT_EQ(form.StepFrames, 16);
}

TEST_F(MainWindowTest, MissingConfigurationGivesTheDefaults) {
    Tfrmmain& form = MakeForm();
    form.Show();
    EXPECT_FALSE(form.SkipPlay);
    EXPECT_FALSE(form.ControlChecked(L"CheckBox3"));
    EXPECT_EQ(form.NearEndFrames, 8);
    EXPECT_EQ(form.StepFrames, 8);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "config.ini"));
}

TEST_F(MainWindowTest, ClosingRunsFormCloseAndDestroysTheWindow) {
    Tfrmmain& form = MakeForm();
    HWND window = form.Window();
    trace_.clear();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(trace_, std::vector<std::string>{"close"});
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form.Window(), nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindowTest, ErrorBoxShowsTheErrorsText) {
    ShowErrorBox(std::runtime_error("\xE6\x97\xA0\xE6\xB3\x95 corvella.SWF"));
    ASSERT_EQ(CapturedErrors().size(), 1u);
    EXPECT_EQ(CapturedErrors()[0], L"无法 corvella.SWF");
}

namespace {

int g_delivered = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP + 7) ++g_delivered;
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

TEST(MessageLoop, FilterSeesEveryMessageBeforeDispatchAndMayEndIt) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CorvellaLoopProbe";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    std::vector<WPARAM> seen;
    SetMessageFilter([&](MSG& msg, bool& handled) {
        if (msg.message != WM_APP + 7) return;
        seen.push_back(msg.wParam);
        handled = msg.wParam == 2;
    });
    g_delivered = 0;
    PostMessageW(window, WM_APP + 7, 1, 0);
    PostMessageW(window, WM_APP + 7, 2, 0);
    PostMessageW(window, WM_APP + 7, 3, 0);
    ProcessPendingMessages();
    SetMessageFilter({});

    EXPECT_EQ(seen, (std::vector<WPARAM>{1, 2, 3}));
    EXPECT_EQ(g_delivered, 2);   // the handled one never reached the window
    DestroyWindow(window);
}

TEST_F(MainWindowTest, ExitWritesTheAssociationsAgainThenCloses) {
    Tfrmmain& form = MakeForm();
    form.Show();
    HWND window = form.Window();
    trace_.clear();
    form.ClickMenuItem(L"N28");
    EXPECT_EQ(trace_, (std::vector<std::string>{"write associations", "close"}));
    EXPECT_FALSE(IsWindow(window));
}
