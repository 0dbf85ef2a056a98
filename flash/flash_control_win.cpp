#include "flash/flash_control_win.h"

#include "flash/device_fonts_win.h"

#include "swf/jpeg_decoder_win.h"
#include "flash/movie_loader.h"
#include "flash/player.h"
#include "flash/renderer.h"
#include "flash/sound_engine.h"
#include "flash/sound_output.h"
#include "flash/sound_track.h"
#include "flash/wave_output_win.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

constexpr UINT_PTR kFrameTimer = 1;

}  // namespace

struct FlashControl::State {
    flash::Player player;
    // The sound: the engine follows the player, the output (when the movie
    // has sound and a device is there) pulls from the mixer on its thread.
    flash::SoundMixer mixer;
    flash::SoundEngine sound{player, mixer};
    std::unique_ptr<flash::SoundOutput> output;
    bool output_tried = false;  // the device was asked for since the movie opened
    std::vector<int16_t> unheard;   // what is mixed while no device plays it
    flash::View view;
    flash::Renderer renderer;
    flash::Canvas canvas;
    std::wstring movie;
    int quality = 1;
    bool stale = true;          // the canvas no longer shows the player
    ULONGLONG last_tick = 0;

    // Opens the wave-out output on the mixer if it is not open; without a
    // device the movie stays silent.
    void OpenOutput() {
        output_tried = true;
        if (output) return;
        output = flash::MakeSoundOutput();
        if (output && !output->Start(mixer)) output.reset();
    }

    // Without a device the sounds still run their course unheard, so that
    // they end, and scripts see them move and complete.
    void MixUnheard(double milliseconds) {
        size_t frames = static_cast<size_t>(std::clamp(milliseconds, 0.0, 1000.0) * flash::SoundMixer::kRate / 1000);
        if (frames == 0 || mixer.ActiveVoices() == 0) return;
        unheard.resize(frames * 2);
        mixer.Mix(unheard.data(), frames);
    }
};

namespace {

flash::Quality EngineQuality(int quality) {
    switch (quality) {
    case 0: return flash::Quality::Low;
    case 2: return flash::Quality::Medium;
    default: return flash::Quality::High;
    }
}

}  // namespace

FlashControl::FlashControl(HWND window) : window_(window), state_(std::make_unique<State>()) {}

FlashControl::~FlashControl() {
    if (window_) {
        HWND window = window_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        DestroyWindow(window);
    }
}

FlashControl* FlashControl::Create(HWND parent, int id, int x, int y, int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw std::runtime_error("cannot register the Flash control's window class");
        swf::InstallWicJpegDecoder();
        flash::InstallWindowsSound();
        flash::InstallWindowsFonts();
        registered = true;
    }
    HWND window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                  x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!window) throw std::runtime_error("cannot create the Flash control");
    return FromWindow(window);
}

