#include "swf/jpeg_tags.h"

#include <string_view>

#include "swf/jpeg_decoder.h"
#include "swf/tags.h"
#include "swf/zlib_inflate.h"

namespace swf {

namespace {

// JPEG data that may be a PNG or GIF file instead.
JpegTagImage ReadImageData(Bytes data) {
    JpegTagImage image;
    std::string_view suffix = EmbeddedImageSuffix(data);
    if (suffix == ".png" || suffix == ".gif") {
        image.format = suffix == ".png" ? ImageFormat::Png : ImageFormat::Gif;
        image.file = data;
        return image;
    }
    image.jpeg = RebuildJpeg(data);
    return image;
}

}  // namespace

JpegTagImage ReadJpegTag(int code, Bytes body, Bytes tables) {
    if (code == kDefineBits) {
        JpegTagImage image;
        image.jpeg = JoinJpegTables(Clamp(body, 2, UINT64_MAX), tables);
        return image;
    }
    if (code == kDefineBitsJpeg2) return ReadImageData(Clamp(body, 2, UINT64_MAX));
    if (code != kDefineBitsJpeg3 && code != kDefineBitsJpeg4) throw SwfDataError("the tag holds no JPEG data");
    ByteReader reader(body);
    reader.Skip(2);
    uint32_t image_length = reader.U32();  // AlphaDataOffset
    if (code == kDefineBitsJpeg4) reader.Skip(2);  // deblocking
    JpegTagImage image = ReadImageData(reader.Take(image_length));
    image.alpha = reader.Rest();
    return image;
}

Bitmap DecodeJpegTag(int code, Bytes body, Bytes tables) {
    JpegTagImage image = ReadJpegTag(code, body, tables);
    if (image.format != ImageFormat::Jpeg) throw SwfDataError("the image is no JPEG");
    std::vector<uint8_t> jpeg = image.jpeg.Join();
    Bitmap bitmap;
    if (!DecodeJpeg(jpeg.data(), jpeg.size(), bitmap)) throw SwfDataError("the JPEG image cannot be decoded");
    if (code == kDefineBitsJpeg3 || code == kDefineBitsJpeg4) {
        size_t count = bitmap.pixels.size();
        std::vector<uint8_t> alpha;
        Inflate(image.alpha, count, alpha);
        if (alpha.size() == count)
            for (size_t i = 0; i < count; ++i)
                bitmap.pixels[i] = (bitmap.pixels[i] & 0x00FFFFFFu) | (uint32_t{alpha[i]} << 24);
    }
    return bitmap;
}

}  // namespace swf
