// The interface language of the main window: the captions of its menu
// items, buttons and check boxes in Chinese or English.
#include "app/frmmain_win.h"

#include "app/caption_table.h"

#include <commctrl.h>

void Tfrmmain::SetControlHint(const std::wstring& name, const std::wstring& hint) {
    HWND tooltip = Controls().Tooltip();
    HWND control = ControlWindow(name);
    if (!tooltip || !control) return;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(hint.c_str());
    SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tfrmmain::changeLanguage(int code) {
    SetWindowTextW(window_, kLanguageTitle);
    for (const CaptionRow& row : CaptionTable()) {
        const wchar_t* text = CaptionFor(row, code);
        if (!text) return;
        if (row.property == CaptionProperty::Hint) {
            SetControlHint(row.name, text);
        } else if (int item = menu1_->Index(row.name); item >= 0) {
            menu1_->SetCaption(item, text);
        } else if (int item2 = menu2_->Index(row.name); item2 >= 0) {
            menu2_->SetCaption(item2, text);
        } else {
            SetControlText(row.name, text);
        }
    }
}

void Tfrmmain::N34Click() {
    changeLanguage(kLanguageChinese);
    SetMenuChecked(L"N34", true);
}

void Tfrmmain::N31Click() {
    changeLanguage(kLanguageEnglish);
    SetMenuChecked(L"N31", true);
}
