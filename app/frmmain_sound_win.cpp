// Sound and picture: the volume bar and buttons, the channel of media
// files, the Flash picture quality and zoom.
#include "app/frmmain_playback_win.h"

#include "flash/flash_control_win.h"
#include "playback/sound_settings.h"
#include "playback/transport.h"

#include <mmsystem.h>

#include <cstdio>
#include <cwchar>

using namespace playback;

void Tfrmmain::SendVolume() {
    waveOutSetVolume(reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(0)), WaveOutVolume(VolumeLevel));
}

void Tfrmmain::bylClick() {
    int image_width = controls_.Rect(ControlIndex(L"VolImg")).width;
    int overlay_width = controls_.Rect(ControlIndex(L"VolLbl")).width;
    // The level passes through the hidden edit box as decimal text, which
    // turns a negative level into 0.
    std::string text = VolumeLevelText(VolumePercent(image_width, overlay_width));
    SetControlText(L"Edit1", std::wstring(text.begin(), text.end()));
    std::wstring shown = ControlText(L"Edit1");
    VolumeLevel = VolumeLevelFromText(std::string(shown.begin(), shown.end()));
    SendVolume();
}

void Tfrmmain::Edit1Change() {
    std::wstring text = ControlText(L"Edit1");
    wchar_t* end = nullptr;
    double value = std::wcstod(text.c_str(), &end);
    if (end != text.c_str() && *end == L'\0' && value < 0) SetControlText(L"Edit1", L"0");
}

void Tfrmmain::VolImgMouseDown(int x, int) {
    LayoutRect image = controls_.Rect(ControlIndex(L"VolImg"));
    LayoutRect panel = controls_.Rect(ControlIndex(L"Panel7"));
    OverlayPlace place = OverlayAfterImageClick(x, image.left, image.width, panel.left);
    int overlay = ControlIndex(L"VolLbl");
    LayoutRect rect = controls_.Rect(overlay);
    controls_.SetRect(overlay, {place.left, rect.top, place.width, rect.height});
    bylClick();
}

void Tfrmmain::Panel10MouseDown(int x, int) {
    LayoutRect image = controls_.Rect(ControlIndex(L"VolImg"));
    LayoutRect panel = controls_.Rect(ControlIndex(L"Panel7"));
    int overlay = ControlIndex(L"VolLbl");
    LayoutRect rect = controls_.Rect(overlay);
    OverlayPlace place = OverlayAfterOverlayClick(x, rect.left, image.left, image.width, panel.left);
    controls_.SetRect(overlay, {place.left, rect.top, place.width, rect.height});
    bylClick();
}

void Tfrmmain::SpeedButton9Click() {
    VolumeLevel = VolumeUp(VolumeLevel);
    SendVolume();
}

void Tfrmmain::SpeedButton10Click() {
    VolumeLevel = VolumeDown(VolumeLevel);
    SendVolume();
}

namespace {

// A channel command to every open MCI device; its result is not looked at.
void SendChannelCommand(HWND window, const char* command) {
    std::wstring text(command, command + std::char_traits<char>::length(command));
    mciSendStringW(text.c_str(), nullptr, 0, window);
}

}  // namespace

void Tfrmmain::N57Click() {
    SendChannelCommand(window_, kChannelAllOff);
    SendChannelCommand(window_, kChannelLeftOn);
    SetMenuChecked(L"N57", true);
}

void Tfrmmain::N58Click() {
    SendChannelCommand(window_, kChannelAllOff);
    SendChannelCommand(window_, kChannelRightOn);
    SetMenuChecked(L"N58", true);
}

void Tfrmmain::N59Click() {
    SendChannelCommand(window_, kChannelAllOn);
    SetMenuChecked(L"N59", true);
}

void Tfrmmain::N51Click() {
    Reported([this] {
        Flash(*this).SetQuality(kQualityHigh);
        SetMenuChecked(L"N51", true);
    });
}

void Tfrmmain::N52Click() {
    Reported([this] {
        Flash(*this).SetQuality(kQualityMedium);
        SetMenuChecked(L"N52", true);
    });
}

void Tfrmmain::N53Click() {
    Reported([this] {
        Flash(*this).SetQuality(kQualityLow);
        SetMenuChecked(L"N53", true);
    });
}

void Tfrmmain::N60Click() {
    Reported([this] { Flash(*this).Zoom(kZoomIn); });
}

void Tfrmmain::N61Click() {
    Reported([this] { Flash(*this).Zoom(kZoomOut); });
}

void Tfrmmain::N62Click() {
    Reported([this] { Flash(*this).Zoom(kZoomWhole); });
}
