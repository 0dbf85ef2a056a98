#include "swf/sourcefm_win.h"

#include "app/error_box_win.h"
#include "app/executable_path_win.h"
#include "app/forms_win.h"
#include "app/frmmain_win.h"
#include "app/prompts_win.h"
#include "app/secondary_window_win.h"
#include "app/stay_on_top_win.h"
#include "app/startup_files.h"
#include "app/utf8.h"
#include "swf/sourcefm_icons_win.h"
#include "tools/path_text.h"
#include "tools/win_error_win.h"

#include <algorithm>
#include <exception>

namespace fs = std::filesystem;

namespace {

struct ControlSpec {
    const wchar_t* name;
    const wchar_t* window_class;
    const wchar_t* text;
    DWORD style;
    int left, top, width, height;
    DWORD ex_style = 0;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

const ControlSpec kControls[] = {
    {L"Label1", L"STATIC", L"查看", kChild | SS_LEFT, 24, 19, 34, 12},
    {L"FlatComboBox1", L"COMBOBOX", L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 64, 16, 91, 120},
    {L"BitBtn1", L"BUTTON", L"导出文件", kChild | WS_TABSTOP | BS_PUSHBUTTON, 169, 14, 75, 25},
    {L"BitBtn2", L"BUTTON", L"返回", kChild | WS_TABSTOP | BS_PUSHBUTTON, 246, 14, 75, 25},
    {L"Memo2", L"EDIT", L"", kChild | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 330, 10,
     163, 33},
    {L"ListView1", WC_LISTVIEWW, L"",
     kChild | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 21, 48, 473, 217, WS_EX_CLIENTEDGE},
    {L"Label2", L"STATIC",
     L"1.在导出MP3文件时请找占用块数最大的文件先导出，那些才可能是你们要的东西！！！", kChild | SS_LEFT, 24, 270,
     480, 12},
    {L"Label3", L"STATIC", L"2.还有些文件里是没有Mp3音乐的.", kChild | SS_LEFT, 24, 288, 480, 12},
    {L"Memo1", L"EDIT", L"", WS_CHILD | ES_MULTILINE, 0, 0, 0, 0},
};

constexpr int kFirstControlId = 100;

struct ColumnSpec {
    const wchar_t* header;
    int width;
    int format;
};

const ColumnSpec kColumns[] = {
    {L"资源名", 150, LVCFMT_LEFT}, {L"TagID", 50, LVCFMT_RIGHT}, {L"ID", 50, LVCFMT_RIGHT},
    {L"占用块数", 60, LVCFMT_RIGHT}, {L"长度", 100, LVCFMT_RIGHT},
};

// The views of FlatComboBox1, in its order.
const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_REPORT};

const char* kChooseResource = "请选择要导出的资源!";
const char* kExtracted = "恭喜您，文件提取成功!";

void PlaceInBand(HWND window, HWND band) {
    SetWindowPos(window, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// The extension of a row's caption: from its last "." to the end, or empty.
std::wstring CaptionExtension(const std::wstring& caption) {
    size_t dot = caption.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : caption.substr(dot);
}

// The name the export proposes: the movie's file name, trimmed, less its
// last four characters, then the row's position.
std::wstring ProposedExportName(const std::wstring& swf_path, int row) {
    std::wstring name = TrimBlanks(FileNamePart(swf_path));
    name.resize(name.size() > 4 ? name.size() - 4 : 0);
    return name + std::to_wstring(row);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetListText(HWND list, int item, int column, const std::wstring& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

Tsourcefm::~Tsourcefm() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (font_) DeleteObject(font_);
    if (background_) DeleteObject(background_);
}

void Tsourcefm::Create(const std::wstring& program_folder) {
    program_folder_ = program_folder;
    const COLORREF background = RGB(70, 197, 243);
    background_ = CreateSolidBrush(background);
    SecondaryWindowSpec spec{kClassName, L"提取资源", kClientWidth, kClientHeight, WS_MINIMIZEBOX, background,
                             WindowProc};
    window_ = CreateSecondaryWindow(spec, this);
    if (!window_) return;
    CreateControls();
    FormCreate();
}

void Tsourcefm::CreateControls() {
    font_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
    int id = kFirstControlId;
    for (const ControlSpec& c : kControls) {
        HWND control = CreateWindowExW(c.ex_style, c.window_class, c.text, c.style, c.left, c.top, c.width, c.height,
                                       window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
                                       GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        controls_.push_back(control);
    }
    HWND combo = Control(L"FlatComboBox1");
    for (const wchar_t* view : {L"大图标", L"小图标", L"详细资料"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(view));
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SetUpListView();
}

void Tsourcefm::SetUpListView() {
    HWND list = Control(L"ListView1");
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const ColumnSpec& c : kColumns) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = c.format;
        column.cx = c.width;
        column.pszText = const_cast<wchar_t*>(c.header);
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
    }
    // The list view owns the image lists and destroys them with itself.
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(CreateResourceImageList(32)));
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(CreateResourceImageList(16)));
}

HWND Tsourcefm::Control(const std::wstring& name) const {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (name == kControls[i].name) return controls_[i];
    return nullptr;
}

LRESULT CALLBACK Tsourcefm::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Tsourcefm* self = SecondaryWindowOwner<Tsourcefm>(window, message, lparam);
    if (!self || !self->window_) return DefWindowProcW(window, message, wparam, lparam);
    return self->HandleMessage(message, wparam, lparam);
}

LRESULT Tsourcefm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND: {
        HWND control = reinterpret_cast<HWND>(lparam);
        int code = HIWORD(wparam);
        if (control == Control(L"BitBtn1") && code == BN_CLICKED) BitBtn1Click();
        if (control == Control(L"BitBtn2") && code == BN_CLICKED) BitBtn2Click();
        if (control == Control(L"FlatComboBox1") && code == CBN_SELCHANGE) FlatComboBox1Change();
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wparam);
        if (reinterpret_cast<HWND>(lparam) == Control(L"Memo2")) {
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(background_);
    }
    case WM_SHOWWINDOW:
        if (wparam) FormShow();
        break;
    case WM_CLOSE:
        FormClose();
        ShowWindow(window_, SW_HIDE);
        return 0;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

void Tsourcefm::FormCreate() {
    std::wstring folder = program_folder_.empty() ? ProgramFolderOf(ExecutablePath()) : program_folder_;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    TempFolder = folder + L"temp\\";
}

void Tsourcefm::init() {
    if (SwfPath.empty()) return;
    extractor_.init(fs::path(SwfPath));
    std::wstring information;
    for (const std::string& line : extractor_.InfoLines()) information += WideFromUtf8(line) + L"\r\n";
    SetWindowTextW(Control(L"Memo1"), information.c_str());
    ShowNewMessages();
    addtolistview();
}

void Tsourcefm::addtolistview() {
    extractor_.addtolistview();
    rows_.Build(extractor_);
    HWND list = Control(L"ListView1");
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const swf::ResourceRow& row : rows_.Rows()) {
        std::wstring caption = WideFromUtf8(row.caption);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.pszText = caption.data();
        item.iImage = row.icon;
        int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        SetListText(list, at, 1, std::to_wstring(row.tag_id));
        SetListText(list, at, 2, std::to_wstring(row.code));
        SetListText(list, at, 3, std::to_wstring(row.blocks));
        SetListText(list, at, 4, std::to_wstring(row.length));
        ++index;
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    ShowNewMessages();
}

void Tsourcefm::FormShow() { SpeedButton2Click(); }

void Tsourcefm::SpeedButton2Click() {
    addtolistview();
    FlatComboBox1Change();
}

void Tsourcefm::FlatComboBox1Change() {
    LRESULT choice = SendMessageW(Control(L"FlatComboBox1"), CB_GETCURSEL, 0, 0);
    if (choice < 0 || choice > 2) return;
    HWND list = Control(L"ListView1");
    LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    SetWindowLongPtrW(list, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | kViews[choice]);
    // Icon views lay their items out again for the new picture size.
    SendMessageW(list, LVM_ARRANGE, LVA_DEFAULT, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void Tsourcefm::BitBtn1Click() {
    if (SelectedRow() < 0) {
        AddMessage(kChooseResource);
        return;
    }
    N1Click();
}

void Tsourcefm::BitBtn2Click() { SendMessageW(window_, WM_CLOSE, 0, 0); }

int Tsourcefm::SelectedRow() const {
    return static_cast<int>(
        SendMessageW(Control(L"ListView1"), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Tsourcefm::ShowNewMessages() {
    HWND memo = Control(L"Memo2");
    const std::vector<std::string>& messages = extractor_.Messages();
    for (; messages_shown_ < messages.size(); ++messages_shown_) {
        std::wstring line = WideFromUtf8(messages[messages_shown_]);
        int length = GetWindowTextLengthW(memo);
        if (length > 0) line = L"\r\n" + line;
        SendMessageW(memo, EM_SETSEL, static_cast<WPARAM>(length), length);
        SendMessageW(memo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

void Tsourcefm::AddMessage(const std::string& message) {
    extractor_.AddMessage(message);
    ShowNewMessages();
}

void Tsourcefm::N1Click() {
    int row = SelectedRow();
    if (row < 0) return;
    try {
        ExportSelectedRow(row);
    } catch (const std::exception& error) {
        ShowNewMessages();
        ShowErrorBox(error);
    }
}

void Tsourcefm::ExportSelectedRow(int row) {
    // Out of the topmost band, so that the dialog can come in front.
    PlaceInBand(window_, HWND_NOTOPMOST);
    std::wstring extension = CaptionExtension(WideFromUtf8(rows_.Rows()[static_cast<size_t>(row)].caption));
    SaveDialogRequest request;
    request.filter = L"*" + extension + L"文件|*" + extension;
    request.default_extension = extension.empty() ? std::wstring() : extension.substr(1);
    request.file_name = ProposedExportName(SwfPath, row);
    std::optional<std::wstring> chosen = RunSaveDialog(window_, request);
    if (!chosen) return;

    bool replacing = FileExists(*chosen);
    if (replacing && !AskYesNo(window_, L"文件已存在，是否要替换？", L"提示")) return;
    fs::path written = ListView1DblClick();
    ShowNewMessages();
    if (written.empty()) return;
    // The copy is made beside the chosen file and takes its place only when
    // whole: a failed copy leaves the file the user agreed to replace.
    std::wstring beside = *chosen + L".part";
    if (!CopyFileW(written.c_str(), beside.c_str(), FALSE)) {
        DeleteFileW(beside.c_str());
        ThrowLastError(L"Cannot copy to \"" + *chosen + L"\"");
    }
    if (!MoveFileExW(beside.c_str(), chosen->c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(beside.c_str());
        ThrowLastError(L"Cannot replace file \"" + *chosen + L"\"");
    }
    DeleteFileW(written.c_str());
    AddMessage(kExtracted);
    if (!replacing) PlaceInBand(window_, HWND_TOPMOST);
}

fs::path Tsourcefm::ListView1DblClick() {
    int row = SelectedRow();
    if (row < 0) return {};
    const swf::ResourceRow& resource = rows_.Rows()[static_cast<size_t>(row)];
    fs::path folder(TempFolder);
    fs::path target = folder / swf::Utf8Path(resource.caption);
    std::error_code ignored;
    bool existed = fs::exists(target, ignored);
    auto remember = [this](const fs::path& path) {
        if (std::find(written_files_.begin(), written_files_.end(), path) == written_files_.end())
            written_files_.push_back(path);
    };
    try {
        fs::path written = rows_.ExtractRow(extractor_, static_cast<size_t>(row), folder);
        if (!written.empty()) remember(written);
        return written;
    } catch (...) {
        // An exporter that failed half-way may have left its file behind.
        if (!existed && fs::exists(target, ignored)) remember(target);
        throw;
    }
}

void Tsourcefm::FormClose() {
    DeleteWrittenFiles();
    if (Tfrmmain* main = Forms().frmmain) {
        MakeTopmost(main->Window());
        MakeNotTopmost(main->Window());
        main->ApplyStayOnTop();
    }
}

void Tsourcefm::DeleteWrittenFiles() {
    for (const fs::path& file : written_files_) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
    }
    written_files_.clear();
}
