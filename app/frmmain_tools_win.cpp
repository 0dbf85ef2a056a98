// The main window's tools: the extraction window, SWF to stand-alone
// executable, and the picture of the Flash area saved as a file or made the
// desktop wallpaper.
#include "app/frmmain_win.h"

#include "app/error_box_win.h"
#include "app/forms_win.h"
#include "app/prompts_win.h"
#include "swf/sourcefm_win.h"
#include "app/stay_on_top_win.h"
#include "flash/flash_control_win.h"
#include "tools/capture_win.h"
#include "tools/path_text.h"
#include "tools/projector_trailer.h"
#include "tools/projector_win.h"

#include <exception>

namespace {

int PlaylistCount(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

SaveDialogRequest RequestFor(const FileDialogRecord& dialog, const std::wstring& file_name) {
    return SaveDialogRequest{dialog.title, dialog.filter, dialog.defaultExtension, file_name};
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A bitmap released when it goes out of scope.
struct OwnedBitmap {
    HBITMAP handle;
    ~OwnedBitmap() {
        if (handle) DeleteObject(handle);
    }
};

}  // namespace

void Tfrmmain::swfToMp31Click() {
    if (PlaylistCount(ControlWindow(L"ListBox1")) == 0 || MediaMode) return;
    Tsourcefm* sourcefm = Forms().sourcefm;
    if (!sourcefm) return;
    try {
        sourcefm->init();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
        return;
    }
    ShowWindow(sourcefm->Window(), SW_SHOW);
    SetWindowPos(sourcefm->Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Tfrmmain::swfToExe1Click() {
    HWND list = ControlWindow(L"ListBox1");
    if (PlaylistCount(list) == 0 || MediaMode) return;
    try {
        std::wstring projector = ProgramFolder + L"\\Flash.sys";
        if (FileExists(projector)) DeleteFileW(projector.c_str());
        SaveResourceToFile(L"Conver", L"flashsys", projector);

        int entry = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        if (entry < 0) return;
        std::wstring path = ListEntryPath(entry);
        std::optional<std::wstring> output =
            RunSaveDialog(window_, RequestFor(Dialog(L"SaveDialog3"), ProjectorDefaultName(path)));
        if (!output) return;
        if (FileExists(*output) && !AskReplaceFile(window_)) return;

        MakeNotTopmost(window_);
        BuildProjectorExe(TrimBlanks(path), *output, projector);
        MakeTopmost(window_);
        ApplyStayOnTop();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
}

void Tfrmmain::N8Click() {
    if (!flash_) return;
    try {
        MakeNotTopmost(window_);
        flash_->Stop();
        OwnedBitmap picture{CaptureWindowPicture(flash_->Window())};
        std::wstring proposed = ReplaceExtension(FileNamePart(flash_->Movie()), L".bmp");
        std::optional<std::wstring> file = RunSaveDialog(window_, RequestFor(Dialog(L"SaveDialog1"), proposed));
        if (file && (!FileExists(*file) || AskReplaceFile(window_))) SaveBitmapFile(picture.handle, *file);
        flash_->Play();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
        return;
    }
    ApplyStayOnTop();
}

namespace {

void SetWallpaper(FlashControl* flash, int style) {
    if (!flash) return;
    try {
        SaveFlashPictureAsWallpaper(flash->Window(), style);
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
}

}  // namespace

void Tfrmmain::N9Click() { SetWallpaper(flash_, 1); }
void Tfrmmain::N10Click() { SetWallpaper(flash_, 2); }
void Tfrmmain::N11Click() { SetWallpaper(flash_, 3); }
