#include "playlist/media_search.h"

#include <system_error>

#include "playlist/extensions.h"

namespace {

using Text = MediaSearch::Text;

constexpr Text::value_type kSeparator = std::filesystem::path::preferred_separator;

bool IsSeparator(Text::value_type c) { return c == kSeparator || c == Text::value_type('/'); }

}  // namespace

MediaSearch::MediaSearch(Text folder) {
    if (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
    queue_.push_back(std::move(folder));
}

MediaSearch::Text MediaSearch::NextFolder() const {
    if (Done()) return {};
    return queue_[cursor_] + kSeparator;
}

std::vector<MediaSearch::Found> MediaSearch::Step() {
    std::vector<Found> files;
    if (Done()) return files;
    const Text folder = NextFolder();
    std::error_code ec;
    std::filesystem::directory_iterator it(std::filesystem::path(folder),
                                           std::filesystem::directory_options::skip_permission_denied, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const Text name = it->path().filename().native();
        if (name.empty()) continue;
        // The entry's type as the folder listing gave it; no further call to
        // the file system for plain files and folders.
        std::error_code status_ec;
        const bool link = it->is_symlink(status_ec);
        if (status_ec) continue;
        const bool folder_entry = it->is_directory(status_ec);
        if (folder_entry && !link) {
            if (name[0] != Text::value_type('.')) queue_.push_back(folder + name);
            continue;
        }
        if (link && folder_entry) continue;  // a link to a folder
        if (IsMediaFile(std::basic_string_view<Text::value_type>(name))) files.push_back(Found{folder + name, name});
    }
    ++cursor_;
    int percent = int(cursor_ * 100 / queue_.size());
    if (percent > progress_) progress_ = percent;
    return files;
}

bool RunMediaSearch(MediaSearch& search, const bool& stopped,
                    const std::function<void(const MediaSearch::Text& folder)>& before_folder,
                    const std::function<void(const MediaSearch::Found& file)>& found) {
    while (!search.Done()) {
        if (stopped) return false;
        if (before_folder) before_folder(search.NextFolder());
        for (const MediaSearch::Found& file : search.Step())
            if (found) found(file);
    }
    return true;
}
