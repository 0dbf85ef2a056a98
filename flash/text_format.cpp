#include "flash/text_format.h"

#include "flash/avm1/value.h"

#include <cmath>
#include <cstdio>
#include <set>

namespace flash {

namespace {

template <class T>
void Take(std::optional<T>& to, const std::optional<T>& from) {
    if (from) to = from;
}

template <class T>
void Keep(std::optional<T>& mine, const std::optional<T>& other) {
    if (mine != other) mine.reset();
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool IsSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

struct Tag {
    std::string name;                          // lower case, without '/'
    bool closing = false;
    bool malformed = false;                    // an attribute value without quotes
    std::vector<std::pair<std::string, std::string>> attributes;   // names lower case

    const std::string* Find(const char* attribute) const {
        for (const auto& [n, v] : attributes)
            if (n == attribute) return &v;
        return nullptr;
    }
};

// Reads the tag between '<' and '>' (exclusive).
Tag ReadTag(const std::string& body) {
    Tag tag;
    size_t i = 0;
    auto skip = [&] {
        while (i < body.size() && IsSpace(static_cast<unsigned char>(body[i]))) ++i;
    };
    skip();
    if (i < body.size() && body[i] == '/') tag.closing = true, ++i;
    size_t start = i;
    while (i < body.size() && !IsSpace(static_cast<unsigned char>(body[i])) && body[i] != '/' && body[i] != '>') ++i;
    tag.name = Lower(body.substr(start, i - start));
    while (i < body.size()) {
        skip();
        start = i;
        while (i < body.size() && body[i] != '=' && !IsSpace(static_cast<unsigned char>(body[i])) && body[i] != '/') ++i;
        std::string name = Lower(body.substr(start, i - start));
        skip();
        std::string value;
        if (i < body.size() && body[i] == '=') {
            ++i;
            skip();
            if (i < body.size() && (body[i] == '"' || body[i] == '\'')) {
                char quote = body[i++];
                size_t end = body.find(quote, i);
                if (end == std::string::npos) end = body.size();
                value = body.substr(i, end - i);
                i = end + 1;
            } else {
                tag.malformed = true;
                return tag;
            }
        }
        if (!name.empty()) tag.attributes.emplace_back(name, value);
        else if (i < body.size()) ++i;
    }
    return tag;
}

std::string DecodeEntities(const std::string& text) {
    static const struct {
        const char* name;
        const char* value;
    } entities[] = {{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", "\xC2\xA0"}};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool decoded = false;
        if (text[i] == '&') {
            for (const auto& e : entities) {
                std::string name = e.name;
                if (Lower(text.substr(i, name.size())) == name) {
                    out += e.value;
                    i += name.size();
                    decoded = true;
                    break;
                }
            }
        }
        if (!decoded) out.push_back(text[i++]);
    }
    return out;
}

double Number(const std::string& text) {
    double n = avm1::StringToNumber(text, false);
    return std::isfinite(n) ? n : 0;
}

// "#" and hex digits, read up to the first other character, the last six
// digits counting; nullopt without the "#".
std::optional<double> Color(const std::string& text) {
    if (text.empty() || text[0] != '#') return std::nullopt;
    unsigned long value = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) break;
        value = (value << 4 | static_cast<unsigned long>(digit)) & 0xFFFFFF;
    }
    return static_cast<double>(value);
}

void ApplyTag(const Tag& tag, TextFormat& f, bool spacing) {
    auto attr = [&](const char* name) { return tag.Find(name); };
    if (tag.name == "b") f.bold = true;
    else if (tag.name == "i") f.italic = true;
    else if (tag.name == "u") f.underline = true;
    else if (tag.name == "li") f.bullet = true;
    else if (tag.name == "a") {
        if (auto* v = attr("href")) f.url = *v;
        if (auto* v = attr("target")) f.target = *v;
    } else if (tag.name == "p") {
        if (auto* v = attr("align")) f.align = Lower(*v);
    } else if (tag.name == "font") {
        if (auto* v = attr("face")) f.font = *v;
        if (auto* v = attr("size")) {
            double size = Number(*v);
            if (!v->empty() && ((*v)[0] == '+' || (*v)[0] == '-') && f.size) size += *f.size;
            f.size = size;
        }
        if (auto* v = attr("color"))
            if (auto color = Color(*v)) f.color = *color;
        if (auto* v = attr("letterspacing"); v && spacing) f.letter_spacing = Number(*v);
        if (auto* v = attr("kerning"); v && spacing) f.kerning = Number(*v) != 0;
    } else if (tag.name == "textformat") {
        if (auto* v = attr("leftmargin")) f.left_margin = Number(*v);
        if (auto* v = attr("rightmargin")) f.right_margin = Number(*v);
        if (auto* v = attr("indent")) f.indent = Number(*v);
        if (auto* v = attr("blockindent")) f.block_indent = Number(*v);
        if (auto* v = attr("leading")) f.leading = Number(*v);
    }
}

std::string Hex(double color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%06X", static_cast<unsigned>(static_cast<long long>(color) & 0xFFFFFF));
    return buffer;
}

std::string Num(const std::optional<double>& n) { return avm1::NumberToString(n ? *n : 0); }

std::string Escape(const std::u16string& text) {
    std::string out;
    for (char c : avm1::Utf8FromUtf16(text)) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else if (c == '"') out += "&quot;";
        else if (c == '\'') out += "&apos;";
        else out.push_back(c);
    }
    return out;
}

// FONT attributes of f that differ from base (all of them without base).
std::string FontAttributes(const TextFormat& f, const TextFormat* base) {
    std::string out;
    auto differs = [&](auto member) { return !base || f.*member != base->*member; };
    if (differs(&TextFormat::font)) out += " FACE=\"" + f.font.value_or("") + "\"";
    if (differs(&TextFormat::size)) out += " SIZE=\"" + Num(f.size) + "\"";
    if (differs(&TextFormat::color)) out += " COLOR=\"" + Hex(f.color.value_or(0)) + "\"";
    if (differs(&TextFormat::letter_spacing)) out += " LETTERSPACING=\"" + Num(f.letter_spacing) + "\"";
    if (differs(&TextFormat::kerning)) out += std::string(" KERNING=\"") + (f.kerning.value_or(false) ? "1" : "0") + "\"";
    return out;
}

void PrintParagraph(const RichText& text, size_t begin, size_t end, const TextFormat& first, std::string& out) {
    std::string block;
    auto margin = [&](const char* name, const std::optional<double>& v) {
        if (v && *v != 0) block += std::string(" ") + name + "=\"" + Num(v) + "\"";
    };
    margin("LEFTMARGIN", first.left_margin);
    margin("RIGHTMARGIN", first.right_margin);
    margin("INDENT", first.indent);
    margin("BLOCKINDENT", first.block_indent);
    margin("LEADING", first.leading);
    if (!block.empty()) out += "<TEXTFORMAT" + block + ">";
    bool bullet = first.bullet.value_or(false);
    out += bullet ? "<LI>" : "<P ALIGN=\"" + Upper(first.align.value_or("left")) + "\">";
    out += "<FONT" + FontAttributes(first, nullptr) + ">";
    std::vector<const TextFormat*> fonts = {&first};   // the FONT tags open
    for (size_t i = begin; i < end;) {
        const TextFormat& f = text.formats[i];
        size_t j = i;
        while (j < end && text.formats[j] == f) ++j;
        std::u16string chars = text.chars.substr(i, j - i);
        if (!chars.empty() && chars.back() == u'\r') chars.pop_back();
        // A run in the font of an open FONT returns to it; one in another
        // font opens a FONT inside the last, with what differs from it.
        size_t level = fonts.size();
        while (level > 0 && !FontAttributes(f, fonts[level - 1]).empty()) --level;
        if (level > 0) {
            for (; fonts.size() > level; fonts.pop_back()) out += "</FONT>";
        } else {
            out += "<FONT" + FontAttributes(f, fonts.back()) + ">";
            fonts.push_back(&f);
        }
        std::string open, close;
        if (f.url && !f.url->empty()) {
            open += "<A HREF=\"" + *f.url + "\" TARGET=\"" + f.target.value_or("") + "\">";
            close = "</A>" + close;
        }
        if (f.bold.value_or(false)) open += "<B>", close = "</B>" + close;
        if (f.italic.value_or(false)) open += "<I>", close = "</I>" + close;
        if (f.underline.value_or(false)) open += "<U>", close = "</U>" + close;
        out += open + Escape(chars) + close;
        i = j;
    }
    for (size_t k = 0; k < fonts.size(); ++k) out += "</FONT>";
    out += bullet ? "</LI>" : "</P>";
    if (!block.empty()) out += "</TEXTFORMAT>";
}

}  // namespace

