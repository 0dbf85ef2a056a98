// Reading a SWF movie: the header check and its summary lines, the inflation
// of compressed ("CWS") bodies in memory or as the file is read, the walk of
// the tag list into a catalogue, and the census of tag codes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "swf/limits.h"
#include "swf/zlib_inflate.h"

namespace swf {

// Room of the tag catalogue; a walk that fills it stops there, keeping the
// entries so far.
inline constexpr size_t kMaxTagEntries = 102401;

struct TagEntry {
    uint16_t Code = 0;        // the tag's 10-bit code
    uint32_t BodyPos = 0;     // first body byte, just behind the tag header
    uint32_t HeaderPos = 0;   // first byte of the tag header
    uint32_t BodyLength = 0;  // as the header states it; may run past the end
};

using TagCensus = std::array<int32_t, 256>;

// Inflates the compressed body of a movie as it is read from in, piece by
// piece, so that the compressed bytes are never held whole; image holds the
// movie's 8 header bytes and gets the inflated body behind them. body_bytes
// is the length of the body in the file; reading stops where the stream
// ends. Returns how the inflation ended, or nothing when in cannot be read.
std::optional<InflateEnd> InflateBodyFrom(std::istream& in, uint64_t body_bytes, std::vector<uint8_t>& image);

// Checks and decodes the header of image and appends its summary lines. A
// "CWS" body is inflated in place and body_end set to how that ended, unless
// body_end is set already: image then holds the body inflated (by
// InflateBodyFrom or an earlier call). Afterwards image holds the 8 header
// bytes followed by the uncompressed body. Returns false for a wrong
// signature or a version below 5; on success read_pos is left at the first
// tag header. Throws SwfDataError for a truncated header or a body that does
// not inflate.
bool ReadSwfHeader(std::vector<uint8_t>& image, std::optional<InflateEnd>& body_end, size_t& read_pos,
                   uint32_t& header_length, std::vector<std::string>& lines);

// Walks the tags from read_pos until the End tag, the end of the image or a
// full catalogue. Codes 0 to 255 are counted in census.
void WalkTags(const std::vector<uint8_t>& image, size_t read_pos, std::vector<TagEntry>& tags,
              TagCensus& census);

// The census lines: the number of catalogued tags, then one line per code
// that occurs, in ascending order.
std::vector<std::string> CensusLines(const std::vector<TagEntry>& tags, const TagCensus& census);

// The census text of a code the extractor knows, or "" for others.
const char* CensusSuffix(int code);

}  // namespace swf
