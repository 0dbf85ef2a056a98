// Path text rules of the Windows paths the tools handle: the file-name part
// follows the last "\", "/" or ":".
#pragma once

#include <string>

std::wstring FileNamePart(const std::wstring& path);
std::wstring TrimBlanks(const std::wstring& text);  // blanks and control characters
// The file-name part with its extension (from the last ".") replaced.
std::wstring ReplaceExtension(const std::wstring& name, const std::wstring& extension);
