#include "flash/soundtrack_row.h"

#include "flash/movie_loader.h"
#include "flash/sound_engine.h"
#include "flash/sound_mixer.h"
#include "flash/sound_track.h"
#include "swf/sound_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <fstream>

namespace flash {

const char kSoundtrackCaption[] = "soundtrack.WAV";

namespace {

constexpr uint64_t kWavHeaderBytes = 44;
constexpr uint64_t kBytesPerSample = 4;   // 16-bit stereo
// The data of a WAV file is counted in 32 bits.
constexpr uint64_t kMaxWavData = 0xFFFFFFFFu - kWavHeaderBytes;

uint64_t SamplesOf(int frames, double rate) { return frames > 0 ? FrameEndSample(frames - 1, rate) : 0; }

// The movie's bytes as the loader reads them: the extractor keeps a
// compressed body inflated behind its "CWS" signature.
std::vector<uint8_t> LoadableImage(const swf::SwfExtractor& extractor) {
    std::vector<uint8_t> image = extractor.SwfImage();
    if (image.size() >= 3 && image[0] == 'C' && image[1] == 'W' && image[2] == 'S') image[0] = 'F';
    return image;
}

}  // namespace

int SoundtrackFrames(const Movie& movie) {
    double rate = PlayingFrameRate(movie);
    int frames = movie.timeline.frame_count;
    for (const auto& [id, character] : movie.characters) {
        if (character.sprite && character.sprite->timeline.stream)
            frames = std::max(frames, character.sprite->timeline.frame_count);
        if (character.sound) {
            double seconds = SoundDurationMs(*character.sound) / 1000;
            frames = std::max(frames, static_cast<int>(std::min(std::ceil(seconds * rate), 1e9)));
        }
    }
    while (frames > 1 && SamplesOf(frames, rate) * kBytesPerSample > kMaxWavData) frames /= 2;
    return std::max(frames, 1);
}

void WriteSoundtrackFile(std::shared_ptr<const Movie> movie, int frames, const std::filesystem::path& path) {
    uint64_t samples = movie ? SamplesOf(frames, PlayingFrameRate(*movie)) : 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<uint8_t> header =
        swf::WavHeader(SoundMixer::kRate, 2, 16, static_cast<uint32_t>(samples * kBytesPerSample));
    out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    std::vector<uint8_t> bytes;
    RenderSoundtrack(std::move(movie), frames, [&](const int16_t* data, size_t count) {
        bytes.resize(count * kBytesPerSample);
        for (size_t i = 0; i < count * 2; ++i) {
            bytes[2 * i] = static_cast<uint8_t>(data[i] & 0xFF);
            bytes[2 * i + 1] = static_cast<uint8_t>((static_cast<uint16_t>(data[i]) >> 8) & 0xFF);
        }
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    });
    out.close();
    if (!out) throw swf::SwfFileError("cannot write " + swf::PathUtf8(path));
}

void ExtractionRows::Build(const swf::SwfExtractor& extractor) {
    rows_ = extractor.Rows();
    movie_.reset();
    frames_ = 0;
    try {
        auto movie = std::make_shared<const Movie>(LoadMovie(LoadableImage(extractor)));
        if (!HasSound(*movie)) return;
        movie_ = std::move(movie);
    } catch (const std::exception&) {
        return;   // a movie the engine cannot read has no soundtrack to offer
    }
    frames_ = SoundtrackFrames(*movie_);
    swf::ResourceRow row;
    row.caption = kSoundtrackCaption;
    row.tag_id = -1;                 // no tag of its own
    row.code = 0;
    row.blocks = static_cast<uint32_t>(frames_);
    row.length = kWavHeaderBytes + SamplesOf(frames_, PlayingFrameRate(*movie_)) * kBytesPerSample;
    row.icon = swf::kIconSound;
    rows_.push_back(row);
}

std::filesystem::path ExtractionRows::ExtractRow(swf::SwfExtractor& extractor, size_t row,
                                                 const std::filesystem::path& folder) {
    if (!IsSoundtrack(row)) return extractor.ExtractRow(row, folder);
    std::filesystem::path path = folder / swf::Utf8Path(kSoundtrackCaption);
    WriteSoundtrackFile(movie_, frames_, path);
    return path;
}

}  // namespace flash
