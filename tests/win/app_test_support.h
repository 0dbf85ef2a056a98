// Shared set-up of the main window tests: a program folder of its own per
// test, the start-up trace and the error box captured instead of shown.
#pragma once

#include "app/error_box_win.h"
#include "app/forms_win.h"
#include "app/frmmain_win.h"
#include "app/trace.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace app_test {

inline std::vector<std::wstring>& CapturedErrors() {
    static std::vector<std::wstring> errors;
    return errors;
}

inline void CaptureError(const std::wstring& text) { CapturedErrors().push_back(text); }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        folder_ = std::filesystem::temp_directory_path() /
                  (L"corvella-app-" + Widen(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        CapturedErrors().clear();
        SetTraceSink(&trace_);
        SetErrorBoxSink(CaptureError);
    }

    void TearDown() override {
        Forms() = {};
        form_.reset();
        SetTraceSink(nullptr);
        SetErrorBoxSink(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Creates the main window for program_folder (the test's folder when empty).
    Tfrmmain& MakeForm(const std::wstring& program_folder = L"") {
        Tfrmmain::Options options;
        options.program_folder = program_folder.empty() ? folder_.wstring() : program_folder;
        options.ends_program = false;
        form_ = std::make_unique<Tfrmmain>(options);
        Forms().frmmain = form_.get();
        form_->Create();
        return *form_;
    }

    static std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

    static std::wstring WindowText(HWND window) {
        wchar_t text[512] = {};
        GetWindowTextW(window, text, 512);
        return text;
    }

    static bool IsTopmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

    static RECT WindowRect(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }

    std::filesystem::path folder_;
    std::vector<std::string> trace_;
    std::unique_ptr<Tfrmmain> form_;
};

}  // namespace app_test
