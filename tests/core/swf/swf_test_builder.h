// Small helpers that assemble SWF movies, tag bodies and JPEG data byte by
// byte for the extractor's tests, read numbers back and load the movies.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "swf/swf_extractor.h"

namespace swftest {

using Data = std::vector<uint8_t>;

void Put16(Data& out, uint32_t value);
void Put32(Data& out, uint32_t value);
// Little-endian numbers read back from data at pos.
uint16_t Le16(const Data& data, size_t pos);
uint32_t Le32(const Data& data, size_t pos);
Data Join(std::initializer_list<Data> parts);

// A tag with its header; long_form writes the 6-byte header whatever the length.
Data Tag(int code, const Data& body, bool long_form = false);
// An FWS movie: 8-byte header, a one-byte frame rectangle (Nbits 0), frame
// rate 12.0, one frame, then the tags as given (add End yourself).
Data Movie(const std::vector<Data>& tags, int version = 6);
// The same movie stored as CWS.
Data Compress(const Data& fws);
Data Deflate(const Data& bytes);

Data End();
Data DefineSoundBody(uint8_t flags, uint32_t samples, const Data& data);
Data StreamHeadBody(uint8_t stream_flags, uint16_t samples_per_block = 0);

// A baseline JPEG of the given size made by libjpeg, and its split into a
// tables block (start of image, quantisation and Huffman tables, end of
// image) and an image block (start of image, other header segments, scan).
Data EncodeJpeg(int width, int height);
struct SplitJpeg {
    Data tables;
    Data image;
};
SplitJpeg SplitTables(const Data& jpeg);
// True when libjpeg decodes data whole; width and height are then set.
bool DecodesAsJpeg(const Data& data, int* width = nullptr, int* height = nullptr);

// An extractor that has read the movie and listed its rows.
swf::SwfExtractor Loaded(const Data& movie);

Data ReadFile(const std::filesystem::path& path);
// A fresh empty folder under the system's temporary folder.
std::filesystem::path FreshFolder(const std::string& name);

}  // namespace swftest
