// The byte rules of the JPEG exporters. JPEG data is copied and spliced by
// its marker segments, never decoded or re-encoded.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/byte_reader.h"

namespace swf {

// Some encoders put an end-of-image and a start-of-image marker (FF D9 FF D8)
// in front of the real data; those four bytes are dropped before anything
// else is done with the data.
Bytes TrimJpegLead(Bytes data);

// The marker segments of a JPEGTables body, without its start-of-image and
// end-of-image markers. An empty body (no shared tables) gives no bytes.
// Throws SwfDataError for a body that is not a tables block.
std::vector<uint8_t> JpegTableSegments(Bytes body);

// True when the JPEG data holds its own quantisation and Huffman tables
// before its first scan, so that it decodes without shared tables.
bool JpegHasOwnTables(Bytes data);

// A JPEG file as it is made: up to three runs of bytes, taken from a tag's
// data and from the shared tables, written one after the other. Its size is
// known without joining them.
struct JpegParts {
    std::array<Bytes, 3> runs;
    size_t count = 0;

    uint64_t Size() const;
    std::vector<uint8_t> Join() const;
    void Add(Bytes run);
};

// DefineBits: the JPEG data with the shared table segments put in front of
// its first scan. Data that has its own tables is taken as it is.
JpegParts JoinJpegTables(Bytes data, Bytes tables);

// DefineBitsJPEG2 and DefineBitsJPEG3: one JPEG from data that is either one
// complete JPEG (taken as it is) or a tables block followed by an image
// block; the image's header segments, then the tables block's segments, then
// the scan to the end.
JpegParts RebuildJpeg(Bytes data);

// The suffix of image data of DefineBitsJPEG2 and DefineBitsJPEG3 that is a
// PNG (".png") or a GIF (".gif") file, told by its signature; such data is
// written as it is. An empty string for any other data.
const char* EmbeddedImageSuffix(Bytes data);

}  // namespace swf
