// The program's default error box: every failure that is not handled where
// it happens ends here and is shown as a message box with its text.
#pragma once

#include <exception>
#include <string>

// Where error texts go instead of the message box (tests); nullptr restores
// the message box.
using ErrorBoxSink = void (*)(const std::wstring& text);
void SetErrorBoxSink(ErrorBoxSink sink);

// Shows error.what() (UTF-8) in the error box.
void ShowErrorBox(const std::exception& error);
void ShowErrorText(const std::wstring& text);
