// LZHUF (LZSS with adaptive Huffman coding), the compression of skin
// packages: the decoder TLZH and our own coder.
//
// A packed stream is a 4-byte little-endian UnpackedSize followed by the
// code. The decoder starts with a 4096-byte ring whose first 4036 bytes are
// spaces, reads bits most significant first (zero bits once the code is
// used up) and stops between symbols once UnpackedSize bytes are out, so a
// final match may add up to 59 bytes past UnpackedSize; they belong to the
// output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class ElzhException : public std::runtime_error {
public:
    explicit ElzhException(const std::string& message) : std::runtime_error(message) {}
};

// Largest UnpackedSize the decoder accepts at all.
constexpr uint32_t kMaxUnpackedSize = 64u * 1024 * 1024;

class TLZH {
public:
    // Decodes `source` (UnpackedSize and code) into `target`, which is
    // replaced. Throws ElzhException when the source cannot be decoded.
    void Unpack(const std::vector<uint8_t>& source, std::vector<uint8_t>& target);
};

// Whether a packed stream of `source_size` bytes (UnpackedSize included) may
// claim `unpacked_size` bytes; see the rule in lzh.cpp.
bool UnpackedSizeIsPlausible(uint32_t unpacked_size, size_t source_size);

// Packs `size` bytes into a stream that TLZH decodes to exactly those bytes.
// Throws ElzhException when size is more than kMaxUnpackedSize.
std::vector<uint8_t> LzhPack(const uint8_t* data, size_t size);
inline std::vector<uint8_t> LzhPack(const std::vector<uint8_t>& data) {
    return LzhPack(data.data(), data.size());
}
