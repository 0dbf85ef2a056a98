// The main window's converter and picture commands: what they write, what
// they ask, and when they do nothing.
#include "sourcefm_test_support.h"

#include "flash/flash_control_win.h"

#include <cstdlib>
#include <cwchar>

using tools_test::ReadAll;
using tools_test::ToolsTest;
using tools_test::WriteAll;
namespace fs = std::filesystem;

namespace {

std::wstring ReadDesktopValue(const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, L"control panel\\desktop", name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

uint32_t U32At(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

// A 100 × 100 pixel movie of one frame whose background is kMovieColor.
const std::string kColouredMovie(
    "\x46\x57\x53\x06\x1C\x00\x00\x00\x60\x00\x3E\x80\x00\x3E\x80\x00\x0C\x01\x00\x43\x02\x12"
    "\x9A\x56\x40\x00\x00\x00",
    28);
constexpr COLORREF kMovieColor = RGB(0x12, 0x9A, 0x56);

// A program started on its own, ended with the test.
class StartedProgram {
public:
    explicit StartedProgram(const fs::path& exe) {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring command = L"\"" + exe.wstring() + L"\"";
        started_ = CreateProcessW(exe.wstring().c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  exe.parent_path().wstring().c_str(), &startup, &process_) != FALSE;
    }
    ~StartedProgram() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    bool Started() const { return started_; }

    // A visible top-level window of the program with the class, within ten seconds.
    HWND WaitForWindow(const wchar_t* window_class) const {
        for (int tries = 0; tries < 100; ++tries) {
            Found found{process_.dwProcessId, window_class, nullptr};
            EnumWindows(&StartedProgram::Match, reinterpret_cast<LPARAM>(&found));
            if (found.window) return found.window;
            Sleep(100);
        }
        return nullptr;
    }

private:
    struct Found {
        DWORD process;
        const wchar_t* window_class;
        HWND window;
    };
    static BOOL CALLBACK Match(HWND window, LPARAM data) {
        auto* found = reinterpret_cast<Found*>(data);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (process != found->process || !IsWindowVisible(window) || wcscmp(name, found->window_class) != 0)
            return TRUE;
        found->window = window;
        return FALSE;
    }
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// How many of the pixels of a window's client area, as the screen shows it,
// are of the colour (each channel within 8).
double ShareOfColour(HWND window, COLORREF color) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    HDC screen = GetDC(nullptr);
    int hits = 0, total = 0;
    for (int y = client.top + 2; y < client.bottom - 2; y += 4)
        for (int x = client.left + 2; x < client.right - 2; x += 4) {
            COLORREF pixel = GetPixel(screen, x, y);
            ++total;
            if (std::abs(GetRValue(pixel) - GetRValue(color)) <= 8 && std::abs(GetGValue(pixel) - GetGValue(color)) <= 8 &&
                std::abs(GetBValue(pixel) - GetBValue(color)) <= 8)
                ++hits;
        }
    ReleaseDC(nullptr, screen);
    return total ? double(hits) / total : 0;
}

}  // namespace

TEST_F(ToolsTest, ConverterDoesNothingWithoutAFlashMovieAndStopsWithoutASelection) {
    Tfrmmain& form = MakeForm();
    fs::path projector = folder_ / "Flash.sys";
    form.ClickMenuItem(L"swfToExe1");   // empty playlist
    EXPECT_FALSE(fs::exists(projector));

    AddEntry(form, (folder_ / "m.swf").wstring());
    form.MediaMode = true;
    form.ClickMenuItem(L"swfToExe1");
    EXPECT_FALSE(fs::exists(projector));

    form.MediaMode = false;
    WriteAll(projector, "stale");
    form.ClickMenuItem(L"swfToExe1");   // no entry selected
    EXPECT_GT(fs::file_size(projector), 5u);
    EXPECT_TRUE(dialogs_.empty());
    EXPECT_TRUE(app_test::CapturedErrors().empty());
}

TEST_F(ToolsTest, ConverterJoinsProjectorMovieAndTrailer) {
    Tfrmmain& form = MakeForm();
    form.SetMenuChecked(L"N18", true);
    std::string movie = "FWS" + std::string(9997, '\x07');
    WriteAll(folder_ / "Intro.swf", movie);
    AddEntry(form, L"C:\\other\\first.swf");
    AddEntry(form, L" " + (folder_ / "Intro.swf").wstring() + L" ");
    SelectEntry(form, 1);
    fs::path output = folder_ / "Intro.exe";
    dialog_answer_ = output.wstring();
    trace_.clear();
    form.ClickMenuItem(L"swfToExe1");

    ASSERT_TRUE(app_test::CapturedErrors().empty());
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].filter, L"*.exe|*.exe");
    EXPECT_EQ(dialogs_[0].default_extension, L"exe");
    EXPECT_EQ(dialogs_[0].title, L"");
    EXPECT_EQ(dialogs_[0].file_name, L"Intro.exe");
    EXPECT_TRUE(questions_.empty());