void TextFormat::Apply(const TextFormat& p) {
    Take(font, p.font), Take(url, p.url), Take(target, p.target), Take(align, p.align);
    Take(size, p.size), Take(color, p.color), Take(left_margin, p.left_margin), Take(right_margin, p.right_margin);
    Take(indent, p.indent), Take(leading, p.leading), Take(block_indent, p.block_indent);
    Take(letter_spacing, p.letter_spacing);
    Take(bold, p.bold), Take(italic, p.italic), Take(underline, p.underline), Take(bullet, p.bullet);
    Take(kerning, p.kerning);
}

void TextFormat::Intersect(const TextFormat& o) {
    Keep(font, o.font), Keep(url, o.url), Keep(target, o.target), Keep(align, o.align);
    Keep(size, o.size), Keep(color, o.color), Keep(left_margin, o.left_margin), Keep(right_margin, o.right_margin);
    Keep(indent, o.indent), Keep(leading, o.leading), Keep(block_indent, o.block_indent);
    Keep(letter_spacing, o.letter_spacing);
    Keep(bold, o.bold), Keep(italic, o.italic), Keep(underline, o.underline), Keep(bullet, o.bullet);
    Keep(kerning, o.kerning);
}

TextFormat DefaultTextFormat() {
    TextFormat f;
    f.font = "Times New Roman";
    f.size = 12;
    f.color = 0;
    f.bold = f.italic = f.underline = f.bullet = f.kerning = false;
    f.url = f.target = "";
    f.align = "left";
    f.left_margin = f.right_margin = f.indent = f.leading = f.block_indent = f.letter_spacing = 0;
    return f;
}

