// Set-up shared by the tests of the extraction window and the main window's
// tools: the main window and the extraction window for a program folder of
// the test's own (with its "temp" folder), and the question boxes and save
// dialogs answered by the test.
#pragma once

#include "app_test_support.h"

#include "app/prompts_win.h"
#include "swf/sourcefm_win.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tools_test {

namespace fs = std::filesystem;

// The movies of the extraction corpus, seen from Wine.
inline fs::path CorpusMovie(const char* name) { return fs::path(L"Z:\\work\\shared\\corpus\\extract") / name; }

inline std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

class ToolsTest : public app_test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        temp_ = folder_ / "temp";
        fs::create_directories(temp_);
        SetSaveDialogHook([this](const SaveDialogRequest& request) {
            dialogs_.push_back(request);
            return dialog_answer_;
        });
        SetQuestionHook([this](const std::wstring& text, const std::wstring& caption) {
            questions_.emplace_back(text, caption);
            return answer_yes_;
        });
    }

    void TearDown() override {
        SetSaveDialogHook({});
        SetQuestionHook({});
        Forms().sourcefm = nullptr;
        sourcefm_.reset();
        MainWindowTest::TearDown();
    }

    Tsourcefm& MakeSourcefm() {
        sourcefm_ = std::make_unique<Tsourcefm>();
        sourcefm_->Create(folder_.wstring());
        Forms().sourcefm = sourcefm_.get();
        return *sourcefm_;
    }

    // Appends a playlist entry as the playlist code shows it: the label in
    // ListBox1 and the path as a line of Memo1.
    static void AddEntry(Tfrmmain& form, const std::wstring& path) { form.AppendEntry(path); }

    static void SelectEntry(Tfrmmain& form, int index) {
        SendMessageW(form.ControlWindow(L"ListBox1"), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }

    std::vector<std::wstring> Memo2Lines() const { return Lines(TextOf(sourcefm_->Control(L"Memo2"))); }

    fs::path temp_;
    std::unique_ptr<Tsourcefm> sourcefm_;
    std::optional<std::wstring> dialog_answer_;
    bool answer_yes_ = true;
    std::vector<SaveDialogRequest> dialogs_;
    std::vector<std::pair<std::wstring, std::wstring>> questions_;
};

}  // namespace tools_test
