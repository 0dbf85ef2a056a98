// UTF-8 and wide text (UTF-16 on Windows, UTF-32 elsewhere).
#pragma once

#include <string>
#include <string_view>

std::string Utf8FromWide(std::wstring_view text);
// Malformed bytes become U+FFFD, one for each byte that starts no valid
// sequence; unpaired surrogates do likewise the other way. NULs pass through.
std::wstring WideFromUtf8(std::string_view text);
