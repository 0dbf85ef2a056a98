#include "skin/control_scan.h"

namespace {

constexpr uint32_t kMultiLine = 0x0004;       // edit: more than one line
constexpr uint32_t kTabOwnerDraw = 0x2000;    // tab control drawn by its owner

bool TagIs(int32_t tag, int32_t value) { return tag % 100 == value; }

bool Scrolling(const ScanControl& c) {
    return c.scroll_style || c.kind == ScanKind::ListBox || c.kind == ScanKind::Memo ||
           c.kind == ScanKind::TreeView || c.tag == 55;
}

// One row of the table: the class test, the skinner, the member it needs.
struct Row {
    bool (*matches)(const ScanControl&);
    SkinnerKind skinner;
    TSkinControlType needs;
    bool needs_tabs;
};

template <ScanKind K>
bool Is(const ScanControl& c) { return c.kind == K; }

const Row kRows[] = {
    {Is<ScanKind::Tab>, SkinnerKind::Tab, xcTab, true},
    {Is<ScanKind::TabSet>, SkinnerKind::Tab31, xcTab, true},
    {Is<ScanKind::CheckBox>, SkinnerKind::CheckBox, xcCheckBox, false},
    {Is<ScanKind::TrackBar>, SkinnerKind::TrackBar, xcButton, false},
    {Is<ScanKind::UpDown>, SkinnerKind::UpDown, xcButton, false},
    {Is<ScanKind::RadioGroup>, SkinnerKind::RadioGroup, xcRadioButton, false},
    {Is<ScanKind::GroupBox>, SkinnerKind::Box, xcPanel, false},
    {Is<ScanKind::Panel>, SkinnerKind::Box, xcPanel, false},
    {Is<ScanKind::RadioButton>, SkinnerKind::RadioButton, xcRadioButton, false},
    {Is<ScanKind::StatusBar>, SkinnerKind::StatusBar, xcStatusBar, false},
    {Is<ScanKind::ProgressBar>, SkinnerKind::Progress, xcProgress, false},
    {Is<ScanKind::ScrollBar>, SkinnerKind::ScControl, xcScrollbar, false},
    {[](const ScanControl& c) { return c.kind == ScanKind::ComboBox || TagIs(c.tag, 95); }, SkinnerKind::ComBox,
     xcCombo, false},
    {Is<ScanKind::BitBtn>, SkinnerKind::BitButton, xcBitBtn, false},
    {Is<ScanKind::SpeedButton>, SkinnerKind::SpeedButton, xcSpeedButton, false},
    {Is<ScanKind::ListView>, SkinnerKind::ListView, xcScrollbar, false},
    {Is<ScanKind::Memo>, SkinnerKind::ScrollBar, xcScrollbar, false},
    {[](const ScanControl& c) { return TagIs(c.tag, 96) || Scrolling(c); }, SkinnerKind::ScrollBar, xcScrollbar,
     false},
    {Is<ScanKind::PushButton>, SkinnerKind::Button, xcButton, false},
    {[](const ScanControl& c) { return c.kind == ScanKind::Edit || TagIs(c.tag, 97); }, SkinnerKind::Edit, xcEdit,
     false},
    {Is<ScanKind::Header>, SkinnerKind::Header, xcScrollbar, false},
};

}  // namespace

bool DisabledByTag(int32_t tag, int32_t disable_tag) { return tag % 100 == disable_tag; }

SkinnerKind ChooseSkinner(const ScanControl& control, const TSkinControls& members, bool has_tabs) {
    if (control.kind == ScanKind::ToolBar) return SkinnerKind::None;
    for (const Row& row : kRows) {
        if (!row.matches(control)) continue;
        if (!members.Has(row.needs) || (row.needs_tabs && !has_tabs)) continue;
        return row.skinner;
    }
    return SkinnerKind::None;
}

