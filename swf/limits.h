// How the format layer stands up to hostile files. The rules, written once
// for the extractor and the engine alike:
//  - Every read goes through ByteReader, which throws SwfDataError instead
//    of reading past the end; a tag body is its stated length clamped to the
//    movie's bytes (TagBody), so a stated length can never reach outside.
//  - Sizes a file states (FileLength, bitmap sizes, alpha data, sample
//    counts) are checked against the caps below before anything is
//    allocated, and allocations grow with what the data really yields: an
//    inflated stream grows with its output, never with what it claims.
//  - Deflate packs at most about 1032 bytes into one, so a zlib stream far
//    too short for the size it should inflate to is refused before inflation.
//  - Lengths and positions from the file are added in 64 bits.
//  - Code that catches SwfDataError keeps what was read before the failure.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

// Largest movie taken, as read from disk and after inflation of a compressed
// body. A CWS FileLength may claim up to 4 GB; the inflated body is limited
// by this cap and by what the stream actually inflates to.
inline constexpr size_t kMaxMovieBytes = 256u * 1024 * 1024;

// Largest bitmap decoded or exported, in pixels (4096 x 4096); the players
// refuse larger bitmaps too. A decoded bitmap has no side longer than
// kMaxBitmapSide either.
inline constexpr uint64_t kMaxBitmapPixels = 4096ull * 4096;
inline constexpr int kMaxBitmapSide = 8192;

// Deflate's best packing: a stream of n bytes inflates to at most about
// n * kDeflateMaxRatio bytes.
inline constexpr uint64_t kDeflateMaxRatio = 1032;

// Largest sound file built; ADPCM expands up to eight times when decoded.
inline constexpr size_t kMaxSoundBytes = 256u * 1024 * 1024;

}  // namespace swf
