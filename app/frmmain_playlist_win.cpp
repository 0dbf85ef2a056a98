// The playlist of the main window and the ways files enter it: the open
// dialog, files dropped on the window, the command line, list files and the
// media search; and the file types the program registers for itself.
//
// The core Playlist holds the paths and labels; ListBox1 shows the labels
// and the hidden Memo1 holds the same paths, one per line. A multi-line edit
// takes seconds to grow by a hundred thousand lines, so Memo1's text is
// written only when something reads the control.
#include "app/frmmain_win.h"

#include "app/application_win.h"
#include "app/error_box_win.h"
#include "app/executable_path_win.h"
#include "app/prompts_win.h"
#include "app/stay_on_top_win.h"
#include "app/trace.h"
#include "app/utf8.h"
#include "app/wide_text_win.h"
#include "flash/flash_control_win.h"
#include "playlist/file_association.h"
#include "playlist/intake.h"
#include "playlist/media_search.h"
#include "playlist/playlist_file.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <fstream>
#include <stdexcept>

namespace {

constexpr const wchar_t* kShellFoldersKey = L"SOFTWARE\\Microsoft\\windows\\currentversion\\explorer\\shell Folders";

std::wstring Trimmed(std::wstring_view text) {
    while (!text.empty() && text.front() <= L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() <= L' ') text.remove_suffix(1);
    return std::wstring(text);
}

std::wstring SystemMessage(LONG code) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? Trimmed(std::wstring_view(text, length)) : L"error " + std::to_wstring(code);
    if (text) LocalFree(text);
    return message;
}

// Shows an open or save dialog of the main window's table with an empty file
// name. False when it was cancelled. With multiple selection every chosen
// file comes back as folder + name, in the order the dialog lists them.
bool RunFileDialog(HWND owner, const FileDialogRecord& record, std::vector<std::wstring>* files) {
    std::wstring filter = FilterToDoubleNul(record.filter);
    std::wstring extension = record.defaultExtension;
    if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);
    std::vector<wchar_t> buffer(record.multiSelect ? 65536 : MAX_PATH * 4, L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(record.filterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = record.title.empty() ? nullptr : record.title.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.lpstrInitialDir = record.initialFolder.empty() ? nullptr : record.initialFolder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (record.multiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
    BOOL chosen = record.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) return false;

    // One file: its full path. Several: the folder, then each name.
    std::wstring first(buffer.data());
    const wchar_t* name = buffer.data() + first.size() + 1;
    if (!record.multiSelect || *name == L'\0') {
        if (!first.empty()) files->push_back(first);
        return !files->empty();
    }
    if (first.back() != L'\\') first += L'\\';
    for (; *name; name += wcslen(name) + 1) files->push_back(first + name);
    return !files->empty();
}

bool BrowseForFolder(HWND owner, const wchar_t* title, std::wstring* folder) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return false;
    wchar_t path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListW(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    if (ok) *folder = path;
    return ok;
}

void WriteClassDefaultValue(const std::wstring& key, const std::wstring& value) {
    HKEY handle = nullptr;
    LONG status =
        RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    }
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(Utf8FromWide(L"Cannot write the registry key HKEY_CLASSES_ROOT\\" + key + L": " +
                                            SystemMessage(status)));
}

}  // namespace

// The playlist and its two controls.

int Tfrmmain::ListEntryCount() const { return static_cast<int>(playlist_.Count()); }

std::wstring Tfrmmain::ListEntryPath(int index) const {
    return index >= 0 && index < ListEntryCount() ? playlist_.Path(static_cast<size_t>(index)) : std::wstring();
}

int Tfrmmain::ListSelection() const {
    return static_cast<int>(SendMessageW(controls_.Window(L"ListBox1"), LB_GETCURSEL, 0, 0));
}

void Tfrmmain::SelectListEntry(int index) { SendMessageW(controls_.Window(L"ListBox1"), LB_SETCURSEL, index, 0); }

