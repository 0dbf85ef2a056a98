// Lays out a text field's rich text into lines of placed glyphs: fonts found
// by name (the movie's embedded fonts or the system's device fonts), words
// wrapped to the box, paragraphs indented, aligned and spaced as their
// formats say. What scripts measure and what the renderer draws both come
// from here.
#pragma once

#include "flash/movie.h"
#include "flash/text_format.h"

#include <vector>

namespace flash {

// Space between the field's box and its text, in twips.
constexpr double kTextGutter = 40;

struct LaidGlyph {
    const Font* font = nullptr;
    int glyph = -1;                  // -1: the font has no glyph for it
    double x = 0;                    // from the line's left, twips
    double advance = 0;
    double scale = 0;                // font units to twips
    uint32_t color = 0;
    bool underline = false;
};

struct LaidLine {
    size_t begin = 0, end = 0;       // characters of the text, end excluding the line break
    double x = 0, y = 0;             // the line's left and top within the box, twips
    double width = 0;                // of its glyphs, without trailing spaces
    double ascent = 0, descent = 0, leading = 0;
    std::vector<LaidGlyph> glyphs;
};

struct TextLayout {
    std::vector<LaidLine> lines;
    double width = 0;                // widest line, twips
    double height = 0;               // the lines' heights with leading, twips
};

struct LayoutParams {
    const Movie* movie = nullptr;    // where embedded fonts are found
    bool embedded = false;           // draws with the movie's fonts, not the system's
    uint16_t font_id = 0;            // the field's own font, when no font has its format's name
    double box_width = 0;            // twips
    bool word_wrap = false;
    bool password = false;
};

// The font a format names: an embedded font of that name and style when
// embedded (nullptr when the movie has none), else the device font.
const Font* ResolveFont(const TextFormat& format, const LayoutParams& params);

// Lays out text; an empty text makes one empty line in empty_format.
TextLayout LayOutText(const RichText& text, const TextFormat& empty_format, const LayoutParams& params);

}  // namespace flash
