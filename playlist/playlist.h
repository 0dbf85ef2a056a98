// The playlist: two parallel lists of equal length, the labels shown in the
// list box and the paths exactly as they were received. Entries are only
// appended at the end; removing one keeps the order of the rest. There is no
// sorting, no duplicate check and no limit. The selection is the list box's
// and is kept by its owner.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The label of an entry appended while the playlist holds `count` entries:
// count + 1, ".", then the stem: the file name (after the last "\" or ":")
// without leading and trailing blanks and control characters, less its last
// four characters whatever the extension's length.
std::wstring EntryLabel(size_t count, std::wstring_view path);

// The label of an entry found by the media search: count + 1, ".", and the
// whole file name as found.
std::wstring SearchEntryLabel(size_t count, std::wstring_view file_name);

class Playlist {
public:
    size_t Count() const { return paths_.size(); }
    bool Empty() const { return paths_.empty(); }

    const std::wstring& Label(size_t index) const { return labels_[index]; }
    const std::wstring& Path(size_t index) const { return paths_[index]; }
    const std::vector<std::wstring>& Labels() const { return labels_; }
    const std::vector<std::wstring>& Paths() const { return paths_; }

    // Appends with the label of EntryLabel.
    void Append(std::wstring path);
    // Appends a search result: path and SearchEntryLabel of its file name.
    void AppendFound(std::wstring path, std::wstring_view file_name);

    // Removes the entry and rebuilds every label in the EntryLabel form, so
    // that the numbers run from 1 again. False when there is no such entry.
    bool Remove(size_t index);

    void Clear();

private:
    std::vector<std::wstring> labels_;
    std::vector<std::wstring> paths_;
};
