// Shared helpers of the playlist tests: the labels and paths as the
// controls show them, drop handles as the shell builds them, and a timer
// that acts on a modal window (menu, dialog, message box) while it runs.
#pragma once

#include "app_test_support.h"

#include "app/application_win.h"
#include "app/wide_text_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace playlist_test {

inline std::vector<std::wstring> Labels(Tfrmmain& form) {
    HWND list = form.ControlWindow(L"ListBox1");
    std::vector<std::wstring> labels;
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        labels.push_back(text);
    }
    return labels;
}

inline int Selection(Tfrmmain& form) {
    return static_cast<int>(SendMessageW(form.ControlWindow(L"ListBox1"), LB_GETCURSEL, 0, 0));
}

// The paths of the hidden path list, one a line.
inline std::vector<std::wstring> MemoLines(Tfrmmain& form, const wchar_t* memo = L"Memo1") {
    std::wstring text = form.ControlText(memo);
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

inline int CountOf(const std::vector<std::string>& trace, const std::string& step) {
    int count = 0;
    for (const std::string& s : trace) count += s == step;
    return count;
}

// A drop handle holding wide paths, as the shell gives one to WM_DROPFILES.
inline HGLOBAL MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const std::wstring& path : paths) chars += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        path.copy(names, path.size());
        names += path.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

// A drop handle that has been given back: the memory behind it is gone.
inline bool DropReleased(HGLOBAL drop) { return GlobalFlags(drop) == GMEM_INVALID_HANDLE; }

// Posts the drop to the window and lets the message loop deliver it;
// returns the handle, which the window must have released by then.
inline HGLOBAL DropOn(Tfrmmain& form, const std::vector<std::wstring>& paths) {
    HGLOBAL drop = MakeDrop(paths);
    PostMessageW(form.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    ProcessPendingMessages();
    return drop;
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs `act` from a thread timer every 100 ms until it returns true or
// `give_up_ms` has passed; the timer keeps running inside modal loops.
class ModalActor {
public:
    explicit ModalActor(std::function<bool()> act, int give_up_ms = 5000) : act_(std::move(act)) {
        current_ = this;
        ticks_left_ = give_up_ms / 100;
        timer_ = SetTimer(nullptr, 0, 100, Tick);
    }
    ~ModalActor() {
        if (timer_) KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool Done() const { return done_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalActor* self = current_;
        if (!self || self->done_) return;
        if (self->act_() || --self->ticks_left_ <= 0) {
            self->done_ = true;
            KillTimer(nullptr, self->timer_);
            self->timer_ = 0;
        }
    }

    static inline ModalActor* current_ = nullptr;
    std::function<bool()> act_;
    UINT_PTR timer_ = 0;
    int ticks_left_ = 0;
    bool done_ = false;
};

// A visible top-level window of this thread with the class and, when given,
// the caption.
struct ThreadWindowSearch {
    const wchar_t* window_class;
    const wchar_t* caption;
    HWND found;
};

inline BOOL CALLBACK MatchThreadWindow(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<ThreadWindowSearch*>(data);
    wchar_t name[64] = {}, text[256] = {};
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, text, 256);
    if (IsWindowVisible(window) && std::wstring(name) == s->window_class &&
        (!s->caption || std::wstring(text) == s->caption)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

inline HWND FindThreadWindow(const wchar_t* window_class, const wchar_t* caption = nullptr) {
    ThreadWindowSearch search{window_class, caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace playlist_test
