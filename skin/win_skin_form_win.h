// TWinSkinForm: paints one top-level window's frame from the skin (borders,
// title bar, caption, title buttons), gives it a shaped region and turns
// clicks on the painted buttons into window commands. The platform never
// paints its own caption while the frame is skinned.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "skin/skin_data.h"
#include "skin/control_scan.h"
#include "skin/skin_frame.h"

class TWinSkinForm;
class TSkinControl;
class TSkinMenuItems;
class TWinSkinMenu;

// Private messages of the skin engine.
constexpr UINT kSkinRepaintFrame = 0x3502;
constexpr UINT kSkinDeferredStart = 0x3503;
constexpr UINT kSkinQuery = 0x3504;
constexpr UINT kSkinReapply = 0x3401;

// One painted item of the non-client area.
class TNCObject {
public:
    explicit TNCObject(TWinSkinForm& owner) : owner_(owner) {}
    virtual ~TNCObject() = default;
    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    SkinRect Rect;     // window coordinates
    int State = 1;     // 1 normal, 2 pressed, 3 hot
    bool Visible = false;

protected:
    TWinSkinForm& owner_;
};

// One title-bar button.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm& owner, size_t index) : TNCObject(owner), Index(index) {}
    void Paint() override;
    size_t Index;      // into the skin's title-button list
};

class TWinSkinForm {
public:
    enum StartStates { kNotStarted = 0, kStarting = 5, kRunning = 1, kReapplying = 3, kDestroying = 4 };

    TWinSkinForm(HWND window, TSkinData& skin, bool toolkit_form);
    ~TWinSkinForm();
    TWinSkinForm(const TWinSkinForm&) = delete;
    TWinSkinForm& operator=(const TWinSkinForm&) = delete;

    // Starts skinning: subclasses the window and strips the caption buttons.
    void AttachWindow();
    void ReloadButtons();
    // Applies a new skin: metrics, buttons, controls, size and region.
    void Reapply();
    // Gives the window its platform frame back.
    void Detach();

    HWND Window() const { return window_; }
    TSkinData& Skin() const { return *skin_; }
    int StartState = kNotStarted;
    const FrameMetrics& Metrics() const { return metrics_; }

    // Non-client objects.
    TNCObject* Hot = nullptr;
    void PaintTitleBar();
    void PerformAction(const TWinSysButton& button, POINT screen_point);

    // The control under the mouse (Part of the control skinners).
    TSkinControl* HotControl = nullptr;
    void SetHotControl(TSkinControl* control);
    // The skinner of a control window, or null.
    TSkinControl* ControlFor(HWND control) const;
    // Takes a skinner that one of the control skinners attached.
    void AdoptControl(std::unique_ptr<TSkinControl> control);
    // Marks a menu's items, and its submenus' items, owner-drawn in the skin.
    void SkinMenuItems(HMENU menu);
    // The skinned menu bar, or null.
    TWinSkinMenu* MenuBar() const { return menu_bar_.get(); }

private:
    static LRESULT CALLBACK FrameProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Previous(UINT message, WPARAM wparam, LPARAM lparam);
    // Runs the previous procedure with WS_VISIBLE cleared, so that the
    // platform's default handling cannot paint its caption.
    LRESULT PreviousHidden(UINT message, WPARAM wparam, LPARAM lparam);
    bool Started() const { return StartState == kStarting || StartState == kRunning || StartState == kReapplying; }
    bool Painted() const;

    void ReadStyle();
    void StripCaptionButtons();
    void PutCaptionButtonsBack();
    void SetStyleQuietly(LONG_PTR style);
    void ReadWindowState();
    void ComputeFrame();
    void ComputeMetrics();
    void DeferredStart();
    void KeepClientSize(bool add_menu);
    void BuildRegion(bool force);
    void RemoveRegion();
    void RenderIcon();
    void SkinControls();
    void SkinControl(HWND control, SkinnerKind kind, const std::function<void(HDC, const RECT&, bool)>& glyph);
    void SkinChildWindows(HWND parent, bool dialog);
    void ReleaseControls();

    void PaintFrame(HRGN update);
    SkinBitmap ComposeTitleBar(int w, int h);
    FrameState CurrentFrameState() const;
    LRESULT HitTest(POINT screen);
    POINT ToWindow(POINT screen) const;
    TNCObject* ObjectAt(POINT window_point);
    void ShowSystemMenu(POINT screen);
    void OnHoverTimer();

    HWND window_;
    TSkinData* skin_;
    bool toolkit_form_;
    FrameMetrics metrics_;
    FrameKind kind_ = FrameKind::Sizeable;
    WindowState window_state_ = WindowState::Normal;
    bool has_system_menu_ = false;
    bool has_minimize_box_ = false;
    bool has_maximize_box_ = false;
    bool active_ = true;
    bool popup_style_ = false;
    bool sizeable_border_ = false;
    bool changing_style_ = false;
    SIZE client_at_attach_{};
    std::vector<std::unique_ptr<TWinSysButton>> buttons_;
    int right_max_ = 0;
    SkinBitmap icon_;          // the skin's icon, used when the window has none
    HICON icon_handle_ = nullptr;
    SkinBitmap title_bar_;
    HRGN region_ = nullptr;
    int region_width_ = -1;
    int region_height_ = -1;
    bool region_active_ = true;
    bool timer_on_ = false;
    HFONT caption_font_ = nullptr;
    DWORD last_icon_click_ = 0;
    bool icon_clicked_ = false;
    std::vector<std::unique_ptr<TSkinControl>> controls_;
    std::unique_ptr<TSkinMenuItems> menu_items_;
    std::unique_ptr<TWinSkinMenu> menu_bar_;
};

// The frame skinner of a window, or null.
TWinSkinForm* FrameSkinnerOf(HWND window);
