// TSkinManage: decides which windows of the program wear the skin. It
// learns of windows through a CBT hook on the GUI thread, gives each skinned
// window a frame skinner, and carries out the requests of the skin data
// components (switch on, switch off, new skin) on a 250 ms one-shot timer.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "skin/skin_data.h"

class TWinSkinForm;
class TWinSkinPopMenu;

class TSkinManage {
public:
    enum Request { kNone = 0, kSwitchOn = 1, kSwitchOff = 2, kSkinChanged = 3 };

    static TSkinManage& Instance();

    // A skin data component that finished loading at run time; `owner` is
    // the window of an sfOnlyThisForm or sfDialog component.
    void Register(TSkinData& skin, HWND owner = nullptr);
    void Unregister(TSkinData& skin);

    // Offers a window for skinning; true when it is skinned afterwards.
    bool Offer(HWND window);
    void Post(Request request, TSkinData* changed);
    // Carries the pending request out now (the timer's work).
    void RunRequest();

    bool Enabled() const { return enabled_; }
    int ActivationSeen() const { return activation_seen_; }
    TWinSkinForm* SkinnerOf(HWND window) const;
    size_t SkinnedCount() const { return forms_.size(); }
    // The ButtonFace brush of a skin, made after each load.
    HBRUSH ButtonFaceBrush(const TSkinData& skin) const;
    // A popup-menu window ("#32768") that was just made.
    void OfferPopMenu(HWND window);
    size_t PopMenuCount() const { return popups_.size(); }
    // The skinned popup window showing `menu`, or null.
    TWinSkinPopMenu* PopMenuShowing(HMENU menu) const;
    // A skinned menu is open.
    bool MenuOpen = false;
    // Detaches every window and removes the hook (program end, tests).
    void Shutdown();

private:
    TSkinManage() = default;
    ~TSkinManage();
    static LRESULT CALLBACK HookProc(int code, WPARAM wparam, LPARAM lparam);
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    void WindowDestroyed(HWND window);
    TSkinData* ChooseSkin(HWND window, const std::wstring& class_name) const;
    TSkinData* FirstMainform() const;
    void MakeBrush(TSkinData& skin);
    void DropSkinner(size_t index, bool destroying);

    struct Registered {
        TSkinData* skin;
        HWND owner;
    };
    std::vector<std::unique_ptr<TWinSkinForm>> forms_;
    std::vector<Registered> skins_;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> popups_;
    std::map<const TSkinData*, HBRUSH> brushes_;
    HHOOK hook_ = nullptr;
    bool enabled_ = false;
    bool bulk_pass_ = false;
    int activation_seen_ = 0;
    Request request_ = kNone;
    TSkinData* changed_ = nullptr;
    UINT_PTR timer_ = 0;
};
