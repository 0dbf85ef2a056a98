// The interface texts of the two languages: for each menu item, button and
// check box of the main window, the text written when the interface switches
// to Chinese (code 1) and to English (code 2). The six transport buttons get
// their hint rewritten instead of their caption, in Chinese for both codes.
#pragma once

#include <string>
#include <vector>

inline constexpr int kLanguageChinese = 1;
inline constexpr int kLanguageEnglish = 2;

// The main window's title after a switch, whatever the code.
inline constexpr const wchar_t* kLanguageTitle = L"Corvella3.0 ";

enum class CaptionProperty { Caption, Hint };

struct CaptionRow {
    const wchar_t* name;          // menu item or control
    CaptionProperty property;
    const wchar_t* chinese;
    const wchar_t* english;
};

// The rows in the order they are written.
const std::vector<CaptionRow>& CaptionTable();

// The text of row for a language code; nullptr for a code that is neither
// Chinese nor English (nothing is written then).
const wchar_t* CaptionFor(const CaptionRow& row, int code);
