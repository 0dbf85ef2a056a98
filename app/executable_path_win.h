// The full path of the running program's executable file.
#pragma once

#include <string>

std::wstring ExecutablePath();
