// The Flash control in a real window: loading, the frame clock, the play
// state operations, painting and the window behaviour the main window uses.
#include "flash/flash_control_win.h"

#include "flash/swf_writer.h"
#include "media_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace {

std::wstring WriteMovie(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    return media_test::WriteFile(std::filesystem::temp_directory_path() / name, bytes);
}

void Pump(DWORD milliseconds) {
    ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

class FlashControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = CreateWindowExW(0, L"STATIC", L"flash host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        control_ = FlashControl::Create(parent_, 7, 0, 0, 200, 100);
        ASSERT_NE(control_, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND parent_ = nullptr;
    FlashControl* control_ = nullptr;
};

TEST_F(FlashControlTest, IsAFocusableChildWindowOfItsClass) {
    HWND window = control_->Window();
    EXPECT_EQ(GetParent(window), parent_);
    EXPECT_EQ(GetDlgCtrlID(window), 7);
    EXPECT_EQ(FlashControl::FromWindow(window), control_);
    EXPECT_EQ(FlashControl::FromWindow(parent_), nullptr);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(name, L"CorvellaFlash");

    LRESULT code = SendMessageW(window, WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(code & DLGC_WANTARROWS);
    EXPECT_TRUE(code & DLGC_WANTCHARS);
    SetForegroundWindow(parent_);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetFocus(), window);

    EnableWindow(window, FALSE);
    EXPECT_FALSE(IsWindowEnabled(window));
    ShowWindow(window, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(FlashControlTest, LoadsAndPlaysFromTheFirstFrame) {
    std::wstring path = WriteMovie(L"corvella_flash_ten.swf", media_test::SquareMovie(10, 30));
    control_->SetMovie(path);
    EXPECT_EQ(control_->Movie(), path);
    EXPECT_EQ(control_->TotalFrames(), 10);
    EXPECT_EQ(control_->CurrentFrame(), 0);
    EXPECT_TRUE(control_->IsPlaying());
    Pump(400);
    EXPECT_GT(control_->CurrentFrame(), 0);
    EXPECT_EQ(control_->FrameNum(), control_->CurrentFrame());
}

TEST_F(FlashControlTest, StopPlayAndGotoKeepThePlayState) {
    control_->SetMovie(WriteMovie(L"corvella_flash_goto.swf", media_test::SquareMovie(20, 30)));
    control_->Stop();
    int frame = control_->CurrentFrame();
    Pump(200);
    EXPECT_EQ(control_->CurrentFrame(), frame);
    EXPECT_FALSE(control_->IsPlaying());

    control_->GotoFrame(12);
    EXPECT_EQ(control_->CurrentFrame(), 12);
    EXPECT_FALSE(control_->IsPlaying());
    control_->SetFrameNum(3);
    EXPECT_EQ(control_->FrameNum(), 3);

    control_->Play();
    control_->GotoFrame(8);
    EXPECT_TRUE(control_->IsPlaying());
    EXPECT_GE(control_->CurrentFrame(), 8);
}

TEST_F(FlashControlTest, MovieThatStopsItselfIsNotPlaying) {
    control_->SetMovie(WriteMovie(L"corvella_flash_stop.swf", media_test::SquareMovie(10, 60, 2)));
    Pump(400);
    EXPECT_EQ(control_->CurrentFrame(), 2);
    EXPECT_FALSE(control_->IsPlaying());
}

TEST_F(FlashControlTest, MissingMovieLeavesTheControlEmpty) {
    control_->SetMovie(WriteMovie(L"corvella_flash_first.swf", media_test::SquareMovie(5, 12)));
    ASSERT_EQ(control_->TotalFrames(), 5);
    control_->SetMovie(L"C:\\no such folder\\none.swf");
    EXPECT_EQ(control_->TotalFrames(), 0);
    EXPECT_FALSE(control_->IsPlaying());
    control_->GotoFrame(3);
    control_->Play();
    EXPECT_EQ(control_->CurrentFrame(), 0);
}

TEST_F(FlashControlTest, QualityAcceptsTheThreeLevelsOnly) {
    EXPECT_EQ(control_->Quality(), 1);
    control_->SetQuality(0);
    EXPECT_EQ(control_->Quality(), 0);
    control_->SetQuality(2);
    EXPECT_EQ(control_->Quality(), 2);
    EXPECT_THROW(control_->SetQuality(3), std::runtime_error);
}

TEST_F(FlashControlTest, PaintsTheStageAndZooms) {
    control_->SetMovie(WriteMovie(L"corvella_flash_paint.swf", media_test::SquareMovie(1, 12)));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 100);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto pixel = [&](int x, int y) {
        SendMessageW(control_->Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        return GetPixel(dc, x, y);
    };
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    EXPECT_EQ(pixel(75, 40), red);
    EXPECT_EQ(pixel(10, 10), blue);
    EXPECT_EQ(pixel(150, 50), blue);

    // Half the stage around the centre, twice the size: the block now
    // spans (0, 0) to (100, 50).
    control_->Zoom(50);
    EXPECT_EQ(pixel(10, 10), red);
    EXPECT_EQ(pixel(90, 40), red);
    EXPECT_EQ(pixel(110, 40), blue);
    EXPECT_EQ(pixel(90, 60), blue);
    control_->Zoom(200);
    EXPECT_EQ(pixel(10, 10), blue);
    EXPECT_EQ(pixel(75, 40), red);
    control_->Zoom(50);
    control_->Zoom(50);
    control_->Zoom(0);
    EXPECT_EQ(pixel(10, 10), blue);
    EXPECT_EQ(pixel(75, 40), red);

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

// An 8 x 8 red JPEG image.
const uint8_t kRedJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0B, 0x08, 0x09, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x06, 0x08,
    0x0B, 0x0C, 0x0B, 0x0A, 0x0C, 0x09, 0x0A, 0x0A, 0x0A, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0A, 0x07, 0x06, 0x07, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0xFF, 0xC0,
    0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x08, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0xFF, 0xC4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xC4, 0x00,
    0x15, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x08, 0x09, 0xFF, 0xC4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01,
    0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3F, 0x00, 0x17, 0x8A, 0x6B, 0xF8, 0xFF, 0xD9
};

TEST_F(FlashControlTest, JpegBitmapsAreDecodedByThePlatform) {
    flash::SwfWriter movie(8, 200, 100, 12);
    movie.SetBackgroundColor({0, 0, 255, 255});
    std::vector<uint8_t> bits(sizeof kRedJpeg + 2, 0);
    bits[0] = 1;  // character id
    std::copy(std::begin(kRedJpeg), std::end(kRedJpeg), bits.begin() + 2);
    movie.Tag(21, bits);  // DefineBitsJPEG2
    flash::ShapeBuilder shape;
    flash::Matrix scale;
    scale.a = scale.d = 20;
    shape.Rectangle(0, 0, 160, 160, shape.AddBitmapFill(1, scale, false, false));
    movie.DefineShape(2, shape);
    flash::PlaceArgs place;
    place.character = 2;
    movie.PlaceObject(place);
    movie.ShowFrame();
    control_->SetMovie(WriteMovie(L"corvella_flash_jpeg.swf", movie.Finish()));
    ASSERT_EQ(control_->TotalFrames(), 1);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 100);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(control_->Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF inside = GetPixel(dc, 4, 4);
    EXPECT_GT(GetRValue(inside), 240);
    EXPECT_LT(GetBValue(inside), 16);
    EXPECT_EQ(GetPixel(dc, 50, 50), RGB(0, 0, 255));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace
