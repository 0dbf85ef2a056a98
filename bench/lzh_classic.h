// A plain build of the classic LZHUF decoder, as the well-known public
// decoder is laid out (a 16-bit bit buffer fed a byte at a time, one tree
// step per bit, a separate ring), kept only as the yardstick that
// lzh_bench measures our decoder against.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// Decodes a packed stream (4-byte UnpackedSize, then the code) in the
// classic way; the output has the same bytes as TLZH's.
std::vector<uint8_t> ClassicLzhUnpack(const std::vector<uint8_t>& source);
// The same, each byte written to `out` as it comes, as the classic program does.
void ClassicLzhUnpack(const std::vector<uint8_t>& source, std::FILE* out);