void Tfrmmain::AppendEntry(const std::wstring& path) {
    playlist_.Append(path);
    ShowEntriesFrom(playlist_.Count() - 1);
}

void Tfrmmain::AppendEntries(const std::vector<std::wstring>& paths) {
    size_t first = playlist_.Count();
    for (const std::wstring& path : paths) playlist_.Append(path);
    if (playlist_.Count() > first) ShowEntriesFrom(first);
}

void Tfrmmain::AppendFoundEntry(const std::wstring& path, const std::wstring& file_name) {
    playlist_.AppendFound(path, file_name);
    ShowEntriesFrom(playlist_.Count() - 1);
}

// Adds the labels of the entries from first on to the list box, which is not
// redrawn while a batch goes in; the path list is brought up to date when it
// is next read.
void Tfrmmain::ShowEntriesFrom(size_t first) {
    HWND list = controls_.Window(L"ListBox1");
    const size_t count = playlist_.Count() - first;
    if (count > 1) {
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LB_INITSTORAGE, count, count * 32 * sizeof(wchar_t));
    }
    // The labels go straight to the list box's own window procedure: under
    // Wine every message through a comctl32 subclass (ours, the hint's) costs
    // tens of microseconds, which made a 100,000-entry list take seconds.
    // Neither subclass looks at LB_ADDSTRING.
    auto add_string = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
    for (size_t i = first; i < playlist_.Count(); ++i)
        CallWindowProcW(add_string, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(playlist_.Label(i).c_str()));
    if (count > 1) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    MarkPathListStale();
}

void Tfrmmain::RebuildPlaylistControls() {
    SendMessageW(controls_.Window(L"ListBox1"), LB_RESETCONTENT, 0, 0);
    ShowEntriesFrom(0);
}

