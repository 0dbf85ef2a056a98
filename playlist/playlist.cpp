#include "playlist/playlist.h"

#include "playlist/extensions.h"

namespace {

bool IsBlankOrControl(wchar_t c) { return c <= L' '; }

}  // namespace

std::wstring EntryLabel(size_t count, std::wstring_view path) {
    std::wstring_view stem = FileNamePart(path);
    while (!stem.empty() && IsBlankOrControl(stem.front())) stem.remove_prefix(1);
    while (!stem.empty() && IsBlankOrControl(stem.back())) stem.remove_suffix(1);
    stem.remove_suffix(stem.size() < 4 ? stem.size() : 4);
    return std::to_wstring(count + 1) + L"." + std::wstring(stem);
}

std::wstring SearchEntryLabel(size_t count, std::wstring_view file_name) {
    return std::to_wstring(count + 1) + L"." + std::wstring(file_name);
}

void Playlist::Append(std::wstring path) {
    labels_.push_back(EntryLabel(paths_.size(), path));
    paths_.push_back(std::move(path));
}

void Playlist::AppendFound(std::wstring path, std::wstring_view file_name) {
    labels_.push_back(SearchEntryLabel(paths_.size(), file_name));
    paths_.push_back(std::move(path));
}

bool Playlist::Remove(size_t index) {
    if (index >= paths_.size()) return false;
    paths_.erase(paths_.begin() + std::ptrdiff_t(index));
    labels_.clear();
    for (size_t i = 0; i < paths_.size(); ++i) labels_.push_back(EntryLabel(i, paths_[i]));
    return true;
}

void Playlist::Clear() {
    labels_.clear();
    paths_.clear();
}
