#include "app/shortcut.h"

int EncodeShortcut(const ShortcutParts& parts) {
    int value = parts.key & kShortcutKeyMask;
    if (parts.shift) value += kShortcutShift;
    if (parts.ctrl) value += kShortcutCtrl;
    if (parts.alt) value += kShortcutAlt;
    return value;
}

ShortcutParts DecodeShortcut(int shortcut) {
    ShortcutParts parts;
    parts.key = shortcut & kShortcutKeyMask;
    parts.shift = (shortcut & kShortcutShift) != 0;
    parts.ctrl = (shortcut & kShortcutCtrl) != 0;
    parts.alt = (shortcut & kShortcutAlt) != 0;
    return parts;
}

namespace {

std::wstring KeyName(int key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= kKeyF1 && key <= kKeyF1 + 23)
        return L"F" + std::to_wstring(key - kKeyF1 + 1);
    switch (key) {
    case kKeyEnter: return L"Enter";
    case 0x08: return L"BkSp";
    case 0x09: return L"Tab";
    case 0x1B: return L"Esc";
    case 0x20: return L"Space";
    case 0x21: return L"PgUp";
    case 0x22: return L"PgDn";
    case 0x23: return L"End";
    case 0x24: return L"Home";
    case 0x25: return L"Left";
    case 0x26: return L"Up";
    case 0x27: return L"Right";
    case 0x28: return L"Down";
    case 0x2D: return L"Ins";
    case 0x2E: return L"Del";
    default: return L"";
    }
}

}  // namespace

std::wstring ShortcutText(int shortcut) {
    ShortcutParts parts = DecodeShortcut(shortcut);
    std::wstring key = KeyName(parts.key);
    if (key.empty()) return L"";
    std::wstring text;
    if (parts.shift) text += L"Shift+";
    if (parts.ctrl) text += L"Ctrl+";
    if (parts.alt) text += L"Alt+";
    return text + key;
}