    std::string projector = ReadAll(folder_ / "Flash.sys");
    std::string built = ReadAll(output);
    ASSERT_EQ(built.size(), projector.size() + movie.size() + 8);
    EXPECT_EQ(built.substr(0, projector.size()), projector);
    EXPECT_EQ(built.substr(0, 2), "MZ");
    EXPECT_EQ(built.substr(projector.size(), movie.size()), movie);
    EXPECT_EQ(built.substr(built.size() - 8), std::string("\x56\x34\x12\xFA\x10\x27\x00\x00", 8));
    EXPECT_EQ(U32At(built, built.size() - 4), movie.size());
    EXPECT_EQ(trace_, (std::vector<std::string>{"not topmost", "topmost", "topmost"}));
}

TEST_F(ToolsTest, ConverterAsksBeforeReplacingAndReportsFailures) {
    Tfrmmain& form = MakeForm();
    WriteAll(folder_ / "m.swf", "FWS-movie");
    AddEntry(form, (folder_ / "m.swf").wstring());
    SelectEntry(form, 0);
    fs::path output = folder_ / "out.exe";
    WriteAll(output, "keep me");
    dialog_answer_ = output.wstring();

    answer_yes_ = false;
    form.ClickMenuItem(L"swfToExe1");
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].first, L"文件已存在是否替换？");
    EXPECT_EQ(questions_[0].second, L"信息提示");
    EXPECT_EQ(ReadAll(output), "keep me");

    answer_yes_ = true;
    form.ClickMenuItem(L"swfToExe1");
    std::string built = ReadAll(output);
    EXPECT_EQ(built.substr(built.size() - 17), std::string("FWS-movie\x56\x34\x12\xFA\x09\x00\x00\x00", 17));

    // Cancelled: nothing is written.
    dialog_answer_.reset();
    form.ClickMenuItem(L"swfToExe1");
    EXPECT_EQ(ReadAll(output), built);

    // A movie that is gone: the error box, and the output holds the projector only.
    fs::remove(folder_ / "m.swf");
    dialog_answer_ = (folder_ / "fresh.exe").wstring();
    form.ClickMenuItem(L"swfToExe1");
    EXPECT_EQ(app_test::CapturedErrors().size(), 1u);
    EXPECT_EQ(fs::file_size(folder_ / "fresh.exe"), fs::file_size(folder_ / "Flash.sys"));
}

TEST_F(ToolsTest, CaptureSavesTheFlashAreaAndRestartsTheMovie) {
    Tfrmmain& form = MakeForm();
    FlashControl* flash = form.flash();
    ASSERT_TRUE(flash);
    flash->Stop();   // a paused movie runs again afterwards
    fs::path file = folder_ / "shot.bmp";
    dialog_answer_ = file.wstring();
    form.ClickMenuItem(L"N8");

    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].title, L"保存图片");
    EXPECT_EQ(dialogs_[0].filter, L"*.bmp|*.bmp");
    EXPECT_EQ(dialogs_[0].default_extension, L"bmp");
    EXPECT_EQ(dialogs_[0].file_name, L"corvella.bmp");
    EXPECT_TRUE(flash->IsPlaying());
    std::string bmp = ReadAll(file);
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(U32At(bmp, 18), 547u);
    EXPECT_EQ(U32At(bmp, 22), 399u);
    EXPECT_EQ(U32At(bmp, 2), bmp.size());

    // The picture is what the control draws: the same bytes as its own print.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP own = CreateCompatibleBitmap(screen, 547, 399);
    HGDIOBJ old = SelectObject(dc, own);
    flash->Stop();
    SendMessageW(flash->Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF centre = GetPixel(dc, 273, 199);
    SelectObject(dc, old);
    DeleteObject(own);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    const int bits = bmp[28];
    const size_t stride = ((547 * static_cast<size_t>(bits) + 31) / 32) * 4;
    const size_t at = U32At(bmp, 10) + (398 - 199) * stride + 273 * static_cast<size_t>(bits / 8);
    EXPECT_EQ(RGB(static_cast<unsigned char>(bmp[at + 2]), static_cast<unsigned char>(bmp[at + 1]),
                  static_cast<unsigned char>(bmp[at])),
              centre);
}

