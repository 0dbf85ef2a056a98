// The extractor over the real movies of the shared extraction corpus: the
// census agrees with the corpus index, every image and event sound is
// listed, and every file written is a well-formed JPEG, BMP, MP3 or WAV.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "swf/swf_extractor.h"
#include "tests/core/swf/swf_test_builder.h"

using namespace swftest;

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(CORVELLA_SHARED_DIR) / "corpus" / "extract";

using Record = std::map<std::string, std::string>;

std::vector<Record> ReadIndex() {
    std::vector<Record> records;
    std::ifstream in(kCorpus / "SOURCES.tsv");
    std::string line;
    std::vector<std::string> names;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t')) fields.push_back(field);
        if (names.empty()) {
            names = fields;
            continue;
        }
        Record record;
        for (size_t i = 0; i < names.size() && i < fields.size(); ++i) record[names[i]] = fields[i];
        records.push_back(record);
    }
    return records;
}

int Number(const Record& record, const std::string& name) {
    auto found = record.find(name);
    return found == record.end() ? 0 : std::atoi(found->second.c_str());
}

// The count behind "png=" in a payload column such as "jpeg-single=2,png=2".
int PngPayloads(const Record& record, const std::string& name) {
    auto found = record.find(name);
    if (found == record.end()) return 0;
    size_t at = found->second.find("png=");
    return at == std::string::npos ? 0 : std::atoi(found->second.c_str() + at + 4);
}

bool IsImageCode(int code) {
    return code == 6 || code == 20 || code == 21 || code == 35 || code == 36;
}

void ExpectWellFormed(const std::string& caption, const Data& file) {
    ASSERT_GE(file.size(), 4u) << caption;
    std::string suffix = caption.substr(caption.rfind('.') + 1);
    if (suffix == "jpg") {
        EXPECT_TRUE(DecodesAsJpeg(file)) << caption;
    } else if (suffix == "png") {
        EXPECT_EQ(std::string(file.begin() + 1, file.begin() + 4), "PNG") << caption;
    } else if (suffix == "bmp") {
        EXPECT_EQ(file[0], 'B') << caption;
        uint32_t size = file[2] | file[3] << 8 | file[4] << 16 | uint32_t(file[5]) << 24;
        EXPECT_EQ(size, file.size()) << caption;
    } else if (suffix == "MP3") {
        EXPECT_EQ(file[0], 0xFF) << caption;
        EXPECT_EQ(file[1] & 0xE0, 0xE0) << caption;
    } else if (suffix == "WAV") {
        EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF") << caption;
    }
}

}  // namespace

TEST(SwfCorpus, CensusRowsAndExportsOfTheRealMovies) {
    std::vector<Record> index = ReadIndex();
    // Skipped on a developer's machine without the corpus; in CI a missing
    // corpus is a failure, not a pass.
    if (index.empty() && std::getenv("CI")) FAIL() << "no extraction corpus at " << kCorpus;
    if (index.empty()) GTEST_SKIP() << "no extraction corpus at " << kCorpus;
    std::filesystem::path folder = FreshFolder("corpus");
    int files_written = 0;

    for (const Record& record : index) {
        const std::string& name = record.at("file");
        SCOPED_TRACE(name);
        swf::SwfExtractor extractor;
        extractor.init(kCorpus / name);
        ASSERT_TRUE(extractor.HeaderDecoded());
        EXPECT_EQ(extractor.InfoLines()[0], "标志：" + record.at("signature"));
        EXPECT_EQ(extractor.InfoLines()[1], "版本：" + record.at("swf_version"));
        EXPECT_EQ(extractor.TagTable().back().Code, 0);

        // The index counts tags inside sprites too; the catalogue holds the
        // top-level tags only, where images and event sounds always are.
        const auto& counts = extractor.TagCounts();
        EXPECT_EQ(counts[6], Number(record, "DefineBits_6"));
        EXPECT_EQ(counts[8], Number(record, "JPEGTables_8"));
        EXPECT_EQ(counts[14], Number(record, "DefineSound_14"));
        EXPECT_EQ(counts[20], Number(record, "DefineBitsLossless_20"));
        EXPECT_EQ(counts[21], Number(record, "DefineBitsJPEG2_21"));
        EXPECT_EQ(counts[35], Number(record, "DefineBitsJPEG3_35"));
        EXPECT_EQ(counts[36], Number(record, "DefineBitsLossless2_36"));
        EXPECT_LE(counts[18], Number(record, "SoundStreamHead_18"));
        EXPECT_LE(counts[19], Number(record, "SoundStreamBlock_19"));
        EXPECT_LE(counts[45], Number(record, "SoundStreamHead2_45"));

        int images = 0, unreadable_images = 0, png_images = 0, event_sounds = 0;
        for (size_t row = 0; row < extractor.Rows().size(); ++row) {
            const swf::ResourceRow& r = extractor.Rows()[row];
            if (IsImageCode(r.code)) {
                ++images;
                if (r.length == 0) ++unreadable_images;
                if (r.caption.ends_with(".png")) ++png_images;
            }
            if (r.code == 14) {
                ++event_sounds;
                EXPECT_GT(r.length, 0u) << r.caption;
            }
            if (r.length == 0) continue;
            std::filesystem::path path = extractor.ExtractRow(row, folder);
            ASSERT_FALSE(path.empty()) << r.caption;
            Data file = ReadFile(path);
            EXPECT_EQ(file.size(), r.length) << r.caption;
            ExpectWellFormed(r.caption, file);
            std::filesystem::remove(path);
            ++files_written;
        }
        EXPECT_EQ(images, Number(record, "image_tags"));
        // Every image is readable; PNG data in JPEG tags is written as PNG files.
        EXPECT_EQ(unreadable_images, 0);
        EXPECT_EQ(png_images, PngPayloads(record, "jpeg2_payloads") + PngPayloads(record, "jpeg3_payloads"));
        EXPECT_EQ(event_sounds, Number(record, "DefineSound_14"));
    }
    EXPECT_GT(files_written, 100);
    std::filesystem::remove_all(folder);
}