FlashControl* FlashControl::FromWindow(HWND window) {
    if (!window) return nullptr;
    wchar_t name[64] = {};
    if (!GetClassNameW(window, name, 64) || lstrcmpiW(name, kClassName) != 0) return nullptr;
    return reinterpret_cast<FlashControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void FlashControl::SetMovie(const std::wstring& path) {
    State& s = *state_;
    s.movie = path;
    s.view.Reset();
    KillTimer(window_, kFrameTimer);
    try {
        s.player.SetBaseFolder(std::filesystem::path(path).parent_path());
        s.player.Load(std::make_shared<flash::Movie>(flash::LoadMovieFile(std::filesystem::path(path))));
    } catch (const std::exception&) {
        // A movie that cannot be loaded leaves the control empty.
        s.player.Unload();
    }
    s.output_tried = false;
    if (s.player.HasMovie() && flash::HasSound(*s.player.movie())) {
        s.OpenOutput();
    } else if (s.output) {
        s.output->Stop();
        s.output.reset();
    }
    if (s.player.HasMovie()) {
        UINT interval = static_cast<UINT>(std::clamp(1000.0 / s.player.FrameRate(), 10.0, 1000.0));
        SetTimer(window_, kFrameTimer, interval, nullptr);
        s.last_tick = GetTickCount64();
    }
    s.stale = true;
    InvalidateRect(window_, nullptr, FALSE);
}

std::wstring FlashControl::Movie() const { return state_->movie; }

int FlashControl::TotalFrames() const { return state_->player.TotalFrames(); }

int FlashControl::FrameNum() const { return state_->player.CurrentFrame(); }

void FlashControl::SetFrameNum(int frame) { GotoFrame(frame); }

int FlashControl::Quality() const { return state_->quality; }

void FlashControl::SetQuality(int quality) {
    if (quality < 0 || quality > 2) throw std::runtime_error("the quality must be 0 (low), 1 (high) or 2 (medium)");
    state_->quality = quality;
    state_->stale = true;
    InvalidateRect(window_, nullptr, FALSE);
}

void FlashControl::Zoom(int factor) {
    State& s = *state_;
    if (!s.player.HasMovie()) return;
    s.view.Zoom(*s.player.movie(), factor);
    s.stale = true;
    InvalidateRect(window_, nullptr, FALSE);
}

void FlashControl::Play() { state_->player.Play(); }

void FlashControl::Stop() { state_->player.Stop(); }

void FlashControl::GotoFrame(int frame) {
    State& s = *state_;
    if (!s.player.HasMovie()) return;
    bool playing = s.player.IsPlaying();
    s.player.GotoFrame(frame);
    // The control's own GotoFrame keeps the play state, even where the
    // target frame's actions would change it.
    if (playing) s.player.Play(); else s.player.Stop();
    s.stale = true;
    InvalidateRect(window_, nullptr, FALSE);
}

int FlashControl::CurrentFrame() const { return state_->player.CurrentFrame(); }

bool FlashControl::IsPlaying() const { return state_->player.IsPlaying(); }

namespace {

// Draws the canvas at the origin of the device context in one call.
void Present(HDC dc, const flash::Canvas& canvas) {
    if (canvas.width <= 0 || canvas.height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = canvas.width;
    info.bmiHeader.biHeight = -canvas.height;  // rows top down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(canvas.width), static_cast<DWORD>(canvas.height), 0, 0, 0,
                      static_cast<UINT>(canvas.height), canvas.pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

void FlashControl::Paint(HDC dc) {
    State& s = *state_;
    RECT client{};
    GetClientRect(window_, &client);
    int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    if (s.canvas.width != width || s.canvas.height != height) {
        s.canvas.Resize(width, height);
        s.stale = true;
    }
    if (s.stale) {
        if (s.player.HasMovie())
            s.renderer.Render(s.player, s.view, EngineQuality(s.quality), s.canvas);
        else
            s.canvas.Fill(flash::Rgba{0, 0, 0, 255});
        s.stale = false;
    }
    Present(dc, s.canvas);
}

namespace {

// The character a key makes with the keyboard's present state; 0 for none.
int KeyCharacter(WPARAM key, LPARAM lparam) {
    BYTE keys[256] = {};
    if (!GetKeyboardState(keys)) return 0;
    wchar_t text[4] = {};
    UINT scan = (static_cast<UINT>(lparam) >> 16) & 0xFF;
    int n = ToUnicode(static_cast<UINT>(key), scan, keys, text, 4, 0);
    return n == 1 && text[0] < 0x10000 ? text[0] : 0;
}

}  // namespace

// Pointer positions arrive in client pixels and reach the player in stage
// twips, through the inverse of what the view shows.
void FlashControl::Mouse(UINT message, LPARAM lparam) {
    State& s = *state_;
    if (!s.player.HasMovie()) return;
    RECT client{};
    GetClientRect(window_, &client);
    flash::Matrix to_client = s.view.StageToTarget(*s.player.movie(), client.right, client.bottom);
    auto to_stage = flash::Inverse(to_client);
    if (!to_stage) return;
    double x = GET_X_LPARAM(lparam) + 0.5, y = GET_Y_LPARAM(lparam) + 0.5;
    try {
        s.player.MouseMove(to_stage->X(x, y), to_stage->Y(x, y));
        if (message == WM_LBUTTONDOWN) s.player.MouseDown();
        if (message == WM_LBUTTONUP) s.player.MouseUp();
    } catch (const std::exception&) {
        // Input a movie cannot take leaves it as it was.
    }
    s.stale = true;
    InvalidateRect(window_, nullptr, FALSE);
}

void FlashControl::Key(UINT message, WPARAM key, LPARAM lparam) {
    State& s = *state_;
    if (!s.player.HasMovie()) return;
    int code = static_cast<int>(key & 0xFF);
    try {
        if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
            s.player.KeyDown(code, KeyCharacter(key, lparam));
        else
            s.player.KeyUp(code, KeyCharacter(key, lparam));
    } catch (const std::exception&) {
    }
    s.stale = true;
    InvalidateRect(window_, nullptr, FALSE);
}

bool FlashControl::CursorIsHand() { return state_->player.HasMovie() && state_->player.CursorIsHand(); }

void FlashControl::Tick() {
    State& s = *state_;
    ULONGLONG now = GetTickCount64();
    double elapsed = static_cast<double>(now - s.last_tick);
    s.last_tick = now;
    int ticks = s.player.AdvanceTime(elapsed);
    // A movie without sound tags may still play one (a file its scripts
    // loaded): the output opens once something plays.
    if (!s.output_tried && s.mixer.ActiveVoices() > 0) s.OpenOutput();
    if (!s.output) s.MixUnheard(elapsed);
    // The picture follows a stream sound: when drawing fell behind, the
    // frames the sound is ahead by are dropped (shown for no time).
    int ahead = s.sound.StreamFramesAhead();
    for (int i = 1; ahead > 2 && i < ahead; ++i, ++ticks) s.player.Advance();
    if (ticks > 0) {
        s.stale = true;
        InvalidateRect(window_, nullptr, FALSE);
    }
}

LRESULT CALLBACK FlashControl::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* control = new FlashControl(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
        return DefWindowProcW(window, message, wparam, lparam);
    }
    auto* control = reinterpret_cast<FlashControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control) return DefWindowProcW(window, message, wparam, lparam);

    switch (message) {
    case WM_NCDESTROY:
        KillTimer(window, kFrameTimer);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        control->window_ = nullptr;
        delete control;
        return DefWindowProcW(window, message, wparam, lparam);
    case WM_TIMER:
        if (wparam == kFrameTimer) {
            try {
                control->Tick();
            } catch (const std::exception&) {
                // A frame that cannot be played leaves the picture as it was.
            }
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;  // the whole client area is painted in one go
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        control->Paint(dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        control->Paint(reinterpret_cast<HDC>(wparam));
        return 0;
    case WM_SIZE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        SetCapture(window);
        control->Mouse(message, lparam);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window) ReleaseCapture();
        control->Mouse(message, lparam);
        return 0;
    case WM_MOUSEMOVE:
        control->Mouse(message, lparam);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lparam) == HTCLIENT && control->CursorIsHand()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        control->Key(message, wparam, lparam);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
