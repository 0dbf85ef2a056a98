// Turns markup into XmlNode children of a document. Malformed input stops
// the parse with a status code; the nodes made until then stay.
#include "flash/avm1/classes/xml_node.h"

#include <cstdlib>
#include <cstring>

namespace flash::avm1 {

namespace {

enum Status {
    kOk = 0,
    kCdataOpen = -2,
    kDeclOpen = -3,
    kDoctypeOpen = -4,
    kCommentOpen = -5,
    kBadElement = -6,
    kAttributeOpen = -8,
    kEndMissing = -9,
    kEndUnmatched = -10,
};

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Replaces the five named entities and numeric references; anything else
// starting with & stays as it is.
std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        size_t end = text.find(';', i);
        if (end == std::string::npos || end - i > 10) {
            out += '&';
            continue;
        }
        std::string entity = text.substr(i + 1, end - i - 1);
        if (entity == "lt") out += '<';
        else if (entity == "gt") out += '>';
        else if (entity == "amp") out += '&';
        else if (entity == "quot") out += '"';
        else if (entity == "apos") out += '\'';
        else if (entity.size() > 1 && entity[0] == '#') {
            bool hex = entity[1] == 'x' || entity[1] == 'X';
            char* stop = nullptr;
            std::string digits = entity.substr(hex ? 2 : 1);
            unsigned long code = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
            if (digits.empty() || *stop || code > 0x10FFFF) {
                out += '&';
                continue;
            }
            AppendUtf8(out, static_cast<uint32_t>(code));
        } else {
            out += '&';
            continue;
        }
        i = end;
    }
    return out;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool AllSpace(const std::string& text) {
    for (char c : text)
        if (!IsSpace(c)) return false;
    return true;
}

class Parser {
public:
    Parser(Vm& vm, XmlNode* document, const std::string& text, bool ignore_white)
        : vm_(vm), document_(document), text_(text), ignore_white_(ignore_white), current_(document) {}

    int Run() {
        while (pos_ < text_.size()) {
            int status = text_[pos_] == '<' ? Markup() : Text();
            if (status != kOk) return status;
        }
        return current_ == document_ ? kOk : kEndMissing;
    }

private:
    bool StartsWith(const char* prefix) const { return text_.compare(pos_, std::strlen(prefix), prefix) == 0; }

    void AddText(const std::string& value) {
        if (ignore_white_ && AllSpace(value)) return;
        current_->Insert(MakeXmlNode(vm_, 3, Value(value)), nullptr);
    }

    int Text() {
        size_t end = text_.find('<', pos_);
        if (end == std::string::npos) end = text_.size();
        AddText(Unescape(text_.substr(pos_, end - pos_)));
        pos_ = end;
        return kOk;
    }

    // Skips to the end of a construct; false when the closer is missing.
    bool SkipPast(const char* closer, std::string* body) {
        size_t end = text_.find(closer, pos_);
        if (end == std::string::npos) return false;
        end += std::strlen(closer);
        if (body) *body = text_.substr(pos_, end - pos_);
        pos_ = end;
        return true;
    }

    int Markup() {
        if (StartsWith("<!--")) return SkipPast("-->", nullptr) ? kOk : kCommentOpen;
        if (StartsWith("<![CDATA[")) {
            size_t start = pos_ + 9;
            size_t end = text_.find("]]>", start);
            if (end == std::string::npos) return kCdataOpen;
            current_->Insert(MakeXmlNode(vm_, 3, Value(text_.substr(start, end - start))), nullptr);
            pos_ = end + 3;
            return kOk;
        }
        if (StartsWith("<?")) {
            std::string decl;
            if (!SkipPast("?>", &decl)) return kDeclOpen;
            if (decl.compare(0, 5, "<?xml") == 0) {
                Value old = vm_.Get(document_, "xmlDecl");
                std::string joined = old.IsString() ? old.string + decl : decl;
                vm_.Set(document_, "xmlDecl", Value(joined));
            }
            return kOk;
        }
        if (StartsWith("<!")) {
            std::string decl;
            if (!SkipPast(">", &decl)) return kDoctypeOpen;
            vm_.Set(document_, "docTypeDecl", Value(decl));
            return kOk;
        }
        if (StartsWith("</")) return EndTag();
        return StartTag();
    }

    std::string Name() {
        size_t start = pos_;
        while (pos_ < text_.size() && !IsSpace(text_[pos_]) && text_[pos_] != '>' && text_[pos_] != '/' &&
               text_[pos_] != '=')
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    }

    int EndTag() {
        pos_ += 2;
        std::string name = Name();
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != '>') return kBadElement;
        ++pos_;
        if (current_ == document_ || !current_->name.IsString() || current_->name.string != name)
            return current_ == document_ ? kEndUnmatched : kEndMissing;
        current_ = current_->parent;
        return kOk;
    }

    int StartTag() {
        ++pos_;
        std::string name = Name();
        if (name.empty()) return kBadElement;
        XmlNode* element = MakeXmlNode(vm_, 1, Value(name));
        current_->Insert(element, nullptr);
        // Attributes are kept last first, so that enumerating them (which
        // goes from the newest) meets them in the order written.
        std::vector<std::pair<std::string, std::string>> attributes;
        auto keep = [&] {
            for (auto it = attributes.rbegin(); it != attributes.rend(); ++it)
                element->attributes->Define(it->first, Value(it->second), 0);
        };
        for (;;) {
            SkipSpace();
            if (pos_ >= text_.size()) return kBadElement;
            if (text_[pos_] == '>') {
                ++pos_;
                current_ = element;
                keep();
                break;
            }
            if (StartsWith("/>")) {
                pos_ += 2;
                keep();
                break;
            }
            std::string attribute = Name();
            SkipSpace();
            if (attribute.empty() || pos_ >= text_.size() || text_[pos_] != '=') return kBadElement;
            ++pos_;
            SkipSpace();
            if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) return kBadElement;
            char quote = text_[pos_++];
            size_t end = text_.find(quote, pos_);
            if (end == std::string::npos) return kAttributeOpen;
            std::string value = Unescape(text_.substr(pos_, end - pos_));
            pos_ = end + 1;
            bool seen = false;
            for (const auto& [n, v] : attributes) seen = seen || n == attribute;
            if (!seen) attributes.emplace_back(attribute, value);
            if (attribute == "id") RegisterId(value, element);
        }
        return kOk;
    }

    void RegisterId(const std::string& id, XmlNode* element) {
        Value map = vm_.Get(document_, "idMap");
        if (map.IsObject()) vm_.Set(map.object, id, Value(static_cast<Object*>(element)));
    }

    Vm& vm_;
    XmlNode* document_;
    const std::string& text_;
    bool ignore_white_;
    XmlNode* current_;
    size_t pos_ = 0;
};

}  // namespace

int ParseXml(Vm& vm, XmlNode* document, const std::string& text, bool ignore_white) {
    while (!document->children.empty()) document->children.back()->Remove();
    Parser parser(vm, document, text, ignore_white);
    return parser.Run();
}

}  // namespace flash::avm1
