// Keyboard shortcuts of menu items, stored as one integer: the virtual-key
// code plus a flag per modifier (Shift 8192, Ctrl 16384, Alt 32768).
#pragma once

#include <string>

constexpr int kShortcutShift = 8192;
constexpr int kShortcutCtrl = 16384;
constexpr int kShortcutAlt = 32768;
constexpr int kShortcutKeyMask = 0xFF;

// Virtual-key codes the menus use (the same values as the platform's).
constexpr int kKeyEnter = 0x0D;
constexpr int kKeyF1 = 0x70;
constexpr int kKeyF12 = 0x7B;

struct ShortcutParts {
    int key = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

int EncodeShortcut(const ShortcutParts& parts);
ShortcutParts DecodeShortcut(int shortcut);
// The text shown after the caption: "Ctrl+O", "Alt+Enter", "F12"; empty for 0.
std::wstring ShortcutText(int shortcut);
