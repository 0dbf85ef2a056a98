#include "tests/core/swf/swf_test_builder.h"
#include "tests/core/temp_path.h"

#include <jpeglib.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace swftest {

void Put16(Data& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(Data& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint16_t Le16(const Data& data, size_t pos) {
    return static_cast<uint16_t>(data[pos] | data[pos + 1] << 8);
}

uint32_t Le32(const Data& data, size_t pos) {
    return Le16(data, pos) | uint32_t(Le16(data, pos + 2)) << 16;
}

Data Join(std::initializer_list<Data> parts) {
    Data out;
    for (const Data& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Data Tag(int code, const Data& body, bool long_form) {
    Data out;
    if (body.size() < 63 && !long_form) {
        Put16(out, static_cast<uint32_t>(code << 6 | body.size()));
    } else {
        Put16(out, static_cast<uint32_t>(code << 6 | 63));
        Put32(out, static_cast<uint32_t>(body.size()));
    }
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Data Movie(const std::vector<Data>& tags, int version) {
    Data out = {'F', 'W', 'S', static_cast<uint8_t>(version), 0, 0, 0, 0, 0x00, 0x00, 12, 1, 0};
    for (const Data& tag : tags) out.insert(out.end(), tag.begin(), tag.end());
    uint32_t length = static_cast<uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    return out;
}

Data Deflate(const Data& bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    Data out(size);
    if (compress(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size())) != Z_OK)
        throw std::runtime_error("compress failed");
    out.resize(size);
    return out;
}

Data Compress(const Data& fws) {
    Data out(fws.begin(), fws.begin() + 8);
    out[0] = 'C';
    Data body = Deflate(Data(fws.begin() + 8, fws.end()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Data End() {
    return Tag(0, {});
}

Data DefineSoundBody(uint8_t flags, uint32_t samples, const Data& data) {
    Data out = {1, 0, flags};
    Put32(out, samples);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Data StreamHeadBody(uint8_t stream_flags, uint16_t samples_per_block) {
    Data out = {stream_flags, stream_flags};
    Put16(out, samples_per_block);
    Put16(out, 0);
    return out;
}

namespace {

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void Silent(j_common_ptr) {}

}  // namespace

Data EncodeJpeg(int width, int height) {
    jpeg_compress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        throw std::runtime_error("jpeg encoding failed");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(width * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            row[x * 3] = static_cast<uint8_t>(x * 8);
            row[x * 3 + 1] = static_cast<uint8_t>(y * 8);
            row[x * 3 + 2] = 128;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Data out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

SplitJpeg SplitTables(const Data& jpeg) {
    SplitJpeg split;
    split.tables = {0xFF, 0xD8};
    split.image = {0xFF, 0xD8};
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos + 1] != 0xDA) {
        size_t length = static_cast<size_t>(jpeg[pos + 2] << 8 | jpeg[pos + 3]);
        Data& to = (jpeg[pos + 1] == 0xDB || jpeg[pos + 1] == 0xC4) ? split.tables : split.image;
        to.insert(to.end(), jpeg.begin() + pos, jpeg.begin() + pos + 2 + length);
        pos += 2 + length;
    }
    split.tables.push_back(0xFF);
    split.tables.push_back(0xD9);
    split.image.insert(split.image.end(), jpeg.begin() + pos, jpeg.end());
    return split;
}

bool DecodesAsJpeg(const Data& data, int* width, int* height) {
    jpeg_decompress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.manager.output_message = Silent;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::vector<uint8_t> row(info.output_width * info.output_components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    // A stream that ended early only gets a warning from libjpeg.
    bool clean = info.err->num_warnings == 0;
    if (width) *width = static_cast<int>(info.output_width);
    if (height) *height = static_cast<int>(info.output_height);
    jpeg_destroy_decompress(&info);
    return clean;
}

swf::SwfExtractor Loaded(const Data& movie) {
    swf::SwfExtractor extractor;
    extractor.SetSwfImage(movie);
    extractor.getinfo();
    extractor.addtolistview();
    return extractor;
}

Data ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Data(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path FreshFolder(const std::string& name) {
    std::filesystem::path folder = testtemp::OwnTempPath("corvella-swf-test-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace swftest
