// The main window's skin: sd1 loads the package named in "config.ini" at
// start, and "更换皮肤..." (N1) lets the user pick another one.
#include "app/frmmain_win.h"

#include "app/main_dialogs.h"
#include "app/stay_on_top_win.h"
#include "app/trace.h"
#include "app/wide_text_win.h"
#include "skin/skin_data.h"
#include "skin/skin_manage_win.h"

#include <commdlg.h>

namespace {

// The file the user picks in OpenDialog1, or "" when cancelled.
std::wstring PickSkinFile(HWND owner, const FileDialogRecord& record, const std::wstring& folder) {
    const std::wstring filter = FilterToDoubleNul(record.filter);
    std::vector<wchar_t> buffer(MAX_PATH * 4, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(record.filterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = record.title.c_str();
    ofn.lpstrInitialDir = folder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&ofn)) return L"";
    return buffer.data();
}

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

void Tfrmmain::SkinDataRelease::operator()(TSkinData* skin) const {
    TSkinManage::Instance().Unregister(*skin);
    delete skin;
}

void Tfrmmain::LoadSkin() {
    TraceStep("load skin");
    sd1.reset(new TSkinData);
    sd1->SkinFormtype = sfMainform;
    sd1->DisableTag = 99;
    TSkinControls controls = TSkinData::DefaultSkinControls();
    controls.Exclude(xcFastReport);
    sd1->SkinControls = controls;
    TSkinManage::Instance().Register(*sd1);
    const std::string name = Config ? Config->ReadString(kConfigSection, kSkinFileKey, "") : "";
    if (!name.empty()) sd1->SetSkinFile(WideToAnsi(ProgramFolder + L"\\skins\\") + name);
    if (!sd1->Active()) sd1->SetActive(true);
}

void Tfrmmain::N1Click() {
    if (!sd1) return;
    const std::wstring folder = ProgramFolder + L"\\skins";
    MakeNotTopmost(window_);
    const std::wstring chosen = PickSkinFile(window_, Dialog(L"OpenDialog1"), folder);
    if (!chosen.empty()) {
        sd1->SetSkinFile(WideToAnsi(chosen));
        if (Config) Config->WriteString(kConfigSection, kSkinFileKey, WideToAnsi(FileNameOf(chosen)));
    }
    if (!sd1->Active()) sd1->SetActive(true);
    ShowWindow(window_, SW_SHOW);
    MakeTopmost(window_);
    ApplyStayOnTop();
}
