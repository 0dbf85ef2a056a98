// Which handler of the main window each menu item, control and timer runs.
#pragma once

#include <string>

class Tfrmmain;

// Each returns false when name has no handler.
bool RunMenuHandler(Tfrmmain& form, const std::wstring& name);
bool RunControlClick(Tfrmmain& form, const std::wstring& name);
bool RunTimerHandler(Tfrmmain& form, const std::wstring& name);
bool HasMenuHandler(const std::wstring& name);
bool HasControlClick(const std::wstring& name);