void Tfrmmain::MarkPathListStale() {
    path_list_stale_ = true;
    SetWindowSubclass(controls_.Window(L"Memo1"), PathListProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

// Memo1's messages: anything that reads or edits its text first writes the
// playlist's paths into it, each line ended by CR LF.
LRESULT CALLBACK Tfrmmain::PathListProc(HWND memo, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* form = reinterpret_cast<Tfrmmain*>(data);
    if (message == WM_SETTEXT) form->path_list_stale_ = false;
    bool touches_text = message == WM_GETTEXT || message == WM_GETTEXTLENGTH ||
                        (message >= EM_GETSEL && message <= EM_GETIMESTATUS);
    if (touches_text && form->path_list_stale_) {
        form->path_list_stale_ = false;
        std::wstring lines;
        for (size_t i = 0; i < form->playlist_.Count(); ++i) lines += form->playlist_.Path(i) + L"\r\n";
        DefSubclassProc(memo, EM_SETLIMITTEXT, 0, 0);
        DefSubclassProc(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lines.c_str()));
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(memo, PathListProc, 1);
    return DefSubclassProc(memo, message, wparam, lparam);
}

void Tfrmmain::N43Click() {
    int index = ListSelection();
    if (index < 0) return;
    playlist_.Remove(static_cast<size_t>(index));
    RebuildPlaylistControls();
}

void Tfrmmain::N47Click() {
    playlist_.Clear();
    RebuildPlaylistControls();
}

// Open files.

void Tfrmmain::N55Click() {
    MakeNotTopmost(window_);
    OpenMediaFiles();
    MakeTopmost(window_);
    ApplyStayOnTop();
}

void Tfrmmain::N42Click() { N55Click(); }

void Tfrmmain::OpenMediaFiles() {
    std::vector<std::wstring> files;
    if (!RunFileDialog(window_, Dialog(L"Dialog1"), &files)) return;
    int before = ListEntryCount();
    for (const std::wstring& file : files) AppendEntry(file);
    if (before == 0) {
        SelectListEntry(0);
        PlayFile(ListEntryPath(0));
    } else {
        PlayFile(files.front());
        SelectListEntry(before);
    }
}

// Dropped files and the right-click on the Flash area.

void Tfrmmain::mymess(MSG& msg, bool& handled) {
    if (!window_) return;
    if (msg.message == WM_DROPFILES && (msg.hwnd == window_ || IsChild(window_, msg.hwnd))) {
        DropFiles(msg.wParam);
        return;
    }
    if (msg.message == WM_RBUTTONDOWN && flash_ && msg.hwnd == flash_->Window()) {
        POINT cursor{};
        GetCursorPos(&cursor);
        menu1_->Popup(window_, cursor.x, cursor.y);
        handled = true;
    }
}

void Tfrmmain::DropFiles(WPARAM drop_handle) {
    HDROP drop = reinterpret_cast<HDROP>(drop_handle);
    int before = ListEntryCount();
    try {
        UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            // Each path is fetched whole, whatever its length.
            UINT length = DragQueryFileW(drop, i, nullptr, 0);
            std::wstring path(length + 1, L'\0');
            path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
            DropIntake intake = ClassifyDroppedFile(path);
            try {
                if (intake.load_list) LoadPlaylistFile(path);
            } catch (const std::exception&) {
                // An unreadable list file is passed over without a message;
                // the other dropped files still come in.
            }
            if (intake.append) AppendEntry(path);
        }
        if (ListEntryCount() > before) {
            SelectListEntry(before);
            PlayFile(ListEntryPath(before));
        }
    } catch (const std::exception&) {
        // A file that cannot be played ends the drop without a message.
    }
    DragFinish(drop);
}

// The command line: only the first argument.

void Tfrmmain::TakeCommandLine() {
    TraceStep("take command line");
    if (options_.arguments.empty()) return;
    CommandLineIntake intake = ClassifyCommandLineArgument(options_.arguments.front());
    if (intake.play_at_show) {
        AppendEntry(intake.path);
        SelectListEntry(0);
        PlayAtShow = true;
    }
    if (intake.load_list) {
        LoadPlaylistFile(intake.path);
        if (ListEntryCount() > 0) {
            SelectListEntry(0);
            PlayFile(ListEntryPath(0));
        }
    }
}

// List files.

void Tfrmmain::LoadPlaylistFile(const std::wstring& path) {
    // The paths are read without a folder and joined to the list's folder
    // here, in wide characters: a folder name outside the ANSI code page
    // would not survive the way through it.
    size_t cut = path.find_last_of(L"\\/:");
    std::wstring folder = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
    std::string name = WideToAnsi(path.substr(folder.size()));
    LoadedPlaylist loaded;
    if (!::LoadPlaylistFile(std::filesystem::path(path), name, &loaded))
        throw std::runtime_error("Cannot open file \"" + Utf8FromWide(path) + "\".");
    bool relative_in_folder = loaded.format != PlaylistFormat::kPlainList;
    std::vector<std::wstring> paths;
    std::wstring scratch;
    for (const std::string& line : loaded.paths) {
        std::wstring entry = AnsiToWide(line);
        if (relative_in_folder && !IsAbsolutePlaylistPath(line)) entry = folder + entry;
        paths.push_back(entry);
        scratch += entry + L"\r\n";
    }
    SetControlText(L"Memo2", scratch);

    int before = ListEntryCount();
    AppendEntries(paths);
    if (loaded.format != PlaylistFormat::kPlainList || ListEntryCount() == before) return;
    if (before == 0) {
        PlayFile(ListEntryPath(0));
        SelectListEntry(0);
    } else {
        SelectListEntry(before);
        PlayFile(ListEntryPath(before));
    }
}

void Tfrmmain::SavePlaylistFile(const std::wstring& path) const {
    std::vector<std::string> paths;
    for (const std::wstring& entry : playlist_.Paths()) paths.push_back(WideToAnsi(entry));
    std::string text = LisText(paths);
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("Cannot write file \"" + Utf8FromWide(path) + "\".");
}

void Tfrmmain::N44Click() {
    MakeNotTopmost(window_);
    std::vector<std::wstring> files;
    if (RunFileDialog(window_, Dialog(L"OpenDialog2"), &files)) {
        try {
            LoadPlaylistFile(files.front());
        } catch (const std::exception& error) {
            ShowErrorBox(error);
        }
    }
    if (!window_) return;
    MakeTopmost(window_);
    ApplyStayOnTop();
}

void Tfrmmain::N32Click() { N44Click(); }

void Tfrmmain::N45Click() {
    std::vector<std::wstring> files;
    if (!RunFileDialog(window_, Dialog(L"SaveDialog2"), &files)) return;
    const std::wstring& file = files.front();
    if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES && !AskReplaceFile(window_)) return;
    try {
        SavePlaylistFile(file);
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
}

// The media search.

void Tfrmmain::SearchMediaFiles(const std::wstring& folder) {
    HWND bar = controls_.Window(L"ProgressBar2");
    SendMessageW(bar, PBM_SETPOS, 0, 0);
    MediaSearch search(folder);
    // The bar is shared with a search started inside this one: it never moves back.
    auto advance_bar = [&] {
        if (search.Progress() > static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)))
            SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(search.Progress()), 0);
    };
    bool finished = RunMediaSearch(
        search, SearchStopped,
        [&](const MediaSearch::Text& next) {
            advance_bar();
            ProcessPendingMessages();
            // The window was closed meanwhile: the search has nowhere to go.
            if (!window_) SearchStopped = true;
            SetControlText(L"zzcz", next);
        },
        [&](const MediaSearch::Found& file) { AppendFoundEntry(file.path, file.name); });
    advance_bar();
    if (finished) controls_.SetVisible(ControlIndex(L"Panel4"), false);
}

