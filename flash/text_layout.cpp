#include "flash/text_layout.h"

#include "flash/device_fonts.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

std::string Folded(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\0') break;
        out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return out;
}

// The embedded font of a name, preferring the style asked for.
const Font* EmbeddedFont(const Movie& movie, const std::string& name, bool bold, bool italic) {
    std::string wanted = Folded(name);
    const Font* any = nullptr;
    for (const auto& [id, character] : movie.characters) {
        const Font* font = character.font.get();
        if (!font || font->glyphs.empty() || Folded(font->name) != wanted) continue;
        if (font->bold == bold && font->italic == italic) return font;
        if (!any) any = font;
    }
    return any;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

// A character's place before lines are made.
struct Measured {
    const Font* font;
    int glyph;
    double advance, scale, ascent, descent;
};

Measured Measure(char16_t c, const TextFormat& f, const LayoutParams& params) {
    Measured m{ResolveFont(f, params), -1, 0, 0, 0, 0};
    const Font* metrics = m.font ? m.font : DeviceFont(f.font.value_or("Times New Roman"), f.bold.value_or(false),
                                                     f.italic.value_or(false));
    double size = f.size.value_or(12) * 20;
    if (!metrics || metrics->em <= 0) {
        m.advance = c == u' ' ? size * 0.25 : size * 0.5;
        m.ascent = size * 0.9, m.descent = size * 0.25;
        return m;
    }
    m.scale = size / metrics->em;
    // A font's ascent and descent at its size count whole twips.
    m.ascent = std::floor(metrics->ascent * m.scale);
    m.descent = std::floor(metrics->descent * m.scale);
    int glyph = metrics->FindGlyph(c);
    if (glyph >= 0 && static_cast<size_t>(glyph) < metrics->advances.size()) {
        // Embedded fonts advance by whole twips, the system's by whole pixels.
        m.advance = metrics->advances[static_cast<size_t>(glyph)] * m.scale;
        m.advance = params.embedded ? std::floor(m.advance) : std::round(m.advance / 20) * 20;
    } else if (!metrics->advances.empty() || c != u'\r') {
        m.advance = metrics->advances.empty() ? size * 0.5 : 0;
    }
    if (m.font) m.glyph = glyph;
    m.advance += f.letter_spacing.value_or(0) * 20;
    return m;
}

}  // namespace

const Font* ResolveFont(const TextFormat& format, const LayoutParams& params) {
    std::string name = format.font.value_or("Times New Roman");
    bool bold = format.bold.value_or(false), italic = format.italic.value_or(false);
    if (!params.embedded) return DeviceFont(name, bold, italic);
    if (!params.movie) return nullptr;
    if (const Font* font = EmbeddedFont(*params.movie, name, bold, italic)) return font;
    const Character* own = params.movie->Find(params.font_id);
    if (own && own->font && !own->font->glyphs.empty() && Folded(own->font->name).empty()) return own->font.get();
    return nullptr;
}

TextLayout LayOutText(const RichText& text, const TextFormat& empty_format, const LayoutParams& params) {
    TextLayout out;
    const std::u16string& chars = text.chars;
    std::vector<Measured> measured;
    measured.reserve(chars.size());
    for (size_t i = 0; i < chars.size(); ++i)
        measured.push_back(Measure(params.password ? u'*' : chars[i], text.formats[i], params));

    double y = 0;
    double measured_height = 0;
    size_t paragraph = 0;   // first character of the paragraph being laid out
    auto finish = [&](LaidLine& line, const TextFormat& f, bool first_of_paragraph) {
        double left = (f.left_margin.value_or(0) + f.block_indent.value_or(0)) * 20 +
                      (first_of_paragraph ? f.indent.value_or(0) * 20 : 0);
        double right = params.box_width - 2 * kTextGutter - f.right_margin.value_or(0) * 20;
        line.width = 0;
        for (const LaidGlyph& g : line.glyphs) line.width = g.x + g.advance;
        std::string align = f.align.value_or("left");
        double room = right - left - line.width;
        line.x = kTextGutter + left;
        if (align == "right") line.x += std::max(0.0, room);
        else if (align == "center") line.x += std::max(0.0, room / 2);
        line.y = y;
        if (line.ascent == 0 && line.descent == 0) {
            Measured m = Measure(u' ', f, params);
            line.ascent = m.ascent, line.descent = m.descent;
        }
        line.leading = f.leading.value_or(0) * 20;
        // Lines of the system's fonts are drawn a whole number of pixels
        // apart, the nearest to their height; those of embedded fonts their
        // height (in whole twips) apart. The text's measured height counts
        // each line's whole pixels only.
        double height = (line.ascent + line.descent + line.leading) / 20;
        y += params.embedded ? height * 20 : std::round(height) * 20;
        measured_height += std::floor(height) * 20;
        out.width = std::max(out.width, line.width);   // margins and indents not counted
        out.lines.push_back(std::move(line));
    };

    LaidLine line;
    bool first_of_paragraph = true;
    auto limit_of = [&](const TextFormat& f, bool first) {
        if (!params.word_wrap) return static_cast<double>(INFINITY);
        return params.box_width - 2 * kTextGutter -
               (f.left_margin.value_or(0) + f.right_margin.value_or(0) + f.block_indent.value_or(0) +
                (first ? f.indent.value_or(0) : 0)) * 20;
    };
    double x = 0;
    size_t i = 0;
    line.begin = 0;
    while (i < chars.size()) {
        const TextFormat& pf = text.formats[paragraph];
        char16_t c = chars[i];
        if (c == u'\r') {
            line.end = i;
            finish(line, pf, first_of_paragraph);
            line = LaidLine{};
            line.begin = ++i;
            paragraph = i;
            first_of_paragraph = true;
            x = 0;
            continue;
        }
        const Measured& m = measured[i];
        if (!IsSpace(c) && x + m.advance > limit_of(pf, first_of_paragraph) && i > line.begin) {
            // Back to the start of the word, unless the word fills the line alone.
            size_t cut = i;
            while (cut > line.begin && !IsSpace(chars[cut - 1])) --cut;
            if (cut == line.begin) cut = i;
            line.glyphs.resize(cut - line.begin);
            line.end = cut;
            line.ascent = line.descent = 0;
            for (size_t k = line.begin; k < cut; ++k) {
                line.ascent = std::max(line.ascent, measured[k].ascent);
                line.descent = std::max(line.descent, measured[k].descent);
            }
            finish(line, pf, first_of_paragraph);
            first_of_paragraph = false;
            line = LaidLine{};
            line.begin = i = cut;
            x = 0;
            continue;
        }
        const TextFormat& f = text.formats[i];
        LaidGlyph g;
        g.font = m.font, g.glyph = m.glyph, g.x = x, g.advance = m.advance, g.scale = m.scale;
        g.color = static_cast<uint32_t>(f.color.value_or(0));
        g.underline = f.underline.value_or(false);
        line.glyphs.push_back(g);
        line.ascent = std::max(line.ascent, m.ascent);
        line.descent = std::max(line.descent, m.descent);
        x += m.advance;
        ++i;
    }
    line.end = chars.size();
    finish(line, chars.empty() ? empty_format : text.formats[std::min(paragraph, chars.size() - 1)], first_of_paragraph);
    out.height = measured_height;
    return out;
}

}  // namespace flash
