// The media player component `mp`: one MCI device for the sound or video
// file being played. Positions and lengths are in the device's default unit
// (milliseconds for the usual sound devices); the time format is never set.
//
// Every command but the position query throws std::runtime_error when no
// device is open ("No MCI device open") or when MCI refuses it (MCI's own
// error text).
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <string>

class MediaPlayer {
public:
    MediaPlayer() = default;
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;
    ~MediaPlayer();

    void SetFileName(const std::wstring& path) { file_name_ = path; }
    const std::wstring& FileName() const { return file_name_; }
    // Window that receives MM_MCINOTIFY when a play command ends; may be null.
    void SetNotifyWindow(HWND window) { notify_window_ = window; }

    void Open();            // closes the device opened before, if any
    void Play();            // from the current position; from the start when at the end
    void Stop();
    void Close();
    void Seek(long position);   // the device stays stopped
    long Position() const;      // 0 when no device is open
    long Length() const;
    bool IsOpen() const { return device_ != 0; }

    // Video output into a window of ours. Devices without video (wave audio)
    // refuse these commands; that refusal is not an error for the caller.
    void SetDisplay(HWND window);
    void SetDisplayRect(int left, int top, int width, int height);

private:
    void RequireDevice() const;
    long Status(DWORD item) const;

    std::wstring file_name_;
    HWND notify_window_ = nullptr;
    MCIDEVICEID device_ = 0;
};
