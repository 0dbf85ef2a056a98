#include "playback/media_player_win.h"

#include <digitalv.h>

#include <stdexcept>

#include "app/utf8.h"

namespace {

[[noreturn]] void ThrowMciError(MCIERROR error) {
    wchar_t text[256] = {};
    if (!mciGetErrorStringW(error, text, 256))
        wsprintfW(text, L"MCI error %lu", static_cast<unsigned long>(error));
    throw std::runtime_error(Utf8FromWide(text));
}

void Check(MCIERROR error) {
    if (error) ThrowMciError(error);
}

}  // namespace

MediaPlayer::~MediaPlayer() {
    if (device_) mciSendCommandW(device_, MCI_CLOSE, MCI_WAIT, 0);
}

void MediaPlayer::RequireDevice() const {
    if (!device_) throw std::runtime_error("No MCI device open");
}

void MediaPlayer::Open() {
    if (device_) Close();
    MCI_OPEN_PARMSW open = {};
    open.lpstrElementName = file_name_.c_str();
    Check(mciSendCommandW(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open)));
    device_ = open.wDeviceID;
}

void MediaPlayer::Close() {
    RequireDevice();
    MCIDEVICEID device = device_;
    device_ = 0;
    Check(mciSendCommandW(device, MCI_CLOSE, MCI_WAIT, 0));
}

void MediaPlayer::Play() {
    RequireDevice();
    if (Position() == Length()) Seek(0);
    MCI_PLAY_PARMS play = {};
    DWORD flags = 0;
    if (notify_window_) {
        play.dwCallback = reinterpret_cast<DWORD_PTR>(notify_window_);
        flags |= MCI_NOTIFY;
    }
    Check(mciSendCommandW(device_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play)));
}

void MediaPlayer::Stop() {
    RequireDevice();
    Check(mciSendCommandW(device_, MCI_STOP, MCI_WAIT, 0));
}

void MediaPlayer::Seek(long position) {
    RequireDevice();
    MCI_SEEK_PARMS seek = {};
    seek.dwTo = static_cast<DWORD>(position);
    Check(mciSendCommandW(device_, MCI_SEEK, MCI_TO | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&seek)));
}

long MediaPlayer::Status(DWORD item) const {
    MCI_STATUS_PARMS status = {};
    status.dwItem = item;
    Check(mciSendCommandW(device_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&status)));
    return static_cast<long>(status.dwReturn);
}

long MediaPlayer::Position() const {
    if (!device_) return 0;
    return Status(MCI_STATUS_POSITION);
}

long MediaPlayer::Length() const {
    RequireDevice();
    return Status(MCI_STATUS_LENGTH);
}

void MediaPlayer::SetDisplay(HWND window) {
    RequireDevice();
    MCI_DGV_WINDOW_PARMSW parms = {};
    parms.hWnd = window;
    mciSendCommandW(device_, MCI_WINDOW, MCI_DGV_WINDOW_HWND | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parms));
}

void MediaPlayer::SetDisplayRect(int left, int top, int width, int height) {
    RequireDevice();
    MCI_DGV_PUT_PARMS parms = {};
    // The destination rectangle of MCI_PUT holds left, top, width, height.
    parms.rc = RECT{left, top, width, height};
    mciSendCommandW(device_, MCI_PUT, MCI_DGV_PUT_DESTINATION | MCI_DGV_RECT | MCI_WAIT,
                    reinterpret_cast<DWORD_PTR>(&parms));
}
