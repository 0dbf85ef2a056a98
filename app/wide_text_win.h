// Conversions between the wide strings of the Win32 layer and the ANSI code
// page byte strings of the files (UTF-8 is in app/utf8.h).
#pragma once

#include <string>
#include <string_view>

// The system's ANSI code page (936 on the target systems).
std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);
