// The character and paragraph format of text field text (what TextFormat
// objects carry), text as runs of formatted characters, and the HTML
// subset text fields read and write.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace flash {

// Every member is optional: a format read over a range leaves out what
// differs inside it, and a format applied changes only what it sets.
struct TextFormat {
    std::optional<std::string> font, url, target, align;   // align: left right center justify
    std::optional<double> size, color, left_margin, right_margin, indent, leading, block_indent,
        letter_spacing;
    std::optional<bool> bold, italic, underline, bullet, kerning;

    // Takes every member the patch sets.
    void Apply(const TextFormat& patch);
    // Keeps only the members that equal other's.
    void Intersect(const TextFormat& other);
    bool operator==(const TextFormat&) const = default;
};

// The format of a field made by scripts: Times New Roman 12, black, left.
TextFormat DefaultTextFormat();

// Characters (UTF-16 units, paragraphs ended by '\r') each with a format.
struct RichText {
    std::u16string chars;
    std::vector<TextFormat> formats;   // one per character

    void Clear() { chars.clear(), formats.clear(); }
    void Append(const std::u16string& text, const TextFormat& format);
    // Replaces [begin, end) by text in format.
    void Replace(size_t begin, size_t end, const std::u16string& text, const TextFormat& format);
};

// Reads the HTML of htmlText: p, br, li, b, i, u, font (face, size, color,
// letterSpacing, kerning), a (href, target), textformat (margins, indent,
// leading, blockIndent) and the &...; entities. Line ends in the source
// end paragraphs; with condense_white, runs of white space are one space
// and line ends are not kept. Closing p and li end paragraphs only in
// multiline fields. Movies before version 8 read HTML the older way: as if
// multiline, white space alone between tags dropped, and no letterSpacing
// or kerning.
RichText ParseHtml(const std::string& html, const TextFormat& base, bool multiline, bool condense_white,
                   int version = 8);

// Writes rich text as htmlText: each paragraph as P (or LI) with a FONT
// holding its runs, nested FONT, A, B, I and U where runs differ.
std::string PrintHtml(const RichText& text);

}  // namespace flash
