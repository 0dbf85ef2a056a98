// corvella.exe: creates the application's windows, the main window shown
// and the others hidden, and runs the message loop until the main window
// closes.
#include "app/application_win.h"
#include "app/error_box_win.h"
#include "app/forms_win.h"
#include "app/frmabout_win.h"
#include "app/frmmain_win.h"
#include "app/frmset_win.h"
#include "swf/sourcefm_win.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> CommandLineArguments() {
    std::vector<std::wstring> arguments;
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!list) return arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(list[i]);
    LocalFree(list);
    return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);
    ApplicationWindow();

    try {
        Tfrmmain::Options options;
        options.arguments = CommandLineArguments();
        Tfrmmain frmmain(options);
        Tfrmabout frmabout;
        Tfrmset frmset;
        Tsourcefm sourcefm;
        Forms() = {&frmmain, &frmabout, &frmset, &sourcefm};

        frmmain.Create();
        frmabout.Create();
        frmset.Create();
        sourcefm.Create();
        frmmain.Show();
        int code = RunMessageLoop();
        Forms() = {};
        OleUninitialize();
        return code;
    } catch (const std::exception& error) {
        ShowErrorBox(error);
        return 1;
    }
}
