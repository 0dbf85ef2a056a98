// Control skinners: TSkinControl wraps one control's window procedure and
// paints the control, or a part of it, from the skin; TSkinButton is the
// push button.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "skin/skin_data.h"

class TWinSkinForm;

class TSkinControl {
public:
    TSkinControl(TWinSkinForm& form, TSkinData& skin) : form_(form), skin_(&skin) {}
    virtual ~TSkinControl();
    TSkinControl(const TSkinControl&) = delete;
    TSkinControl& operator=(const TSkinControl&) = delete;

    // Subclasses a plain window's procedure.
    void AttachHandle(HWND control);
    // Gives the procedure back.
    void Release();
    HWND Handle() const { return control_; }

    // True lets the message go on to the previous procedure.
    virtual bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
    virtual void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam);
    // Paints the skin over the control (dc null: the control's own).
    void PaintOver(HDC dc);
    virtual void Draw(HDC, const RECT&) {}
    // An owner-drawn control's WM_DRAWITEM, seen by the frame skinner;
    // true when the skinner drew the item.
    virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
    // True when the control takes the skin's ButtonFace and ButtonText
    // through WM_CTLCOLOR*.
    virtual bool SetsColour() const { return false; }
    // The mouse left the control.
    virtual void MouseLeave();
    void Repaint();
    // Makes this the form's control under the mouse; true when it was not yet.
    bool BecomeHot();

    bool Focused = false;
    bool Enabled = true;
    bool Hot = false;
    bool Pressed = false;
    std::wstring Text;
    // Draws an owner-drawn button's picture (its glyph) into rect.
    std::function<void(HDC dc, const RECT& rect, bool enabled)> Glyph;

protected:
    TWinSkinForm& form_;
    TSkinData* skin_;
    HWND control_ = nullptr;

private:
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
};

class TSkinButton : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
    void AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Draw(HDC dc, const RECT& rect) override;
};

// True for a "button" window that TSkinButton skins: a plain push button
// without owner drawing, bitmap or icon.
bool IsSkinnablePushButton(HWND control);