SkinnerKind ChooseDialogSkinner(const std::string& lower_class, uint32_t style, const TSkinControls& members) {
    auto when = [&](TSkinControlType needs, SkinnerKind kind) {
        return members.Has(needs) ? kind : SkinnerKind::None;
    };
    if (lower_class == "button") {
        switch (style & 0xF) {
        case 0:  // push button
        case 1:  // default push button
            return when(xcButton, SkinnerKind::Button);
        case 2:
        case 3:
        case 5:
        case 6:  // the check-box types
            return when(xcCheckBox, SkinnerKind::CheckBox);
        case 4:
        case 9:  // the radio-button types
            return when(xcRadioButton, SkinnerKind::RadioButton);
        default:  // group box, owner-drawn and the rest keep their look
            return SkinnerKind::None;
        }
    }
    if (lower_class == "combobox") return (style & 3) == 1 ? SkinnerKind::None : when(xcCombo, SkinnerKind::ComBox);
    if (lower_class == "comboboxex32") return when(xcCombo, SkinnerKind::ComBox);
    if (lower_class == "scrollbar") return SkinnerKind::Sizer;
    if (lower_class == "systabcontrol32")
        return (style & kTabOwnerDraw) ? SkinnerKind::None : when(xcTab, SkinnerKind::Tab);
    if (lower_class == "edit") return when(xcEdit, SkinnerKind::Edit);
    return SkinnerKind::None;
}

ScanKind KindFromWindowClass(const std::string& lower_class, uint32_t style) {
    if (lower_class == "button") {
        switch (style & 0xF) {
        case 0:
        case 1: return ScanKind::PushButton;
        case 2:
        case 3:
        case 5:
        case 6: return ScanKind::CheckBox;
        case 4:
        case 9: return ScanKind::RadioButton;
        case 7: return ScanKind::GroupBox;
        case 11: return ScanKind::BitBtn;  // owner-drawn: drawn as a bitmap button
        default: return ScanKind::Other;
        }
    }
    if (lower_class == "edit") return (style & kMultiLine) ? ScanKind::Memo : ScanKind::Edit;
    if (lower_class == "listbox") return ScanKind::ListBox;
    if (lower_class == "combobox" || lower_class == "comboboxex32") return ScanKind::ComboBox;
    if (lower_class == "syslistview32") return ScanKind::ListView;
    if (lower_class == "systreeview32") return ScanKind::TreeView;
    if (lower_class == "msctls_progress32") return ScanKind::ProgressBar;
    if (lower_class == "msctls_trackbar32") return ScanKind::TrackBar;
    if (lower_class == "msctls_updown32") return ScanKind::UpDown;
    if (lower_class == "msctls_statusbar32") return ScanKind::StatusBar;
    if (lower_class == "systabcontrol32") return (style & kTabOwnerDraw) ? ScanKind::Other : ScanKind::Tab;
    if (lower_class == "scrollbar") return ScanKind::ScrollBar;
    if (lower_class == "sysheader32") return ScanKind::Header;
    if (lower_class == "toolbarwindow32") return ScanKind::ToolBar;
    if (lower_class == "corvellapanel") return ScanKind::Panel;  // our forms' panel window
    return ScanKind::Other;
}

const char* SkinnerName(SkinnerKind kind) {
    switch (kind) {
    case SkinnerKind::None: return "";
    case SkinnerKind::Button: return "TSkinButton";
    case SkinnerKind::BitButton: return "TSkinBitButton";
    case SkinnerKind::SpeedButton: return "TSkinSpeedButton";
    case SkinnerKind::CheckBox: return "TSkinCheckBox";
    case SkinnerKind::RadioButton: return "TSkinRadioButton";
    case SkinnerKind::Box: return "TSkinBox";
    case SkinnerKind::RadioGroup: return "TSkinBox";
    case SkinnerKind::StatusBar: return "TSkinStatusBar";
    case SkinnerKind::Tab: return "TSkinTab";
    case SkinnerKind::Tab31: return "TSkinTab31";
    case SkinnerKind::TrackBar: return "TSkinTrackBar";
    case SkinnerKind::UpDown: return "TSkinUpDown";
    case SkinnerKind::Progress: return "TSkinProgress";
    case SkinnerKind::Edit: return "TSkinEdit";
    case SkinnerKind::ComBox: return "TSkinComBox";
    case SkinnerKind::ScrollBar: return "TSkinScrollBar";
    case SkinnerKind::ListView: return "TSkinListView";
    case SkinnerKind::ScControl: return "TSkinScControl";
    case SkinnerKind::Sizer: return "TSkinSizer";
    case SkinnerKind::Header: return "TSkinHeader";
    }
    return "";
}