TEST_F(ToolsTest, CaptureKeepsAnExistingFileUnlessReplacing) {
    Tfrmmain& form = MakeForm();
    fs::path file = folder_ / "shot.bmp";
    WriteAll(file, "old picture");
    dialog_answer_ = file.wstring();
    answer_yes_ = false;
    form.ClickMenuItem(L"N8");
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].first, L"文件已存在是否替换？");
    EXPECT_EQ(ReadAll(file), "old picture");
    EXPECT_TRUE(form.flash()->IsPlaying());

    answer_yes_ = true;
    form.ClickMenuItem(L"N8");
    EXPECT_EQ(ReadAll(file).substr(0, 2), "BM");

    // A folder that does not exist: the error box, and the movie stays stopped.
    dialog_answer_ = (folder_ / "none" / "x.bmp").wstring();
    form.ClickMenuItem(L"N8");
    EXPECT_EQ(app_test::CapturedErrors().size(), 1u);
    EXPECT_FALSE(form.flash()->IsPlaying());
}

TEST_F(ToolsTest, WallpaperCommandsWriteTheValuesOfTheirStyle) {
    Tfrmmain& form = MakeForm();
    wchar_t windows[256] = {};
    GetWindowsDirectoryW(windows, 256);
    const struct {
        const wchar_t* command;
        const wchar_t* tile;
        const wchar_t* style;
    } styles[] = {{L"N9", L"0", L"0"}, {L"N10", L"1", L"0"}, {L"N11", L"0", L"2"}};
    std::vector<std::wstring> files;
    for (const auto& s : styles) {
        form.ClickMenuItem(s.command);
        std::wstring file = ReadDesktopValue(L"wallpaper");
        EXPECT_EQ(file.rfind(std::wstring(windows) + L"\\", 0), 0u) << s.command;
        EXPECT_EQ(file.size(), wcslen(windows) + 1 + 15 + 4) << s.command;
        EXPECT_EQ(ReadDesktopValue(L"Tilewallpaper"), s.tile) << s.command;
        EXPECT_EQ(ReadDesktopValue(L"WallpaperStyle"), s.style) << s.command;
        std::string bmp = ReadAll(file);
        ASSERT_GT(bmp.size(), 54u);
        EXPECT_EQ(U32At(bmp, 18), 547u);
        EXPECT_EQ(U32At(bmp, 22), 399u);
        files.push_back(file);
    }
    EXPECT_TRUE(app_test::CapturedErrors().empty());
    for (const std::wstring& file : files) fs::remove(file);
}

// The executable the converter writes is a player: started on its own it
// shows the movie in its window; the projector without a movie says so.
TEST_F(ToolsTest, ConvertedExecutablePlaysItsMovieAndABareProjectorSaysItHasNone) {
    Tfrmmain& form = MakeForm();
    WriteAll(folder_ / "green.swf", kColouredMovie);
    AddEntry(form, (folder_ / "green.swf").wstring());
    SelectEntry(form, 0);
    fs::path output = folder_ / "green.exe";
    dialog_answer_ = output.wstring();
    form.ClickMenuItem(L"swfToExe1");
    ASSERT_TRUE(app_test::CapturedErrors().empty());
    ASSERT_TRUE(fs::exists(output));

    {
        StartedProgram player(output);
        ASSERT_TRUE(player.Started());
        HWND window = player.WaitForWindow(L"CorvellaProjector");
        ASSERT_NE(window, nullptr);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_NEAR(client.right, 100, 8);   // a frame is not narrower than its caption buttons
        EXPECT_EQ(client.bottom, 100);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        double share = 0;
        for (int tries = 0; tries < 30 && share < 0.9; ++tries) {
            Sleep(100);
            share = ShareOfColour(window, kMovieColor);
        }
        EXPECT_GE(share, 0.9);
    }
    {
        fs::copy_file(folder_ / "Flash.sys", folder_ / "bare.exe");
        StartedProgram bare(folder_ / "bare.exe");
        ASSERT_TRUE(bare.Started());
        HWND box = bare.WaitForWindow(L"#32770");
        ASSERT_NE(box, nullptr);
        wchar_t text[128] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 128);
        EXPECT_STREQ(text, L"No movie is attached to this player.");
    }
}
