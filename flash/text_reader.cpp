#include "flash/text_reader.h"

#include "flash/shape_reader.h"
#include "flash/swf_records.h"

namespace flash {

namespace {

// Glyph outlines given by offsets from the start of the offset table; a
// glyph whose outline cannot be read is left empty.
void ReadGlyphs(swf::Bytes table, const std::vector<uint32_t>& offsets, size_t shapes_end, Font& font) {
    for (size_t i = 0; i < offsets.size(); ++i) {
        size_t start = offsets[i];
        size_t end = i + 1 < offsets.size() ? offsets[i + 1] : shapes_end;
        Shape glyph;
        if (start < end && end <= table.size()) {
            swf::ByteReader in(table.subspan(start, end - start));
            try {
                glyph = ReadGlyph(in);
            } catch (const swf::SwfDataError&) {
                glyph = Shape{};
            }
        }
        font.glyphs.push_back(std::move(glyph));
    }
}

}  // namespace

Font ReadFont(swf::ByteReader& in, int version) {
    Font font;
    if (version == 1) {
        swf::Bytes table = in.Rest();
        uint32_t first = in.U16();
        std::vector<uint32_t> offsets{first};
        for (uint32_t i = 1; i < first / 2; ++i) offsets.push_back(in.U16());
        ReadGlyphs(table, offsets, table.size(), font);
        return font;
    }
    uint8_t flags = in.U8();
    bool has_layout = flags & 0x80;
    bool wide_offsets = flags & 0x08;
    bool wide_codes = flags & 0x04;
    font.bold = flags & 0x01;
    font.italic = flags & 0x02;
    in.U8();  // language
    size_t name_length = in.U8();
    for (size_t i = 0; i < name_length && in.Remaining(); ++i) {
        char c = static_cast<char>(in.U8());
        if (c) font.name.push_back(c);
    }
    uint32_t count = in.U16();
    swf::Bytes table = in.Rest();
    std::vector<uint32_t> offsets;
    for (uint32_t i = 0; i < count; ++i) offsets.push_back(wide_offsets ? in.U32() : in.U16());
    uint32_t code_offset = wide_offsets ? in.U32() : in.U16();
    if (code_offset > table.size()) throw swf::SwfDataError("font code table outside the tag");
    if (version == 3) font.em = 20480;
    ReadGlyphs(table, offsets, code_offset, font);

    swf::ByteReader rest(table.subspan(code_offset));
    for (uint32_t i = 0; i < count; ++i) font.codes.push_back(wide_codes ? rest.U16() : rest.U8());
    if (has_layout) {
        font.ascent = rest.S16();
        font.descent = rest.S16();
        font.leading = rest.S16();
        // Advances are read unsigned: a large one moves far right, never back.
        for (uint32_t i = 0; i < count; ++i) font.advances.push_back(rest.U16());
    }
    return font;
}

Text ReadText(swf::ByteReader& in, int version) {
    Text text;
    swf::ReadRect(in);  // bounds
    text.matrix = ToMatrix(swf::ReadMatrix(in));
    int glyph_bits = in.U8();
    int advance_bits = in.U8();
    TextRun state;
    while (in.Remaining() > 0) {
        uint8_t flags = in.U8();
        if (flags == 0) break;
        TextRun run = state;
        run.glyphs.clear();
        if (flags & 0x08) run.font = in.U16();
        if (flags & 0x04) run.color = version >= 2 ? swf::ReadRgba(in) : swf::ReadRgb(in);
        if (flags & 0x01) run.x = in.S16();
        if (flags & 0x02) run.y = in.S16();
        if (flags & 0x08) run.height = in.U16();
        int count = in.U8();
        for (int i = 0; i < count; ++i) {
            uint32_t glyph = in.UB(glyph_bits);
            int32_t advance = in.SB(advance_bits);
            run.glyphs.emplace_back(glyph, advance);
        }
        in.Align();
        state = run;
        for (const auto& glyph : run.glyphs) state.x += glyph.second;
        text.runs.push_back(std::move(run));
    }
    return text;
}

EditText ReadEditText(swf::ByteReader& in) {
    EditText field;
    swf::Rect bounds = swf::ReadRect(in);
    field.xmin = bounds.xmin;
    field.xmax = bounds.xmax;
    field.ymin = bounds.ymin;
    field.ymax = bounds.ymax;
    uint8_t flags1 = in.U8();
    uint8_t flags2 = in.U8();
    field.border = flags2 & 0x08;
    field.outlines = flags2 & 0x01;
    bool html = flags2 & 0x02;
    if (flags1 & 0x01) field.font = in.U16();
    if (flags2 & 0x80) in.String();  // font class
    if (flags1 & 0x01) field.height = in.U16();
    if (flags1 & 0x04) field.color = swf::ReadRgba(in);
    if (flags1 & 0x02) field.max_length = in.U16();
    if (flags2 & 0x20) {
        field.align = in.U8();
        field.left_margin = in.U16();
        field.right_margin = in.U16();
        field.indent = in.U16();
        field.leading = in.S16();
    }
    field.variable = in.String();
    if (flags1 & 0x80) field.initial = in.String();
    field.text = html ? PlainTextOfHtml(field.initial) : field.initial;
    field.html = html;
    field.word_wrap = flags1 & 0x40;
    field.multiline = flags1 & 0x20;
    field.password = flags1 & 0x10;
    field.read_only = flags1 & 0x08;
    field.auto_size = flags2 & 0x40;
    field.selectable = !(flags2 & 0x10);
    return field;
}

std::string PlainTextOfHtml(const std::string& html) {
    std::string text;
    for (size_t i = 0; i < html.size();) {
        char c = html[i];
        if (c == '<') {
            size_t end = html.find('>', i);
            if (end == std::string::npos) break;
            std::string tag = html.substr(i + 1, end - i - 1);
            for (char& t : tag)
                if (t >= 'A' && t <= 'Z') t = static_cast<char>(t - 'A' + 'a');
            if (tag.rfind("br", 0) == 0 || tag == "/p") text.push_back('\n');
            i = end + 1;
            continue;
        }
        if (c == '&') {
            static const struct {
                const char* name;
                char value;
            } entities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
            bool decoded = false;
            for (const auto& e : entities) {
                std::string name = e.name;
                if (html.compare(i, name.size(), name) == 0) {
                    text.push_back(e.value);
                    i += name.size();
                    decoded = true;
                    break;
                }
            }
            if (decoded) continue;
        }
        text.push_back(c);
        ++i;
    }
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

}  // namespace flash
