#include "app/frmabout_win.h"

#include "app/forms_win.h"
#include "app/frmmain_win.h"
#include "app/stay_on_top_win.h"

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonTop = 30;

const wchar_t* kAboutText =
    L"Corvella3.0\r\n"
    L"\r\n"
    L"Flash 动画与媒体文件播放器。\r\n"
    L"\r\n"
    L"播放 SWF 动画以及 MP3、MP2、WAV、MIDI、AVI、MPEG、ASF、WMV 等媒体文件；"
    L"支持播放列表、连续与随机播放、单曲循环。\r\n"
    L"\r\n"
    L"工具：提取 SWF 中的图片与声音，把 SWF 转换为独立的可执行文件，抓图与设置墙纸，更换皮肤。\r\n"
    L"\r\n"
    L"快捷键：Ctrl+O 打开文件，Ctrl+L 打开列表，Ctrl+P 播放，Ctrl+S 暂停，Ctrl+F 全屏，F1 帮助。\r\n";

}  // namespace

Tfrmabout::Tfrmabout() = default;

Tfrmabout::~Tfrmabout() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (font_) DeleteObject(font_);
}

void Tfrmabout::Create() {
    SecondaryWindowSpec spec{kClassName, L"关于...", kClientWidth, kClientHeight, 0, GetSysColor(COLOR_BTNFACE),
                             WindowProc};
    window_ = CreateSecondaryWindow(spec, this);
    font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    text_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", kAboutText,
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
                            kClientWidth, kClientHeight - kPanelHeight, window_, nullptr, instance, nullptr);
    panel_style_.color = GetSysColor(COLOR_BTNFACE);
    panel_style_.bevel = true;
    panel_ = CreatePanel(window_, 100, 0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight, WS_VISIBLE,
                         &panel_style_);
    button_ = CreateWindowExW(0, L"BUTTON", L"关闭", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                              kButtonTop, kButtonWidth, kButtonHeight, panel_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), instance, nullptr);
    for (HWND control : {text_, button_})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    FormResize();
}

LRESULT CALLBACK Tfrmabout::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = SecondaryWindowOwner<Tfrmabout>(window, message, lparam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wparam, lparam);
    return self->HandleMessage(message, wparam, lparam);
}

LRESULT Tfrmabout::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        if (panel_) FormResize();
        break;
    case WM_COMMAND:
        if (LOWORD(wparam) == kButtonId && HIWORD(wparam) == BN_CLICKED) BitBtn1Click();
        return 0;
    case WM_CLOSE:
        ShowWindow(window_, SW_HIDE);
        FormClose();
        return 0;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

void Tfrmabout::FormResize() {
    RECT client, outer;
    GetClientRect(window_, &client);
    GetWindowRect(window_, &outer);
    int width = client.right - client.left, height = client.bottom - client.top;
    MoveWindow(text_, 0, 0, width, height - kPanelHeight, TRUE);
    MoveWindow(panel_, 0, height - kPanelHeight, width, kPanelHeight, TRUE);
    // Centred by the box's outer width.
    int left = (outer.right - outer.left) / 2 - kButtonWidth / 2;
    MoveWindow(button_, left, kButtonTop, kButtonWidth, kButtonHeight, TRUE);
}

void Tfrmabout::BitBtn1Click() { SendMessageW(window_, WM_CLOSE, 0, 0); }

void Tfrmabout::FormClose() {
    Tfrmmain* main = Forms().frmmain;
    if (!main || !main->Window()) return;
    MakeTopmost(main->Window());
    MakeNotTopmost(main->Window());
    main->ApplyStayOnTop();
    SetFocus(main->Window());
}
