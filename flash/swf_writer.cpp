#include "flash/swf_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace flash {

namespace {

void PutU8(std::vector<uint8_t>& out, int value) { out.push_back(static_cast<uint8_t>(value)); }

void PutU16(std::vector<uint8_t>& out, int value) {
    PutU8(out, value & 0xFF);
    PutU8(out, (value >> 8) & 0xFF);
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, static_cast<int>(value & 0xFFFF));
    PutU16(out, static_cast<int>(value >> 16));
}

void PutString(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

void PutTag(std::vector<uint8_t>& out, int code, const std::vector<uint8_t>& body) {
    if (body.size() < 0x3F) {
        PutU16(out, (code << 6) | static_cast<int>(body.size()));
    } else {
        PutU16(out, (code << 6) | 0x3F);
        PutU32(out, static_cast<uint32_t>(body.size()));
    }
    out.insert(out.end(), body.begin(), body.end());
}

int Fixed(double value) { return static_cast<int>(std::lround(value * 65536.0)); }

int WidestSigned(std::initializer_list<int32_t> values) {
    int bits = 1;
    for (int32_t v : values) bits = std::max(bits, BitWriter::SignedBits(v));
    return bits;
}

void PutRect(std::vector<uint8_t>& out, int32_t xmin, int32_t xmax, int32_t ymin, int32_t ymax) {
    BitWriter bits;
    int n = WidestSigned({xmin, xmax, ymin, ymax});
    bits.UB(static_cast<uint32_t>(n), 5);
    bits.SB(xmin, n);
    bits.SB(xmax, n);
    bits.SB(ymin, n);
    bits.SB(ymax, n);
    const auto& bytes = bits.Bytes();
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void PutMatrix(std::vector<uint8_t>& out, const Matrix& m) {
    BitWriter bits;
    if (m.a != 1 || m.d != 1) {
        int n = WidestSigned({Fixed(m.a), Fixed(m.d)});
        bits.UB(1, 1);
        bits.UB(static_cast<uint32_t>(n), 5);
        bits.SB(Fixed(m.a), n);
        bits.SB(Fixed(m.d), n);
    } else {
        bits.UB(0, 1);
    }
    if (m.b != 0 || m.c != 0) {
        int n = WidestSigned({Fixed(m.b), Fixed(m.c)});
        bits.UB(1, 1);
        bits.UB(static_cast<uint32_t>(n), 5);
        bits.SB(Fixed(m.b), n);
        bits.SB(Fixed(m.c), n);
    } else {
        bits.UB(0, 1);
    }
    int32_t tx = static_cast<int32_t>(std::lround(m.tx)), ty = static_cast<int32_t>(std::lround(m.ty));
    int n = (tx == 0 && ty == 0) ? 0 : WidestSigned({tx, ty});
    bits.UB(static_cast<uint32_t>(n), 5);
    bits.SB(tx, n);
    bits.SB(ty, n);
    const auto& bytes = bits.Bytes();
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void PutColorTransform(std::vector<uint8_t>& out, const ColorTransform& t) {
    bool has_mult = t.rm != 256 || t.gm != 256 || t.bm != 256 || t.am != 256;
    bool has_add = t.ra != 0 || t.ga != 0 || t.ba != 0 || t.aa != 0;
    int n = WidestSigned({t.rm, t.gm, t.bm, t.am, t.ra, t.ga, t.ba, t.aa});
    BitWriter bits;
    bits.UB(has_add, 1);
    bits.UB(has_mult, 1);
    bits.UB(static_cast<uint32_t>(n), 4);
    if (has_mult)
        for (int v : {t.rm, t.gm, t.bm, t.am}) bits.SB(v, n);
    if (has_add)
        for (int v : {t.ra, t.ga, t.ba, t.aa}) bits.SB(v, n);
    const auto& bytes = bits.Bytes();
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void PutColor(std::vector<uint8_t>& out, Rgba c, bool alpha) {
    PutU8(out, c.r);
    PutU8(out, c.g);
    PutU8(out, c.b);
    if (alpha) PutU8(out, c.a);
}

// A zlib stream of stored (not compressed) blocks: the movie stays readable
// by every inflater while the engine carries no compressor.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out{0x78, 0x01};
    size_t pos = 0;
    do {
        size_t chunk = std::min<size_t>(data.size() - pos, 0xFFFF);
        bool last = pos + chunk == data.size();
        PutU8(out, last ? 1 : 0);
        PutU16(out, static_cast<int>(chunk));
        PutU16(out, static_cast<int>(~chunk & 0xFFFF));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
                   data.begin() + static_cast<std::ptrdiff_t>(pos + chunk));
        pos += chunk;
    } while (pos < data.size());
    uLong sum = adler32(0L, Z_NULL, 0);
    sum = adler32(sum, data.data(), static_cast<uInt>(data.size()));
    for (int shift = 24; shift >= 0; shift -= 8) PutU8(out, static_cast<int>((sum >> shift) & 0xFF));
    return out;
}

}  // namespace

void BitWriter::UB(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        buffer_ = (buffer_ << 1) | ((value >> i) & 1u);
        if (++count_ == 8) {
            bytes_.push_back(static_cast<uint8_t>(buffer_));
            buffer_ = 0;
            count_ = 0;
        }
    }
}

