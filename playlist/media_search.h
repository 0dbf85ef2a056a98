// The media search: a breadth-first walk of a folder tree through a queue
// of folders, one folder per step so that the caller can let the interface
// run between folders. Every folder found stays in the queue until the
// search ends; folders whose names begin with "." are not entered, and
// links to folders are not followed (a link cycle would never end). Files
// whose extension passes the media test are reported in listing order.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class MediaSearch {
public:
    using Text = std::filesystem::path::string_type;

    struct Found {
        Text path;  // folder + separator + file name
        Text name;  // the file name as listed
    };

    // One trailing separator is removed from the folder. An empty folder
    // stands for the root of the current drive.
    explicit MediaSearch(Text folder);

    bool Done() const { return cursor_ >= queue_.size(); }

    // The folder that the next step lists, with a separator at its end.
    Text NextFolder() const;

    // Lists the next folder: queues its subfolders and returns its media
    // files. A folder that cannot be listed yields nothing.
    std::vector<Found> Step();

    // done × 100 div queue length, never moving back; 0 before the first step.
    int Progress() const { return progress_; }

    size_t FoldersDone() const { return cursor_; }
    size_t QueueLength() const { return queue_.size(); }

private:
    std::vector<Text> queue_;
    size_t cursor_ = 0;
    int progress_ = 0;
};

// Runs a search to its end. Before each folder it returns false when `stopped`
// is set; otherwise it calls `before_folder` (where the caller pumps messages
// and shows the folder), lists the folder and calls `found` for each media
// file. The folder being listed when the flag is set is finished first.
// True when the whole tree was searched.
bool RunMediaSearch(MediaSearch& search, const bool& stopped,
                    const std::function<void(const MediaSearch::Text& folder)>& before_folder,
                    const std::function<void(const MediaSearch::Found& file)>& found);
