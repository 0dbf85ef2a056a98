// The questions the program asks (Yes/No message boxes) and its save file
// dialogs. Tests replace both with hooks that answer at once.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// A Yes/No message box with the question icon; true for Yes.
bool AskYesNo(HWND owner, const std::wstring& text, const std::wstring& caption);
// The main window's overwrite question: "文件已存在是否替换？", caption "信息提示".
bool AskReplaceFile(HWND owner);

struct SaveDialogRequest {
    std::wstring title;               // empty: the platform's title
    std::wstring filter;              // "caption|patterns|caption|patterns..."
    std::wstring default_extension;   // without the dot
    std::wstring file_name;           // proposed name
};

// Runs a save dialog; the chosen path, or nothing when it was cancelled.
std::optional<std::wstring> RunSaveDialog(HWND owner, const SaveDialogRequest& request);

// Hooks that stand in for the message box and the dialog; an empty function
// restores the real one.
using QuestionHook = std::function<bool(const std::wstring& text, const std::wstring& caption)>;
void SetQuestionHook(QuestionHook hook);
using SaveDialogHook = std::function<std::optional<std::wstring>(const SaveDialogRequest& request)>;
void SetSaveDialogHook(SaveDialogHook hook);
