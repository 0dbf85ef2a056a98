#include "flash/inflate.h"

#include <zlib.h>

#include <algorithm>

namespace flash {

std::vector<uint8_t> Inflate(const uint8_t* data, size_t size, size_t wanted) {
    std::vector<uint8_t> out;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return out;
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = static_cast<uInt>(std::min<size_t>(size, 0x7FFFFFFF));
    int rc = Z_OK;
    while (out.size() < wanted && rc == Z_OK) {
        size_t old = out.size();
        size_t step = std::min<size_t>({wanted - old, std::max<size_t>(old, 64 * 1024), 0x40000000});
        out.resize(old + step);
        zs.next_out = out.data() + old;
        zs.avail_out = static_cast<uInt>(step);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(old + (step - zs.avail_out));
    }
    inflateEnd(&zs);
    return out;
}

}  // namespace flash
