// The image data of the four JPEG tags: DefineBits (JPEG data that takes the
// movie's shared JPEGTables), DefineBitsJPEG2 (a whole JPEG, or a tables
// block and an image block), DefineBitsJPEG3 (the same followed by a
// zlib-packed alpha plane) and DefineBitsJPEG4 (as JPEG3, with a deblocking
// value). The image data of the last three may instead be a PNG or GIF file.
#pragma once

#include <cstdint>

#include "swf/bitmap.h"
#include "swf/byte_reader.h"
#include "swf/jpeg_rules.h"

namespace swf {

enum class ImageFormat { Jpeg, Png, Gif };

struct JpegTagImage {
    ImageFormat format = ImageFormat::Jpeg;
    JpegParts jpeg;  // Jpeg: the JPEG file, in parts
    Bytes file;      // Png and Gif: the file as stored
    Bytes alpha;     // JPEG3 and JPEG4: the zlib stream of the alpha plane
};

// The image of a tag body (the character id included) of the given code.
// tables are the segments JpegTableSegments made of the movie's JPEGTables
// (DefineBits only). Throws SwfDataError for data that holds no image.
JpegTagImage ReadJpegTag(int code, Bytes body, Bytes tables);

// The bitmap of a JPEG tag, its alpha plane applied when it inflates to one
// byte a pixel. Throws SwfDataError for images that cannot be decoded (PNG
// and GIF data included).
Bitmap DecodeJpegTag(int code, Bytes body, Bytes tables);

}  // namespace swf
