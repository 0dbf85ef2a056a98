// The texts of the two progress labels and of the window caption during
// playback.
#pragma once

#include <string>
#include <string_view>

// The first part of the progress texts and the caption while playing.
inline constexpr wchar_t kTitleText[] = L"Corvella3.0  ";

// The file name of the path (after the last "\" or ":") less its last four
// characters, nothing trimmed; empty for a name of four characters or fewer.
std::wstring ProgressStem(std::wstring_view path);

// title + stem + " --- " + frame + "/" + (total_frames − 1). The looping
// timer passes an empty title.
std::wstring FlashProgressText(std::wstring_view title, std::wstring_view path, long long frame,
                               long long total_frames);

// title + "---" + stem; also the window caption.
std::wstring MediaProgressText(std::wstring_view title, std::wstring_view path);
