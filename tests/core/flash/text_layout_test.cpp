// Fonts for text fields: TrueType files read into glyphs and metrics, the
// device faces names stand for, and text laid out in lines with embedded
// fonts found by name.
#include "flash/device_fonts.h"
#include "flash/text_layout.h"
#include "flash/truetype.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace flash {
namespace {

std::vector<uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(TrueType, ReadsMetricsAdvancesAndOutlinesOfARealFont) {
    std::vector<uint8_t> bytes = ReadFile("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
    if (bytes.empty()) GTEST_SKIP() << "no Liberation Sans here";
    std::shared_ptr<Font> font = ReadTrueType(bytes);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->em, 4096);   // 2048 units, doubled
    EXPECT_TRUE(font->codes_sorted);
    int a = font->FindGlyph('A'), space = font->FindGlyph(' ');
    ASSERT_GE(a, 0);
    ASSERT_GE(space, 0);
    // Arial's metrics: A advances 1366 units, a space 569; ascent 1854, descent 434.
    EXPECT_EQ(font->advances[static_cast<size_t>(a)], 2 * 1366);
    EXPECT_EQ(font->advances[static_cast<size_t>(space)], 2 * 569);
    EXPECT_EQ(font->ascent, 2 * 1854);
    EXPECT_EQ(font->descent, 2 * 434);
    // A has an outer outline and a hole, all above the baseline (y down).
    const Shape& glyph = font->glyphs[static_cast<size_t>(a)];
    ASSERT_EQ(glyph.layers.size(), 1u);
    EXPECT_GE(glyph.layers[0].edges.size(), 6u);
    for (const ShapeEdge& e : glyph.layers[0].edges) EXPECT_LE(e.y0, 0);
    EXPECT_TRUE(font->glyphs[static_cast<size_t>(space)].layers[0].edges.empty());
    EXPECT_EQ(font->FindGlyph(0xFFFF), -1);
}

TEST(TrueType, RefusesDataThatIsNotAFontWithoutReadingPastIt) {
    EXPECT_FALSE(ReadTrueType({}));
    EXPECT_FALSE(ReadTrueType({0, 1, 0, 0, 0, 9}));
    std::vector<uint8_t> bytes = ReadFile("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
    if (bytes.empty()) return;
    bytes.resize(bytes.size() / 3);   // tables that run past the end
    EXPECT_FALSE(ReadTrueType(bytes));
}

TEST(DeviceFonts, GenericNamesStandForTheThreeFaces) {
    EXPECT_EQ(DeviceFace("_sans"), "Arial");
    EXPECT_EQ(DeviceFace("_SERIF"), "Times New Roman");
    EXPECT_EQ(DeviceFace("_typewriter"), "Courier New");
    EXPECT_EQ(DeviceFace("Verdana"), "Verdana");
}

// An embedded font of em 1024 whose characters a, b and space advance by
// 512, 1024 and 256 units; ascent 800, descent 224.
Movie FontMovie() {
    Movie movie;
    auto font = std::make_shared<Font>();
    font->name = "Test Face";
    font->em = 1024;
    font->codes = {' ', 'a', 'b'};
    font->advances = {256, 512, 1024};
    font->glyphs.resize(3);
    font->ascent = 800;
    font->descent = 224;
    movie.characters[1].font = font;
    return movie;
}

TextFormat Format(double size) {
    TextFormat f = DefaultTextFormat();
    f.font = "test face";   // names match whatever their case
    f.size = size;
    return f;
}

RichText Text(const std::u16string& chars, const TextFormat& f) {
    RichText text;
    text.Append(chars, f);
    return text;
}

TEST(TextLayout, EmbeddedFontsAdvanceByWholeTwipsAndLinesFollowByWholeTwips) {
    Movie movie = FontMovie();
    LayoutParams params;
    params.movie = &movie;
    params.embedded = true;
    params.box_width = 2000;
    // At 10.3 px (206 twips): a is 103 twips, b 206, a space 51.5 -> 51.
    TextLayout laid = LayOutText(Text(u"ab a", Format(10.3)), Format(10.3), params);
    ASSERT_EQ(laid.lines.size(), 1u);
    EXPECT_EQ(laid.width, 103 + 206 + 51 + 103);
    EXPECT_NE(laid.lines[0].glyphs[0].font, nullptr);
    // 206 twips of ascent and descent, 10.3 px: one line is 10 px.
    EXPECT_EQ(laid.height, 200);
    TextFormat spaced = Format(10.3);
    spaced.leading = 3;
    EXPECT_EQ(LayOutText(Text(u"a\rb", spaced), spaced, params).height, 2 * 260);
    // At 10.6 px (212 twips) the ascent of 165.6 twips and descent of 46.4
    // count 165 and 46: the second line starts 211 twips down, while the
    // text measures 10 px a line.
    TextLayout tall = LayOutText(Text(u"a\rb", Format(10.6)), Format(10.6), params);
    ASSERT_EQ(tall.lines.size(), 2u);
    EXPECT_EQ(tall.lines[0].ascent, 165);
    EXPECT_EQ(tall.lines[1].y, 211);
    EXPECT_EQ(tall.height, 2 * 200);
    // A name the movie has no font for draws nothing.
    TextFormat other = Format(10);
    other.font = "Missing";
    EXPECT_EQ(ResolveFont(other, params), nullptr);
}

TEST(TextLayout, WrapsAtSpacesKeepingThemOnTheLineAndAlignsInTheBox) {
    Movie movie = FontMovie();
    LayoutParams params;
    params.movie = &movie;
    params.embedded = true;
    params.word_wrap = true;
    // 20 px text: a 200 twips, b 400, space 100; room for 500 twips.
    params.box_width = 500 + 2 * kTextGutter;
    TextLayout laid = LayOutText(Text(u"a a bb", Format(20)), Format(20), params);
    ASSERT_EQ(laid.lines.size(), 3u);
    EXPECT_EQ(laid.lines[0].end, 4u);            // "a a " fits, spaces and all
    EXPECT_EQ(laid.lines[0].width, 600);          // the trailing space counts
    EXPECT_EQ(laid.lines[1].begin, 4u);           // "b" alone, then the word breaks
    EXPECT_EQ(laid.lines[2].begin, 5u);
    TextFormat right = Format(20);
    right.align = "right";
    TextLayout aligned = LayOutText(Text(u"a", right), right, params);
    EXPECT_EQ(aligned.lines[0].x, kTextGutter + 500 - 200);
}

}  // namespace
}  // namespace flash
