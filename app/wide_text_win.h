// Conversions between the wide strings of the Win32 layer and the UTF-8 and
// ANSI code page byte strings of the portable core and of the files.
#pragma once

#include <string>
#include <string_view>

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
// The system's ANSI code page (936 on the target systems).
std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);
