#include "app/main_dialogs.h"

#include <stdexcept>

namespace {

const wchar_t* kMediaFilter =
    L"能播放的文件(*.swf;*.mp3;*.dat;*.mpeg;*.wav;*.asf;*.mpg;*.mp2)"
    L"|*.swf;*.mp3;*.mp2;*.midi;*.mid;*.rmi;*.asf;*.wm;*.asf;*.wm;*.avi;*.wmv;*.wav;*.snd;*.mpeg;*.mpg;*.dat"
    L"|Flash文件(*.swf)|*.swf"
    L"|Mp3(*.mp3;*.mp2)|*.mp3;*.mp2"
    L"|Midi文件(*.midi;*.mid;*.rmi)|*.midi;*.mid;*.rmi"
    L"|WindowMedia文件(*.asf;*.wm)|*.asf;*.wm"
    L"|Windows视频文件(*.avi;*.wmv)|*.avi;*.wmv"
    L"|Windows音频文件(*.wav;*.snd)|*.wav;*.snd"
    L"|电影文件(*.mpeg;*.mpg)|*.mpeg;*.mpg";

std::vector<FileDialogRecord> MakeDialogs() {
    std::vector<FileDialogRecord> dialogs(6);
    dialogs[0] = {L"Dialog1", false, L"打开Flash文件", kMediaFilter, 9, L"", L"", true};
    dialogs[1] = {L"OpenDialog1", false, L"选择皮肤文件", L"*.fac|*.fac", 1, L"", L"skins", false};
    dialogs[2] = {L"SaveDialog1", true, L"保存图片", L"*.bmp|*.bmp", 1, L"bmp", L"", false};
    dialogs[3] = {L"SaveDialog2", true, L"保存列表文件", L"*.lis|*.lis", 1, L"lis", L"", false};
    dialogs[4] = {L"OpenDialog2", false, L"打开列表文件",
                  L"列表(*.lis;*.m3u;*.kpl,*.pls)|*.lis;*.m3u;*.pls;*.kpl", 1, L".lis", L"", false};
    dialogs[5] = {L"SaveDialog3", true, L"", L"*.exe|*.exe", 1, L"exe", L"", false};
    return dialogs;
}

}  // namespace

const std::vector<FileDialogRecord>& MainWindowDialogs() {
    static const std::vector<FileDialogRecord> dialogs = MakeDialogs();
    return dialogs;
}

const FileDialogRecord& MainWindowDialog(const std::wstring& name) {
    for (const FileDialogRecord& dialog : MainWindowDialogs())
        if (dialog.name == name) return dialog;
    throw std::out_of_range("no such dialog");
}

std::wstring FilterToDoubleNul(const std::wstring& filter) {
    std::wstring out;
    if (filter.empty()) return std::wstring(2, L'\0');
    int parts = 1;
    for (wchar_t c : filter) {
        if (c == L'|') {
            out += L'\0';
            ++parts;
        } else {
            out += c;
        }
    }
    out += L'\0';
    if (parts % 2) out += L'\0';   // a caption without patterns
    out += L'\0';
    return out;
}

const std::vector<TimerRecord>& MainWindowTimers() {
    static const std::vector<TimerRecord> timers = {
        {L"Timer1", 1, 300, false},
        {L"Timer2", 2, 100, false},
        {L"Timer3", 3, 100, false},
        {L"Timer4", 4, 100, false},
        {L"Timer5", 5, 100, true},
    };
    return timers;
}
