#include "playback/progress_text.h"

#include "playlist/extensions.h"

std::wstring ProgressStem(std::wstring_view path) {
    std::wstring_view name = FileNamePart(path);
    return std::wstring(name.substr(0, name.size() > 4 ? name.size() - 4 : 0));
}

std::wstring FlashProgressText(std::wstring_view title, std::wstring_view path, long long frame,
                               long long total_frames) {
    return std::wstring(title) + ProgressStem(path) + L" --- " + std::to_wstring(frame) + L"/" +
           std::to_wstring(total_frames - 1);
}

std::wstring MediaProgressText(std::wstring_view title, std::wstring_view path) {
    return std::wstring(title) + L"---" + ProgressStem(path);
}
