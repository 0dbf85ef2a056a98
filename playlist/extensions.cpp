#include "playlist/extensions.h"

namespace {

template <class Char>
std::basic_string_view<Char> NameOf(std::basic_string_view<Char> path) {
    size_t start = path.size();
    while (start > 0 && path[start - 1] != Char('\\') && path[start - 1] != Char(':')) --start;
    return path.substr(start);
}

template <class Char>
std::basic_string<Char> UpperExtensionOf(std::basic_string_view<Char> path) {
    std::basic_string_view<Char> name = NameOf(path);
    size_t dot = name.rfind(Char('.'));
    if (dot == name.npos) return {};
    std::basic_string<Char> ext(name.substr(dot));
    for (Char& c : ext)
        if (c >= Char('a') && c <= Char('z')) c = Char(c - Char('a') + Char('A'));
    return ext;
}

template <class Char>
bool InList(std::basic_string_view<Char> path, std::string_view list) {
    std::basic_string<Char> ext = UpperExtensionOf(path);
    if (ext.empty()) return false;
    std::basic_string<Char> list_text(list.begin(), list.end());
    return list_text.find(ext) != list_text.npos;
}

}  // namespace

std::string_view FileNamePart(std::string_view path) { return NameOf(path); }
std::wstring_view FileNamePart(std::wstring_view path) { return NameOf(path); }

std::string UpperExtension(std::string_view path) { return UpperExtensionOf(path); }
std::wstring UpperExtension(std::wstring_view path) { return UpperExtensionOf(path); }

bool ExtensionInList(std::string_view path, std::string_view list) { return InList(path, list); }
bool ExtensionInList(std::wstring_view path, std::string_view list) { return InList(path, list); }
