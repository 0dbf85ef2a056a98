#include "skin/skin_manage_win.h"

#include <algorithm>
#include <string>

#include "skin/skin_gdi_win.h"
#include "skin/skin_popmenu_win.h"
#include "skin/win_skin_form_win.h"

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

// A window of one of the program's own window classes (its forms).
bool IsProgramForm(HWND window) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    return GetClassInfoExW(GetModuleHandleW(nullptr), ClassOf(window).c_str(), &info) != FALSE &&
           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)) == GetModuleHandleW(nullptr);
}

int TagOf(HWND window) { return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(window, L"Tag"))); }

}  // namespace

TSkinManage::~TSkinManage() = default;

TSkinManage& TSkinManage::Instance() {
    static TSkinManage manager;
    return manager;
}

void TSkinManage::Register(TSkinData& skin, HWND owner) {
    for (const Registered& r : skins_)
        if (r.skin == &skin) return;
    skins_.push_back({&skin, owner});
    skin.OnDefinitionRead = [this](TSkinData& s) { MakeBrush(s); };
    skin.OnMessage = [](const std::string& text) {
        std::wstring wide(text.begin(), text.end());
        MessageBoxW(nullptr, wide.c_str(), L"", MB_OK);
    };
    skin.OnActiveChanged = [this](TSkinData& s, bool on) {
        if (s.SkinFormtype == sfMainform) Post(on ? kSwitchOn : kSwitchOff, &s);
    };
    skin.OnPackageApplied = [this](TSkinData& s, bool loaded) {
        if (!loaded || s.SkinFormtype != sfMainform) return;
        for (auto& form : forms_)
            if (&form->Skin() == &s) form->ReloadButtons();
        Post(kSkinChanged, &s);
    };
    if (!skin.Empty()) MakeBrush(skin);
    if (skin.SkinFormtype == sfMainform) {
        if (!hook_) hook_ = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
        if (skin.Active()) Post(kSwitchOn, &skin);
    } else {
        enabled_ = true;
        activation_seen_++;
        if (owner) Offer(owner);
    }
}

void TSkinManage::Unregister(TSkinData& skin) {
    for (size_t i = forms_.size(); i-- > 0;)
        if (&forms_[i]->Skin() == &skin) DropSkinner(i, false);
    popups_.erase(std::remove_if(popups_.begin(), popups_.end(), [&](const auto& p) { return &p->Skin() == &skin; }),
                  popups_.end());
    skins_.erase(std::remove_if(skins_.begin(), skins_.end(), [&](const Registered& r) { return r.skin == &skin; }),
                 skins_.end());
    auto brush = brushes_.find(&skin);
    if (brush != brushes_.end()) {
        DeleteObject(brush->second);
        brushes_.erase(brush);
    }
    if (changed_ == &skin) changed_ = nullptr;
    skin.OnDefinitionRead = nullptr;
    skin.OnMessage = nullptr;
    skin.OnActiveChanged = nullptr;
    skin.OnPackageApplied = nullptr;
}

void TSkinManage::MakeBrush(TSkinData& skin) {
    auto old = brushes_.find(&skin);
    if (old != brushes_.end()) DeleteObject(old->second);
    brushes_[&skin] = CreateSolidBrush(SkinColorRef(skin.Colours.ButtonFace, GetSysColor(COLOR_BTNFACE)));
}

HBRUSH TSkinManage::ButtonFaceBrush(const TSkinData& skin) const {
    auto found = brushes_.find(&skin);
    return found != brushes_.end() ? found->second : GetSysColorBrush(COLOR_BTNFACE);
}

TWinSkinForm* TSkinManage::SkinnerOf(HWND window) const {
    for (const auto& form : forms_)
        if (form->Window() == window) return form.get();
    return nullptr;
}

TSkinData* TSkinManage::FirstMainform() const {
    for (const Registered& r : skins_)
        if (r.skin->SkinFormtype == sfMainform) return r.skin;
    return nullptr;
}

TSkinData* TSkinManage::ChooseSkin(HWND window, const std::wstring& class_name) const {
    TSkinData* chosen = nullptr;
    const std::wstring lower = Lower(class_name);
    const bool dialog = lower == L"tmessageform" || lower == L"#32770";
    for (const Registered& r : skins_)
        if (r.skin->SkinFormtype == sfOnlyThisForm && r.owner == window) chosen = r.skin;
    if (!chosen && dialog)
        for (const Registered& r : skins_)
            if (r.skin->SkinFormtype == sfDialog) chosen = r.skin;
    if (!chosen)
        for (const Registered& r : skins_)
            if (r.skin->SkinFormtype == sfMainform) chosen = r.skin;
    if (!chosen && !skins_.empty()) chosen = skins_.front().skin;
    return chosen;
}

bool TSkinManage::Offer(HWND window) {
    if (!enabled_ || !IsWindow(window) || SkinnerOf(window)) return false;
    if (SendMessageW(window, kSkinQuery, 0, 0) == 1) return false;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if ((style & WS_CHILD) && !bulk_pass_) {
        HWND parent = GetParent(window);
        if (!parent || Lower(ClassOf(parent)) != L"mdiclient") return false;
    }
    RECT r;
    GetWindowRect(window, &r);
    if (r.right <= r.left || r.bottom <= r.top) return false;
    const bool form = IsProgramForm(window);
    if (form && TagOf(window) == 99) return false;
    const std::wstring class_name = ClassOf(window);
    if (class_name == L"TApplication") return false;
    if (TSkinData* main = FirstMainform()) {
        bool do_skin = true;
        if (main->OnFormSkin) {
            main->OnFormSkin(*main, Narrow(class_name), do_skin);
        } else {
            if (class_name == L"SysMonthCal32") do_skin = false;
            if (main->SkinControls.Has(xcFastReport) && class_name.rfind(L"Tfr", 0) == 0) do_skin = false;
        }
        if (!do_skin) return false;
    }
    TSkinData* skin = ChooseSkin(window, class_name);
    if (!skin || skin->Empty()) return false;
    auto skinner = std::make_unique<TWinSkinForm>(window, *skin, form);
    if (skin->SkinControls.Has(xcMainMenu)) skinner->AttachWindow();
    forms_.push_back(std::move(skinner));
    PostMessageW(window, kSkinDeferredStart, 0, 1000);
    return true;
}