void Tfrmmain::ShowSearchPanel() {
    int panel = ControlIndex(L"Panel4");
    controls_.SetVisible(panel, true);
    SetWindowPos(controls_.Window(panel), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::wstring Tfrmmain::GetBrowserCacheFolder() const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    std::wstring folder;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, L"Cache", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        if (RegQueryValueExW(key, L"Cache", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bytes) ==
            ERROR_SUCCESS)
            folder = buffer.data();
    }
    RegCloseKey(key);
    return folder;
}

void Tfrmmain::N39Click() {
    MakeNotTopmost(window_);
    std::wstring folder;
    if (BrowseForFolder(window_, L"请选择要查找的文件夹", &folder)) {
        ShowWindow(window_, SW_SHOW);
        SearchStopped = false;
        ShowSearchPanel();
        SearchMediaFiles(folder);
    }
    if (!window_) return;
    MakeTopmost(window_);
    ApplyStayOnTop();
}

void Tfrmmain::IE1Click() {
    SearchStopped = false;
    ShowSearchPanel();
    SearchMediaFiles(Trimmed(GetBrowserCacheFolder()));
}

void Tfrmmain::N41Click() {
    SearchStopped = true;
    controls_.SetVisible(ControlIndex(L"Panel4"), false);
}

// File types.

void Tfrmmain::RegisterFileTypes() {
    std::wstring program = ExecutablePath();
    for (const FileTypeAssociation& type : PlayerFileTypes())
        RegisterFileType(type.extension, type.type_name, type.description, program, program);
}

void Tfrmmain::RegisterFileType(const std::wstring& extension, const std::wstring& type_name,
                                const std::wstring& description, const std::wstring& command,
                                const std::wstring& icon) {
    for (const RegistryDefaultValue& value : FileTypeValues(extension, type_name, description, command, icon))
        WriteClassDefaultValue(value.key, value.value);
}

void Tfrmmain::WriteAssociations() {
    TraceStep("write associations");
    // A user who may not change the class registry is told so; start-up and
    // exit go on.
    try {
        RegisterFileTypes();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
}
