// Which control skinner a control gets. Our forms describe their controls
// by kind in a control table; the scan walks the table in order and asks
// ChooseSkinner for each row. Plain dialogs have no table: their child
// windows are taken by window class (ChooseDialogSkinner).
#pragma once

#include <cstdint>
#include <string>

#include "skin/skin_data.h"

// What a control is, as far as skinning cares.
enum class ScanKind {
    Other, Panel, GroupBox, RadioGroup, BitBtn, SpeedButton, PushButton, CheckBox, RadioButton, ProgressBar,
    TrackBar, UpDown, ListBox, ListView, Memo, Edit, ComboBox, StatusBar, Tab, TabSet, ScrollBar, ToolBar,
    TreeView, Header,
};

enum class SkinnerKind {
    None,         // the control keeps the platform's look
    Button, BitButton, SpeedButton, CheckBox, RadioButton,
    Box,          // panel or group box: colour from the skin; the scan goes into it
    RadioGroup,   // its radio buttons, then a box
    StatusBar, Tab, Tab31, TrackBar, UpDown, Progress, Edit, ComBox, ScrollBar, ListView, ScControl, Sizer,
    Header,
};

struct ScanControl {
    ScanKind kind = ScanKind::Other;
    int32_t tag = 0;
    bool scroll_style = false;   // WS_VSCROLL or WS_HSCROLL
};

// True when the control is left out by its Tag (Tag mod 100 = DisableTag).
bool DisabledByTag(int32_t tag, int32_t disable_tag);

// The first row of the skinning table that matches the control and whose
// SkinControls member is present; a row whose member is missing lets the
// search go on down the table. has_tabs: the skin has a Tabs element.
SkinnerKind ChooseSkinner(const ScanControl& control, const TSkinControls& members, bool has_tabs);

// The skinner of a child window of a plain dialog, by lower-case window
// class and style. Owner-drawn and group-box buttons keep their look.
SkinnerKind ChooseDialogSkinner(const std::string& lower_class, uint32_t style, const TSkinControls& members);

// The kind of a window of one of our forms that has no table row, by its
// lower-case class and style.
ScanKind KindFromWindowClass(const std::string& lower_class, uint32_t style);

// "TSkinButton"-style names, for traces and tests.
const char* SkinnerName(SkinnerKind kind);
