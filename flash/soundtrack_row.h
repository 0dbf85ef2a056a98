// The rows of the extraction window: the resource rows of the movie, then,
// when the movie holds any sound, "soundtrack.WAV": what the whole movie
// sounds like, mixed as the player plays it (as `corvella-cli soundtrack`
// writes it), exported like the other rows.
#pragma once

#include "flash/movie.h"
#include "swf/swf_extractor.h"

#include <cstddef>
#include <filesystem>
#include <memory>
#include <vector>

namespace flash {

extern const char kSoundtrackCaption[];   // "soundtrack.WAV"

// The frames a movie's soundtrack covers: every frame of the main
// timeline, or more when a sprite's stream or an event sound lasts longer;
// at most what a WAV file can hold.
int SoundtrackFrames(const Movie& movie);

// Writes the soundtrack of the movie's first frames to path as a 16-bit
// stereo WAV file, a frame at a time. Throws swf::SwfFileError when the
// file cannot be written.
void WriteSoundtrackFile(std::shared_ptr<const Movie> movie, int frames, const std::filesystem::path& path);

class ExtractionRows {
public:
    // The extractor's rows (after its list build), and the soundtrack row
    // when its movie loads and holds a sound.
    void Build(const swf::SwfExtractor& extractor);
    const std::vector<swf::ResourceRow>& Rows() const { return rows_; }
    bool IsSoundtrack(size_t row) const { return movie_ && row + 1 == rows_.size(); }

    // The extraction step of a row: the extractor exports its own rows; the
    // soundtrack row is written into folder under its caption. Returns the
    // path written, or an empty path when nothing was.
    std::filesystem::path ExtractRow(swf::SwfExtractor& extractor, size_t row, const std::filesystem::path& folder);

private:
    std::vector<swf::ResourceRow> rows_;
    std::shared_ptr<const Movie> movie_;   // set while the soundtrack row is listed
    int frames_ = 0;
};

}  // namespace flash