void RichText::Append(const std::u16string& text, const TextFormat& format) {
    chars += text;
    formats.insert(formats.end(), text.size(), format);
}

void RichText::Replace(size_t begin, size_t end, const std::u16string& text, const TextFormat& format) {
    end = std::min(end, chars.size());
    begin = std::min(begin, end);
    chars.replace(begin, end - begin, text);
    formats.erase(formats.begin() + static_cast<long>(begin), formats.begin() + static_cast<long>(end));
    formats.insert(formats.begin() + static_cast<long>(begin), text.size(), format);
}

RichText ParseHtml(const std::string& html, const TextFormat& base, bool multiline, bool condense_white,
                   int version) {
    RichText out;
    bool older = version < 8;
    if (version < 7) multiline = true;
    std::vector<std::pair<std::string, TextFormat>> stack;   // open tags and the format inside them
    std::set<size_t> inner_ended;   // open paragraphs (stack places) in which a nested one ended
    auto current = [&]() -> const TextFormat& { return stack.empty() ? base : stack.back().second; };
    TextFormat last = base;   // the format of the latest text or tag opened
    auto add = [&](const std::u16string& text) {
        out.Append(text, current());
        if (!text.empty()) last = current();
    };
    auto break_paragraph = [&] { add(u"\r"); };
    for (size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            size_t end = html.find('>', i);
            if (end == std::string::npos) break;
            std::string body = html.substr(i + 1, end - i - 1);
            i = end + 1;
            if (body.empty() || body[0] == '!' || body[0] == '?') continue;
            bool self_closing = body.back() == '/';
            if (self_closing) body.pop_back();
            Tag tag = ReadTag(body);
            if (tag.malformed) break;   // nothing from here on is read
            if (tag.name == "br" || tag.name == "sbr") {
                if (multiline) break_paragraph();
                continue;
            }
            if (tag.closing) {
                for (size_t k = stack.size(); k-- > 0;)
                    if (stack[k].first == tag.name) {
                        // The paragraph ends in the format of its last text or tag.
                        // A paragraph in which a nested one ended adds no break
                        // of its own.
                        bool after_inner = tag.name == "p" && inner_ended.count(k);
                        if ((tag.name == "p" || tag.name == "li") && multiline && !after_inner)
                            out.Append(u"\r", last);
                        stack.resize(k);
                        inner_ended.erase(inner_ended.lower_bound(k), inner_ended.end());
                        if (tag.name == "p")
                            for (size_t j = k; j-- > 0;)
                                if (stack[j].first == "p") {
                                    inner_ended.insert(j);
                                    break;
                                }
                        break;
                    }
                continue;
            }
            if (self_closing) continue;
            // A list item starts a paragraph of its own.
            if (tag.name == "li" && multiline && !out.chars.empty() && out.chars.back() != u'\r') break_paragraph();
            TextFormat inner = current();
            ApplyTag(tag, inner, !older);
            stack.emplace_back(tag.name, inner);
            last = inner;
            continue;
        }
        size_t end = html.find('<', i);
        if (end == std::string::npos) end = html.size();
        if (older && html.find_first_not_of(" \t\r\n", i) >= end) {
            i = end;   // white space alone between tags is not text
            continue;
        }
        std::u16string text = avm1::Utf16FromUtf8(DecodeEntities(html.substr(i, end - i)));
        i = end;
        std::u16string piece;
        for (char16_t c : text) {
            if (condense_white && IsSpace(c)) {
                // Before version 8 each run of text between tags is condensed
                // on its own; version 8 also drops white space that would
                // lead the text or follow a space or line end.
                bool after_space = !piece.empty() ? piece.back() == u' '
                                                  : !older && !out.chars.empty() &&
                                                        (out.chars.back() == u' ' || out.chars.back() == u'\r');
                bool leading = piece.empty() && out.chars.empty() && !older;
                if (!after_space && !leading) piece.push_back(u' ');
                continue;
            }
            if (c == u'\n' || c == u'\r') {
                add(piece);
                piece.clear();
                break_paragraph();
                continue;
            }
            piece.push_back(c);
        }
        add(piece);
    }
    return out;
}

std::string PrintHtml(const RichText& text) {
    std::string out;
    for (size_t begin = 0; begin < text.chars.size();) {
        size_t end = text.chars.find(u'\r', begin);
        end = end == std::u16string::npos ? text.chars.size() : end + 1;
        PrintParagraph(text, begin, end, text.formats[begin], out);
        begin = end;
    }
    return out;
}

}  // namespace flash
