#include "app/prompts_win.h"

#include "app/main_dialogs.h"

#include <commdlg.h>

#include <vector>

namespace {

QuestionHook& Question() {
    static QuestionHook hook;
    return hook;
}

SaveDialogHook& SaveDialog() {
    static SaveDialogHook hook;
    return hook;
}

}  // namespace

void SetQuestionHook(QuestionHook hook) { Question() = std::move(hook); }
void SetSaveDialogHook(SaveDialogHook hook) { SaveDialog() = std::move(hook); }

bool AskYesNo(HWND owner, const std::wstring& text, const std::wstring& caption) {
    if (Question()) return Question()(text, caption);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool AskReplaceFile(HWND owner) { return AskYesNo(owner, L"文件已存在是否替换？", L"信息提示"); }

std::optional<std::wstring> RunSaveDialog(HWND owner, const SaveDialogRequest& request) {
    if (SaveDialog()) return SaveDialog()(request);
    std::wstring filter = FilterToDoubleNul(request.filter);
    std::vector<wchar_t> file(32768, L'\0');
    request.file_name.copy(file.data(), file.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = request.default_extension.empty() ? nullptr : request.default_extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) return std::nullopt;
    return std::wstring(file.data());
}