void BitWriter::Flush() {
    if (count_ > 0) UB(0, 8 - count_);
}

int BitWriter::UnsignedBits(uint32_t value) {
    int bits = 0;
    while (value) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

int BitWriter::SignedBits(int32_t value) {
    return UnsignedBits(static_cast<uint32_t>(value < 0 ? ~value : value)) + 1;
}

int ShapeBuilder::AddSolidFill(Rgba color) {
    fills_.push_back(Fill{color, 0, Matrix{}, 0x00});
    return static_cast<int>(fills_.size());
}

int ShapeBuilder::AddBitmapFill(uint16_t bitmap, const Matrix& matrix, bool repeats, bool smooth) {
    int type = repeats ? (smooth ? 0x40 : 0x42) : (smooth ? 0x41 : 0x43);
    fills_.push_back(Fill{Rgba{}, bitmap, matrix, type});
    return static_cast<int>(fills_.size());
}

int ShapeBuilder::AddLineStyle(int width, Rgba color) {
    lines_.emplace_back(width, color);
    widest_line_ = std::max(widest_line_, width);
    return static_cast<int>(lines_.size());
}

ShapeBuilder::Record& ShapeBuilder::PendingStyle() {
    if (records_.empty() || records_.back().kind != Record::Style) records_.push_back(Record{Record::Style});
    return records_.back();
}

void ShapeBuilder::SetFill0(int style) {
    Record& r = PendingStyle();
    r.fill0 = true;
    r.fill0_style = style;
}

void ShapeBuilder::SetFill1(int style) {
    Record& r = PendingStyle();
    r.fill1 = true;
    r.fill1_style = style;
}

void ShapeBuilder::SetLine(int style) {
    Record& r = PendingStyle();
    r.line = true;
    r.line_style = style;
}

void ShapeBuilder::Include(int32_t x, int32_t y) {
    if (!has_bounds_) {
        xmin_ = xmax_ = x;
        ymin_ = ymax_ = y;
        has_bounds_ = true;
    }
    xmin_ = std::min(xmin_, x);
    xmax_ = std::max(xmax_, x);
    ymin_ = std::min(ymin_, y);
    ymax_ = std::max(ymax_, y);
}

void ShapeBuilder::MoveTo(int32_t x, int32_t y) {
    Record& r = PendingStyle();
    r.move = true;
    r.a = x;
    r.b = y;
    x_ = x;
    y_ = y;
    Include(x, y);
}

void ShapeBuilder::LineTo(int32_t x, int32_t y) {
    records_.push_back(Record{Record::Line, false, false, false, false, x - x_, y - y_});
    x_ = x;
    y_ = y;
    Include(x, y);
}

void ShapeBuilder::CurveTo(int32_t cx, int32_t cy, int32_t x, int32_t y) {
    records_.push_back(Record{Record::Curve, false, false, false, false, cx - x_, cy - y_, x - cx, y - cy});
    x_ = x;
    y_ = y;
    Include(cx, cy);
    Include(x, y);
}

void ShapeBuilder::Rectangle(int32_t x, int32_t y, int32_t width, int32_t height, int style) {
    SetFill0(style);
    MoveTo(x, y);
    LineTo(x + width, y);
    LineTo(x + width, y + height);
    LineTo(x, y + height);
    LineTo(x, y);
}

void ShapeBuilder::Circle(int32_t cx, int32_t cy, int32_t radius, int style) {
    const double pi = 3.14159265358979323846;
    const double control = radius / std::cos(pi / 8);
    SetFill0(style);
    MoveTo(cx + radius, cy);
    for (int k = 1; k <= 8; ++k) {
        double mid = (k - 0.5) * pi / 4, end = k * pi / 4;
        CurveTo(cx + static_cast<int32_t>(std::lround(control * std::cos(mid))),
                cy + static_cast<int32_t>(std::lround(control * std::sin(mid))),
                cx + static_cast<int32_t>(std::lround(radius * std::cos(end))),
                cy + static_cast<int32_t>(std::lround(radius * std::sin(end))));
    }
}

std::vector<uint8_t> ShapeBuilder::Build(uint16_t id, int* tag_code) const {
    bool alpha = false;
    for (const Fill& f : fills_) alpha = alpha || f.color.a != 255;
    for (const auto& line : lines_) alpha = alpha || line.second.a != 255;
    bool many = fills_.size() >= 0xFF || lines_.size() >= 0xFF;
    if (alpha || lines_.size() >= 0xFF)
        *tag_code = 32;
    else
        *tag_code = many ? 22 : 2;

    std::vector<uint8_t> out;
    PutU16(out, id);
    int margin = widest_line_ / 2;
    PutRect(out, xmin_ - margin, xmax_ + margin, ymin_ - margin, ymax_ + margin);
    auto put_count = [&out](size_t count) {
        if (count < 0xFF) {
            PutU8(out, static_cast<int>(count));
        } else {
            PutU8(out, 0xFF);
            PutU16(out, static_cast<int>(count));
        }
    };
    put_count(fills_.size());
    for (const Fill& f : fills_) {
        PutU8(out, f.type);
        if (f.type == 0x00) {
            PutColor(out, f.color, alpha);
        } else {
            PutU16(out, f.bitmap);
            PutMatrix(out, f.matrix);
        }
    }
    put_count(lines_.size());
    for (const auto& [width, color] : lines_) {
        PutU16(out, width);
        PutColor(out, color, alpha);
    }

    BitWriter bits;
    int fill_bits = BitWriter::UnsignedBits(static_cast<uint32_t>(fills_.size()));
    int line_bits = BitWriter::UnsignedBits(static_cast<uint32_t>(lines_.size()));
    bits.UB(static_cast<uint32_t>(fill_bits), 4);
    bits.UB(static_cast<uint32_t>(line_bits), 4);
    for (const Record& r : records_) {
        if (r.kind == Record::Style) {
            bits.UB(0, 1);
            bits.UB(0, 1);
            bits.UB(r.line, 1);
            bits.UB(r.fill1, 1);
            bits.UB(r.fill0, 1);
            bits.UB(r.move, 1);
            if (r.move) {
                int n = WidestSigned({r.a, r.b});
                bits.UB(static_cast<uint32_t>(n), 5);
                bits.SB(r.a, n);
                bits.SB(r.b, n);
            }
            if (r.fill0) bits.UB(static_cast<uint32_t>(r.fill0_style), fill_bits);
            if (r.fill1) bits.UB(static_cast<uint32_t>(r.fill1_style), fill_bits);
            if (r.line) bits.UB(static_cast<uint32_t>(r.line_style), line_bits);
            continue;
        }
        bool straight = r.kind == Record::Line;
        int n = straight ? WidestSigned({r.a, r.b}) : WidestSigned({r.a, r.b, r.c, r.d});
        n = std::max(n, 2);
        if (n > 17) throw std::invalid_argument("shape edge too long for one record");
        bits.UB(1, 1);
        bits.UB(straight, 1);
        bits.UB(static_cast<uint32_t>(n - 2), 4);
        if (straight) {
            bits.UB(1, 1);  // general line
            bits.SB(r.a, n);
            bits.SB(r.b, n);
        } else {
            bits.SB(r.a, n);
            bits.SB(r.b, n);
            bits.SB(r.c, n);
            bits.SB(r.d, n);
        }
    }
    bits.UB(0, 6);  // end of shape
    const auto& bytes = bits.Bytes();
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

void TagList::PlaceObject(const PlaceArgs& args) {
    std::vector<uint8_t> body;
    int flags = (args.move ? 0x01 : 0) | (args.character ? 0x02 : 0) | (args.matrix ? 0x04 : 0) |
                (args.color ? 0x08 : 0) | (args.ratio ? 0x10 : 0) | (!args.name.empty() ? 0x20 : 0) |
                (args.clip_depth ? 0x40 : 0);
    PutU8(body, flags);
    PutU16(body, args.depth);
    if (args.character) PutU16(body, args.character);
    if (args.matrix) PutMatrix(body, *args.matrix);
    if (args.color) PutColorTransform(body, *args.color);
    if (args.ratio) PutU16(body, *args.ratio);
    if (!args.name.empty()) PutString(body, args.name);
    if (args.clip_depth) PutU16(body, args.clip_depth);
    Tag(26, body);
}

void TagList::RemoveObject(int depth) {
    std::vector<uint8_t> body;
    PutU16(body, depth);
    Tag(28, body);
}

void TagList::ShowFrame() {
    Tag(1, {});
    ++frames_;
}

void TagList::FrameLabel(const std::string& label) {
    std::vector<uint8_t> body;
    PutString(body, label);
    Tag(43, body);
}

void TagList::DoAction(const std::vector<Action>& actions) {
    std::vector<uint8_t> body;
    for (const Action& action : actions) {
        switch (action.kind) {
        case ActionKind::NextFrame: PutU8(body, 0x04); break;
        case ActionKind::PreviousFrame: PutU8(body, 0x05); break;
        case ActionKind::Play: PutU8(body, 0x06); break;
        case ActionKind::Stop: PutU8(body, 0x07); break;
        case ActionKind::GotoFrame:
            PutU8(body, 0x81);
            PutU16(body, 2);
            PutU16(body, action.frame);
            break;
        case ActionKind::GotoLabel:
        case ActionKind::SetTarget:
            PutU8(body, action.kind == ActionKind::GotoLabel ? 0x8C : 0x8B);
            PutU16(body, static_cast<int>(action.label.size() + 1));
            PutString(body, action.label);
            break;
        }
    }
    PutU8(body, 0);
    Tag(12, body);
}

void TagList::DoAction(const ActionWriter& actions) { Tag(12, actions.Bytes()); }

void TagList::Tag(int code, const std::vector<uint8_t>& body) { PutTag(bytes_, code, body); }

ActionWriter& ActionWriter::Push(const std::string& text) {
    PutU8(bytes_, 0x96);
    PutU16(bytes_, static_cast<int>(text.size() + 2));
    PutU8(bytes_, 0);
    PutString(bytes_, text);
    return *this;
}

ActionWriter& ActionWriter::Push(double number) {
    PutU8(bytes_, 0x96);
    PutU16(bytes_, 9);
    PutU8(bytes_, 6);
    uint64_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    // Doubles are stored as two little-endian halves, the high half first.
    PutU32(bytes_, static_cast<uint32_t>(bits >> 32));
    PutU32(bytes_, static_cast<uint32_t>(bits));
    return *this;
}

ActionWriter& ActionWriter::Op(uint8_t code) {
    PutU8(bytes_, code);
    return *this;
}

ActionWriter& ActionWriter::Op(uint8_t code, const std::vector<uint8_t>& data) {
    PutU8(bytes_, code);
    PutU16(bytes_, static_cast<uint16_t>(data.size()));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return *this;
}

ActionWriter& ActionWriter::Function(const std::string& name, const ActionWriter& body) {
    PutU8(bytes_, 0x9B);
    PutU16(bytes_, static_cast<int>(name.size() + 1 + 2 + 2));
    PutString(bytes_, name);
    PutU16(bytes_, 0);
    PutU16(bytes_, static_cast<int>(body.bytes_.size()));
    bytes_.insert(bytes_.end(), body.bytes_.begin(), body.bytes_.end());
    return *this;
}

std::vector<uint8_t> ActionWriter::Bytes() const {
    std::vector<uint8_t> out = bytes_;
    out.push_back(0);
    return out;
}

void SwfWriter::DefineButton2(uint16_t id, const std::vector<ButtonRecordArgs>& records,
                              const std::vector<ButtonConditionArgs>& conditions, bool track_as_menu) {
    std::vector<uint8_t> body;
    PutU16(body, id);
    PutU8(body, track_as_menu ? 1 : 0);
    size_t offset_at = body.size();
    PutU16(body, 0);
    for (const ButtonRecordArgs& record : records) {
        PutU8(body, record.states & 0x0F);
        PutU16(body, record.character);
        PutU16(body, record.depth);
        PutMatrix(body, record.matrix);
        PutColorTransform(body, ColorTransform{});
    }
    PutU8(body, 0);
    if (!conditions.empty()) {
        size_t offset = body.size() - offset_at;
        body[offset_at] = static_cast<uint8_t>(offset & 0xFF);
        body[offset_at + 1] = static_cast<uint8_t>(offset >> 8);
    }
    for (size_t i = 0; i < conditions.size(); ++i) {
        bool last = i + 1 == conditions.size();
        PutU16(body, last ? 0 : static_cast<int>(conditions[i].actions.size() + 4));
        PutU16(body, conditions[i].conditions);
        body.insert(body.end(), conditions[i].actions.begin(), conditions[i].actions.end());
    }
    Tag(34, body);
}

SwfWriter::SwfWriter(int version, int width, int height, double frame_rate)
    : version_(version), width_(width), height_(height), frame_rate_(frame_rate) {}

void SwfWriter::SetBackgroundColor(Rgba color) {
    std::vector<uint8_t> body;
    PutColor(body, color, false);
    Tag(9, body);
}

void SwfWriter::DefineShape(uint16_t id, const ShapeBuilder& shape) {
    int code = 2;
    std::vector<uint8_t> body = shape.Build(id, &code);
    Tag(code, body);
}

void SwfWriter::DefineSprite(uint16_t id, const TagList& sprite) {
    std::vector<uint8_t> body;
    PutU16(body, id);
    PutU16(body, sprite.Frames());
    body.insert(body.end(), sprite.Bytes().begin(), sprite.Bytes().end());
    PutU16(body, 0);  // End
    Tag(39, body);
}

void SwfWriter::DefineBitsLossless2(uint16_t id, int width, int height, const std::vector<uint32_t>& pixels) {
    std::vector<uint8_t> argb;
    for (uint32_t p : pixels) {
        uint32_t a = p >> 24;
        PutU8(argb, static_cast<int>(a));
        for (int shift : {16, 8, 0}) PutU8(argb, static_cast<int>(((p >> shift) & 0xFF) * a / 255));
    }
    std::vector<uint8_t> body;
    PutU16(body, id);
    PutU8(body, 5);
    PutU16(body, width);
    PutU16(body, height);
    std::vector<uint8_t> packed = StoredZlib(argb);
    body.insert(body.end(), packed.begin(), packed.end());
    Tag(36, body);
}

std::vector<uint8_t> SwfWriter::Finish(bool compressed) const {
    std::vector<uint8_t> body;
    PutRect(body, 0, width_ * 20, 0, height_ * 20);
    PutU16(body, static_cast<int>(std::lround(frame_rate_ * 256)));
    PutU16(body, header_frames_ >= 0 ? header_frames_ : Frames());
    body.insert(body.end(), Bytes().begin(), Bytes().end());
    PutU16(body, 0);  // End

    std::vector<uint8_t> file{static_cast<uint8_t>(compressed ? 'C' : 'F'), 'W', 'S', static_cast<uint8_t>(version_)};
    PutU32(file, static_cast<uint32_t>(body.size() + 8));
    if (compressed) {
        std::vector<uint8_t> packed = StoredZlib(body);
        file.insert(file.end(), packed.begin(), packed.end());
    } else {
        file.insert(file.end(), body.begin(), body.end());
    }
    return file;
}

}  // namespace flash
