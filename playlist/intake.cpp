#include "playlist/intake.h"

#include "playlist/extensions.h"

namespace {

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && text.front() <= L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() <= L' ') text.remove_suffix(1);
    return text;
}

// The last four characters, trimmed and upper-cased.
std::wstring LastFourUpper(std::wstring_view text) {
    std::wstring tail(Trim(text.substr(text.size() > 4 ? text.size() - 4 : 0)));
    for (wchar_t& c : tail)
        if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
    return tail;
}

}  // namespace

CommandLineIntake ClassifyCommandLineArgument(std::wstring_view argument) {
    CommandLineIntake intake;
    argument = Trim(argument);
    intake.path = std::wstring(argument);
    std::wstring tail = LastFourUpper(argument);
    intake.play_at_show = tail == L".SWF" || tail == L".MP3";
    intake.load_list = LastFourUpper(FileNamePart(argument)) == L".LIS";
    return intake;
}

DropIntake ClassifyDroppedFile(std::wstring_view path) {
    DropIntake intake;
    intake.load_list = IsPlaylistFile(path);
    intake.append = IsMediaFile(path);
    return intake;
}
