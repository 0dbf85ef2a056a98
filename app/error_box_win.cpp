#include "app/error_box_win.h"

#include "app/application_win.h"
#include "app/utf8.h"

#include <windows.h>

namespace {
ErrorBoxSink g_sink = nullptr;
}

void SetErrorBoxSink(ErrorBoxSink sink) { g_sink = sink; }

void ShowErrorText(const std::wstring& text) {
    if (g_sink) {
        g_sink(text);
        return;
    }
    MessageBoxW(GetActiveWindow(), text.c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

void ShowErrorBox(const std::exception& error) { ShowErrorText(WideFromUtf8(error.what())); }
