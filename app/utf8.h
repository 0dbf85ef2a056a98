// UTF-8 and wide text (UTF-16 on Windows, UTF-32 elsewhere).
#pragma once

#include <string>

std::string Utf8FromWide(const std::wstring& text);
// Malformed bytes become U+FFFD.
std::wstring WideFromUtf8(const std::string& text);
