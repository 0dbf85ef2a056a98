// The SWF resource extractor on arbitrary movie bytes: header, catalogue,
// rows, and the export of every row into a scratch folder. The same bytes
// read from a file (a compressed body then inflates as it is read) must give
// the same rows, and every file written must have the size its row lists.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "swf/swf_extractor.h"

namespace {

bool SameRows(const swf::SwfExtractor& a, const swf::SwfExtractor& b) {
    if (a.Rows().size() != b.Rows().size()) return false;
    for (size_t i = 0; i < a.Rows().size(); ++i) {
        const swf::ResourceRow& x = a.Rows()[i];
        const swf::ResourceRow& y = b.Rows()[i];
        if (x.caption != y.caption || x.tag_id != y.tag_id || x.code != y.code || x.blocks != y.blocks ||
            x.length != y.length || x.icon != y.icon)
            return false;
    }
    return a.InfoLines() == b.InfoLines();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("corvella-fuzz-swf-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    swf::SwfExtractor extractor;
    extractor.SetSwfImage(std::vector<uint8_t>(data, data + size));
    extractor.getinfo();
    extractor.addtolistview();

    const std::filesystem::path movie = folder / "movie.swf";
    {
        std::ofstream out(movie, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    swf::SwfExtractor from_file;
    from_file.init(movie);
    std::filesystem::remove(movie);
    if (!SameRows(extractor, from_file)) std::abort();

    for (size_t row = 0; row < extractor.Rows().size() && row < 16; ++row) {
        try {
            std::filesystem::path written = extractor.ExtractRow(row, folder);
            if (!written.empty() && std::filesystem::file_size(written) != extractor.Rows()[row].length) std::abort();
        } catch (const std::exception&) {
            // unexportable data is reported to the caller, which is fine
        }
    }
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        std::filesystem::remove(entry.path(), ignored);
    return 0;
}
