// The control skinners beyond the push button: each wraps one control's
// window procedure and draws the control, or a part of it, from the skin
// elements and colours named beside it.
#pragma once

#include <vector>

#include "skin/control_geometry.h"
#include "skin/skin_control_win.h"

// Private messages of the control skinners.
constexpr UINT kSkinSetColour = 0x3506;      // wParam colour, lParam 1 set / 0 give back
constexpr UINT kSkinScrollRefresh = 0x3507;  // a deferred repaint of skinned scroll bars

// Owner-drawn bitmap buttons: Buttons face, glyph and caption (ButtonText).
class TSkinBitButton : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    virtual int FaceFrame(bool pressed) const;
    void PaintFace(const DRAWITEMSTRUCT& item, int frame, bool caption_shown);
};

// Owner-drawn flat buttons: the face only shows hot, pressed or down.
class TSkinSpeedButton : public TSkinBitButton {
public:
    using TSkinBitButton::TSkinBitButton;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    bool Down = false;

protected:
    int FaceFrame(bool pressed) const override;
};

// Check boxes and radio buttons: the glyph painted over the platform's.
class TSkinCheckBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;
    bool SetsColour() const override { return true; }

protected:
    virtual const SkinBitmap& GlyphImage() const { return skin_->Buttons.CheckBitmap; }
    virtual int GlyphFrames() const;
    virtual int GlyphFrame(bool checked, bool enabled) const { return CheckGlyphFrame(checked, enabled); }
};

class TSkinRadioButton : public TSkinCheckBox {
public:
    using TSkinCheckBox::TSkinCheckBox;

protected:
    const SkinBitmap& GlyphImage() const override { return skin_->Buttons.RadioBitmap; }
    int GlyphFrames() const override;
    int GlyphFrame(bool checked, bool enabled) const override { return RadioGlyphFrame(checked, enabled); }
};

// Panels and group boxes: the colour becomes ButtonFace.
class TSkinBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    ~TSkinBox() override;
    void Attach(HWND control);
    bool SetsColour() const override { return true; }
};

class TSkinProgress : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AttachProgress(HWND control);
    bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;
    int Lower = 0;
    int Upper = 100;
};

class TSkinTrackBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;
};

class TSkinUpDown : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;
    bool InsideEdit = false;

private:
    int pressed_half_ = -1;
};

class TSkinEdit : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    void PaintBorder(HDC window_dc);
    bool looked_for_updown_ = false;
    bool has_updown_ = false;
};

class TSkinComBox : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;
};

// The non-client scroll bars of a scrolling control, drawn and worked by
// the skinner.
class TSkinScrollBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void PaintBars(HDC window_dc);

private:
    struct Bar {
        bool shown = false;
        bool vertical = false;
        RECT rect{};             // window coordinates
        ScrollInfo info;
        ScrollLayout layout;
        bool enabled = true;
    };
    Bar ReadBar(bool vertical) const;
    void StartTracking(bool vertical, POINT window_point);
    void TrackLoop(bool vertical, ScrollPart part, int grab);
    void Scroll(bool vertical, ScrollPart part);
    void ScrollTo(bool vertical, int pos);
    void NoteScrollState();
    SkinBitmap RenderBar(const Bar& bar) const;

    ScrollPart pressed_part_ = ScrollPart::None;
    bool pressed_vertical_ = false;
    ScrollPart hot_part_ = ScrollPart::None;
    bool hot_vertical_ = false;
    int drag_start_ = -1;
    bool refresh_posted_ = false;
    ScrollInfo last_v_, last_h_;
};

class TSkinListView : public TSkinScrollBar {
public:
    using TSkinScrollBar::TSkinScrollBar;
    void AttachListView(HWND control);
};

class TSkinHeader : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
    void Draw(HDC dc, const RECT& rect) override;
};

class TSkinStatusBar : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
    void Draw(HDC dc, const RECT& rect) override;
};

class TSkinTab : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;
};

// A tab set: the tabs along the bottom edge.
class TSkinTab31 : public TSkinTab {
public:
    using TSkinTab::TSkinTab;
    void Draw(HDC dc, const RECT& rect) override;
};

// Scroll-bar controls.
class TSkinScControl : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;
};

// Size grips of dialogs: not painted.
class TSkinSizer : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
};

// Control-table rows of our forms, registered by the form that made them.
struct SkinTableRow {
    HWND window = nullptr;
    int kind = 0;                 // a ScanKind
    int tag = 0;
    std::function<void(HDC dc, const RECT& rect, bool enabled)> glyph;
};
void SetSkinControlTable(HWND form, std::vector<SkinTableRow> rows);
const std::vector<SkinTableRow>* SkinControlTable(HWND form);

// A rendered skin bitmap of w x h filled with the skin's ButtonFace.
SkinBitmap FaceBitmap(const TSkinData& skin, int w, int h);
