// The SWF resource extractor on arbitrary movie bytes: header, catalogue,
// rows, and the export of every row into a scratch folder.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "swf/swf_extractor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("corvella-fuzz-swf-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    swf::SwfExtractor extractor;
    extractor.SetSwfImage(std::vector<uint8_t>(data, data + size));
    extractor.getinfo();
    extractor.addtolistview();
    for (size_t row = 0; row < extractor.Rows().size() && row < 16; ++row) {
        try {
            extractor.ExtractRow(row, folder);
        } catch (const std::exception&) {
            // unexportable data is reported to the caller, which is fine
        }
    }
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        std::filesystem::remove(entry.path(), ignored);
    return 0;
}
