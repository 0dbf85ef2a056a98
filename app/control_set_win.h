// The windows of a control table: creates every control of the table inside
// a form, keeps the pictures and texts that have no window of their own,
// draws the owner-drawn buttons, lays the aligned controls out again after a
// size change and gives the controls their hints.
#pragma once

#include "app/main_controls.h"
#include "app/panel_win.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ControlSet {
public:
    // Makes the window of a control the table cannot make itself (the Flash control).
    using WindowFactory = std::function<HWND(HWND parent, int id, const ControlRecord& record)>;
    // A mouse button pressed or released on a panel or on a picture inside it.
    using MouseHandler = std::function<void(int index, UINT message, int x, int y)>;

    ControlSet(const std::vector<ControlRecord>& records, int first_id);
    ~ControlSet();
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;

    void Create(HWND form, const WindowFactory& make_flash, MouseHandler mouse);

    int Count() const { return static_cast<int>(entries_.size()); }
    int Index(const std::wstring& name) const;       // -1 when unknown
    int IndexOfWindow(HWND window) const;            // -1 when not ours
    int IndexOfId(int id) const;                     // -1 when not ours
    int IdOf(int index) const { return first_id_ + index; }
    const ControlRecord& Record(int index) const { return *entries_[index].record; }
    int Parent(int index) const { return entries_[index].parent; }
    // True when index is ancestor or one of its descendants.
    bool IsInside(int index, int ancestor) const;

    HWND Window(int index) const { return entries_[index].window; }
    HWND Window(const std::wstring& name) const;
    // The window that holds the control (its own for windowed controls).
    HWND HostWindow(int index) const;

    std::wstring Text(int index) const;
    void SetText(int index, const std::wstring& text);
    LayoutRect Rect(int index) const;                // in the parent's client pixels
    void SetRect(int index, const LayoutRect& rect);
    bool Visible(int index) const;                   // the control's own visibility flag
    void SetVisible(int index, bool visible);
    bool Enabled(int index) const;
    void SetEnabled(int index, bool enabled);
    bool Checked(int index) const;                   // check boxes and radio buttons
    void SetCheckState(int index, bool checked);     // no click notification

    // Places the aligned controls again (after the form or a panel changed size).
    void Realign();

    // Owner-drawn buttons.
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    // Background of a control that asks its parent for colours; nullptr
    // when the platform's default is right.
    HBRUSH ControlColor(HWND control, HDC dc);
    // The cursor of the control under the mouse, or nullptr.
    HCURSOR CursorFor(HWND control) const;

    HFONT DefaultFont() const { return default_font_; }
    HWND Tooltip() const { return tooltip_; }
    // Takes a hint that is shown off the screen.
    void HideHint() const;

private:
    struct Entry {
        const ControlRecord* record = nullptr;
        int parent = -1;
        HWND window = nullptr;
        std::wstring text;          // pictures and labels
        LayoutRect rect;            // pictures and labels
        bool visible = true;        // pictures and labels
        bool hot = false;           // flat buttons: the mouse is over it
        std::unique_ptr<PanelStyle> panel;
    };

    HWND CreateWindowFor(int index, HWND parent, const WindowFactory& make_flash);
    static LRESULT CALLBACK FlatButtonProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void PaintPanel(int panel, HDC dc) const;
    void PaintGraphic(int index, HDC dc) const;
    void PanelMouse(int panel, UINT message, int x, int y);
    void AddHints();
    void RegisterSkinTable();
    HBRUSH BrushFor(COLORREF color);
    RECT InnerRect(int panel_or_form) const;

    int first_id_;
    HWND form_ = nullptr;
    std::vector<Entry> entries_;
    MouseHandler mouse_;
    HFONT default_font_ = nullptr;
    HFONT label_font_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::pair<COLORREF, HBRUSH>> brushes_;
};

// A colour of the table as the platform's colour value.
COLORREF ColorValue(uint32_t color);
