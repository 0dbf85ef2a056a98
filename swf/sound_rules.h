// The byte rules of the sound exporters: which sound formats become WAV files
// and how their sample data is put into the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/byte_reader.h"
#include "swf/limits.h"
#include "swf/sound_records.h"

namespace swf {

// ".WAV" for the formats written as WAV files (0, 1, 3 and the G.711 A-law
// and µ-law formats 7 and 8, kept coded), ".MP3" for MP3,
// "" for formats written as they are stored.
const char* SoundSuffix(int format);
bool IsWavFormat(int format);

// WAVE format tags: PCM, G.711 A-law, G.711 µ-law.
inline constexpr int kWavePcm = 1, kWaveALaw = 6, kWaveMuLaw = 7;

// The 44-byte RIFF WAVE header of data_bytes bytes of sample data.
std::vector<uint8_t> WavHeader(int sample_rate, int channels, int bits_per_sample, uint32_t data_bytes,
                               int format_tag = kWavePcm);

// Builds the file of one sound from its pieces of sample data (the data of
// one DefineSound tag, or the blocks of one stream). Uncompressed data is
// copied (16-bit samples are little-endian, 8-bit samples unsigned, as in a
// WAV file), ADPCM is decoded to 16-bit PCM, G.711 is copied with its codec
// named in the header (8 bits a sample), and all get a WAV header; data
// of other formats is copied as it is. Throws SwfDataError past
// kMaxSoundBytes. A builder made with keep_data false only measures the
// pieces, for the file's size: only ADPCM is still decoded.
class SoundFileBuilder {
public:
    explicit SoundFileBuilder(SoundFlags flags, bool keep_data = true) : flags_(flags), keep_data_(keep_data) {}

    // max_frames limits the samples per channel that ADPCM data yields.
    void AddData(Bytes data, size_t max_frames = static_cast<size_t>(-1));
    bool Empty() const { return data_size_ == 0; }
    // The whole file; no bytes at all when no sample data was added. Only
    // for a builder that keeps its data.
    std::vector<uint8_t> Finish() const;
    // The size of the file that Finish makes.
    uint64_t FileSize() const;

private:
    // The bytes of sample data that go into a WAV file's data chunk: whole
    // sample frames only.
    uint32_t WavDataBytes() const;

    SoundFlags flags_;
    bool keep_data_;
    std::vector<uint8_t> data_;
    size_t data_size_ = 0;  // the bytes of sample data added, kept or not
};

}  // namespace swf
