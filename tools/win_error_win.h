// The platform's failure text as an exception for the Win32 layer.
#pragma once

#include <windows.h>

#include <string>

// Throws std::runtime_error with the system message of error (GetLastError()
// by default), prefixed by what failed.
[[noreturn]] void ThrowLastError(const std::wstring& what, DWORD error = GetLastError());