void TSkinManage::DropSkinner(size_t index, bool destroying) {
    std::unique_ptr<TWinSkinForm> form = std::move(forms_[index]);
    forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(index));
    if (destroying) form->StartState = TWinSkinForm::kDestroying;
    HWND window = form->Window();
    form->Detach();
    form.reset();
    if (!destroying && IsWindow(window)) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TSkinManage::OfferPopMenu(HWND window) {
    if (!enabled_ || PopMenuSkinnerOf(window)) return;
    for (const Registered& r : skins_)
        if (!r.skin->Empty() && r.skin->SkinControls.Has(xcMainMenu)) {
            popups_.push_back(std::make_unique<TWinSkinPopMenu>(window, *r.skin));
            return;
        }
}

TWinSkinPopMenu* TSkinManage::PopMenuShowing(HMENU menu) const {
    for (size_t i = popups_.size(); i-- > 0;)
        if (popups_[i]->Menu() == menu) return popups_[i].get();
    return nullptr;
}

void TSkinManage::WindowDestroyed(HWND window) {
    for (size_t i = 0; i < popups_.size(); i++)
        if (popups_[i]->Window() == window) {
            popups_.erase(popups_.begin() + static_cast<std::ptrdiff_t>(i));
            if (popups_.empty()) MenuOpen = false;
            return;
        }
    for (size_t i = 0; i < forms_.size(); i++)
        if (forms_[i]->Window() == window) {
            DropSkinner(i, true);
            return;
        }
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM wparam, LPARAM lparam) {
    TSkinManage& self = Instance();
    HWND window = reinterpret_cast<HWND>(wparam);
    switch (code) {
    case HCBT_CREATEWND: {
        auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lparam);
        HWND parent = create->lpcs->hwndParent;
        if (parent && self.SkinnerOf(parent) && (create->lpcs->style & WS_CHILD) &&
            !IS_INTRESOURCE(create->lpcs->lpszClass) && lstrcmpW(create->lpcs->lpszClass, L"ScrollBar") == 0 &&
            (create->lpcs->style & SBS_SIZEGRIP))
            return 10;
        if (ClassOf(window) == L"#32768") self.OfferPopMenu(window);
        break;
    }
    case HCBT_DESTROYWND:
        self.WindowDestroyed(window);
        break;
    case HCBT_ACTIVATE:
        if (self.activation_seen_ == 0) self.activation_seen_ = 1;
        self.Offer(window);
        break;
    default:
        break;
    }
    return CallNextHookEx(self.hook_, code, wparam, lparam);
}

void TSkinManage::Post(Request request, TSkinData* changed) {
    request_ = request;
    changed_ = changed;
    if (activation_seen_ != 0) {
        if (timer_) KillTimer(nullptr, timer_);
        timer_ = SetTimer(nullptr, 0, 250, TimerProc);
        return;
    }
    if (request == kSwitchOn) enabled_ = true;
    if (request == kSwitchOff) enabled_ = false;
}

void CALLBACK TSkinManage::TimerProc(HWND, UINT, UINT_PTR, DWORD) { Instance().RunRequest(); }

namespace {

// Adds each visible form of ours to the list (EnumThreadWindows callback;
// a named function so that it has the platform's calling convention).
BOOL CALLBACK CollectProgramForm(HWND window, LPARAM data) {
    if (IsWindowVisible(window) && IsProgramForm(window)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

}  // namespace

void TSkinManage::RunRequest() {
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
    const Request request = request_;
    request_ = kNone;
    switch (request) {
    case kSwitchOn: {
        enabled_ = true;
        bulk_pass_ = true;
        std::vector<HWND> windows;
        EnumThreadWindows(GetCurrentThreadId(), CollectProgramForm, reinterpret_cast<LPARAM>(&windows));
        for (size_t i = windows.size(); i-- > 0;) Offer(windows[i]);
        bulk_pass_ = false;
        break;
    }
    case kSwitchOff:
        enabled_ = false;
        for (size_t i = forms_.size(); i-- > 0;) DropSkinner(i, false);
        break;
    case kSkinChanged:
        for (auto& form : forms_) form->ReloadButtons();
        for (auto& form : forms_) form->Reapply();
        break;
    default:
        break;
    }
    TSkinData* changed = changed_;
    changed_ = nullptr;
    if (changed && changed->OnSkinChanged) changed->OnSkinChanged(*changed);
}

void TSkinManage::Shutdown() {
    popups_.clear();
    MenuOpen = false;
    for (size_t i = forms_.size(); i-- > 0;) DropSkinner(i, false);
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    if (timer_) KillTimer(nullptr, timer_);
    timer_ = 0;
    while (!skins_.empty()) Unregister(*skins_.back().skin);
    enabled_ = false;
    activation_seen_ = 0;
}
