#include "swf/jpeg_decoder.h"

#include "swf/bitmap.h"

#ifndef _WIN32
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#endif

namespace swf {

namespace {

#ifndef _WIN32
struct ErrorExit {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr) {}

bool DecodeWithLibjpeg(const uint8_t* data, size_t size, Bitmap& bitmap) {
    jpeg_decompress_struct info{};
    ErrorExit error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnError;
    error.manager.output_message = OnMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    int width = static_cast<int>(info.output_width), height = static_cast<int>(info.output_height);
    if (!BitmapSizeAllowed(width, height) || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    // The row buffer comes from libjpeg's own pool, which jpeg_destroy_decompress
    // frees on every path, also after an error jumps back to setjmp.
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                 static_cast<JDIMENSION>(width) * 3, 1);
    while (info.output_scanline < info.output_height) {
        size_t y = info.output_scanline;
        jpeg_read_scanlines(&info, rows, 1);
        uint32_t* out = bitmap.pixels.data() + y * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            const JSAMPLE* p = rows[0] + static_cast<size_t>(x) * 3;
            out[x] = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

JpegDecoder g_decoder = DecodeWithLibjpeg;
#else
JpegDecoder g_decoder = nullptr;
#endif

}  // namespace

void SetJpegDecoder(JpegDecoder decoder) { g_decoder = decoder; }

bool DecodeJpeg(const uint8_t* data, size_t size, Bitmap& bitmap) {
    return g_decoder && size > 0 && g_decoder(data, size, bitmap);
}

}  // namespace swf
