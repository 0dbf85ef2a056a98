#include "flash/video_h263.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace flash {

namespace {

// Bits of the picture, first bit first. Reading past the end gives zeros
// and marks the reader overrun.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint32_t Peek(int count) const {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            size_t bit = pos_ + static_cast<size_t>(i);
            int b = bit / 8 < size_ ? (data_[bit / 8] >> (7 - bit % 8)) & 1 : 0;
            value = (value << 1) | static_cast<uint32_t>(b);
        }
        return value;
    }
    void Skip(int count) {
        pos_ += static_cast<size_t>(count);
        if (pos_ > size_ * 8) overrun_ = true;
    }
    uint32_t Read(int count) {
        uint32_t value = Peek(count);
        Skip(count);
        return value;
    }
    int Signed(int count) {
        uint32_t value = Read(count);
        return (value & (1u << (count - 1))) ? static_cast<int>(value) - (1 << count) : static_cast<int>(value);
    }
    bool Overrun() const { return overrun_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool overrun_ = false;
};

constexpr int kInvalid = -1000000;

struct Code {
    std::string bits;   // the code as written in the standard's tables
    int value;
};

// A variable-length code table, looked up by the next kMaxBits bits.
class VlcTable {
public:
    static constexpr int kMaxBits = 13;

    VlcTable(const std::vector<Code>& codes) : lookup_(1u << kMaxBits, Entry{kInvalid, 0}) {
        for (const Code& code : codes) {
            int length = static_cast<int>(code.bits.size());
            uint32_t prefix = 0;
            for (int i = 0; i < length; ++i) prefix = (prefix << 1) | static_cast<uint32_t>(code.bits[i] == '1');
            uint32_t first = prefix << (kMaxBits - length);
            for (uint32_t i = 0; i < (1u << (kMaxBits - length)); ++i) lookup_[first + i] = Entry{code.value, length};
        }
    }

    // The value of the code at the reader, which moves past it; kInvalid
    // for bits that begin no code.
    int Read(BitReader& in) const {
        const Entry& entry = lookup_[in.Peek(kMaxBits)];
        if (entry.value == kInvalid) return kInvalid;
        in.Skip(entry.length);
        return entry.value;
    }

private:
    struct Entry {
        int value;
        int length;
    };
    std::vector<Entry> lookup_;
};

constexpr int kStuffing = 255;

// Macroblock type and chroma coded-block pattern (type * 4 + pattern) of
// macroblocks in intra pictures.
const VlcTable& IntraMcbpc() {
    static const VlcTable table{std::vector<Code>{{"1", 12},      {"001", 13},    {"010", 14},    {"011", 15},       {"0001", 16},
                                {"000001", 17}, {"000010", 18}, {"000011", 19}, {"000000001", kStuffing}}};
    return table;
}

// The same for predicted pictures.
const VlcTable& InterMcbpc() {
    static const VlcTable table{std::vector<Code>{
        {"1", 0},           {"0011", 1},        {"0010", 2},         {"000101", 3},       // inter
        {"011", 4},         {"0000111", 5},     {"0000110", 6},      {"000000101", 7},    // inter + quantizer
        {"010", 8},         {"0000101", 9},     {"0000100", 10},     {"00000101", 11},    // four vectors
        {"00011", 12},      {"00000100", 13},   {"00000011", 14},    {"0000011", 15},     // intra
        {"000100", 16},     {"000000100", 17},  {"000000011", 18},   {"000000010", 19},   // intra + quantizer
        {"000000001", kStuffing}}};
    return table;
}

// Luma coded-block pattern, as intra macroblocks read it.
const VlcTable& Cbpy() {
    static const VlcTable table{std::vector<Code>{{"0011", 0},  {"00101", 1}, {"00100", 2},  {"1001", 3},   {"00011", 4},  {"0111", 5},
                                {"000010", 6}, {"1011", 7},  {"00010", 8},  {"000011", 9}, {"0101", 10},  {"1010", 11},
                                {"0100", 12},  {"1000", 13}, {"0110", 14},  {"11", 15}}};
    return table;
}

// Motion vector differences in half pixels, sign bit included.
const VlcTable& Mvd() {
    static const VlcTable table = [] {
        // The codes of magnitudes 1..32 without their sign bit.
        static const char* const magnitude[32] = {
            "01",          "001",         "0001",        "000011",      "0000101",     "0000100",     "0000011",
            "000001011",   "000001010",   "000001001",   "0000010001",  "0000010000",  "0000001111",  "0000001110",
            "0000001101",  "0000001100",  "0000001011",  "0000001010",  "0000001001",  "0000001000",  "0000000111",
            "0000000110",  "0000000101",  "0000000100",  "00000000111", "00000000110", "00000000101", "00000000100",
            "00000000011", "00000000010", "000000000011", "000000000010"};
        std::vector<Code> codes{{"1", 0}};
        for (int m = 1; m <= 32; ++m) {
            codes.push_back({std::string(magnitude[m - 1]) + "0", m});
            codes.push_back({std::string(magnitude[m - 1]) + "1", -m});
        }
        return VlcTable(codes);
    }();
    return table;
}

constexpr int kEscape = -1;

constexpr int Event(int last, int run, int level) { return (last << 12) | (run << 6) | level; }

// Transform coefficient events (last, run, level), the sign bit following.
const VlcTable& Tcoef() {
    static const VlcTable table{std::vector<Code>{
        {"10", Event(0, 0, 1)},            {"1111", Event(0, 0, 2)},          {"010101", Event(0, 0, 3)},
        {"0010111", Event(0, 0, 4)},       {"00011111", Event(0, 0, 5)},      {"000100101", Event(0, 0, 6)},
        {"000100100", Event(0, 0, 7)},     {"0000100001", Event(0, 0, 8)},    {"0000100000", Event(0, 0, 9)},
        {"00000000111", Event(0, 0, 10)},  {"00000000110", Event(0, 0, 11)},  {"00000100000", Event(0, 0, 12)},
        {"110", Event(0, 1, 1)},           {"010100", Event(0, 1, 2)},        {"00011110", Event(0, 1, 3)},
        {"0000001111", Event(0, 1, 4)},    {"00000100001", Event(0, 1, 5)},   {"000001010000", Event(0, 1, 6)},
        {"1110", Event(0, 2, 1)},          {"00011101", Event(0, 2, 2)},      {"0000001110", Event(0, 2, 3)},
        {"000001010001", Event(0, 2, 4)},  {"01101", Event(0, 3, 1)},         {"000100011", Event(0, 3, 2)},
        {"0000001101", Event(0, 3, 3)},    {"01100", Event(0, 4, 1)},         {"000100010", Event(0, 4, 2)},
        {"000001010010", Event(0, 4, 3)},  {"01011", Event(0, 5, 1)},         {"0000001100", Event(0, 5, 2)},
        {"000001010011", Event(0, 5, 3)},  {"010011", Event(0, 6, 1)},        {"0000001011", Event(0, 6, 2)},
        {"000001010100", Event(0, 6, 3)},  {"010010", Event(0, 7, 1)},        {"0000001010", Event(0, 7, 2)},
        {"010001", Event(0, 8, 1)},        {"0000001001", Event(0, 8, 2)},    {"010000", Event(0, 9, 1)},
        {"0000001000", Event(0, 9, 2)},    {"0010110", Event(0, 10, 1)},      {"000001010101", Event(0, 10, 2)},
        {"0010101", Event(0, 11, 1)},      {"0010100", Event(0, 12, 1)},      {"00011100", Event(0, 13, 1)},
        {"00011011", Event(0, 14, 1)},     {"000100001", Event(0, 15, 1)},    {"000100000", Event(0, 16, 1)},
        {"000011111", Event(0, 17, 1)},    {"000011110", Event(0, 18, 1)},    {"000011101", Event(0, 19, 1)},
        {"000011100", Event(0, 20, 1)},    {"000011011", Event(0, 21, 1)},    {"000011010", Event(0, 22, 1)},
        {"00000100010", Event(0, 23, 1)},  {"00000100011", Event(0, 24, 1)},  {"000001010110", Event(0, 25, 1)},
        {"000001010111", Event(0, 26, 1)}, {"0111", Event(1, 0, 1)},          {"000011001", Event(1, 0, 2)},
        {"00000000101", Event(1, 0, 3)},   {"001111", Event(1, 1, 1)},        {"00000000100", Event(1, 1, 2)},
        {"001110", Event(1, 2, 1)},        {"001101", Event(1, 3, 1)},        {"001100", Event(1, 4, 1)},
        {"0010011", Event(1, 5, 1)},       {"0010010", Event(1, 6, 1)},       {"0010001", Event(1, 7, 1)},
        {"0010000", Event(1, 8, 1)},       {"00011010", Event(1, 9, 1)},      {"00011001", Event(1, 10, 1)},
        {"00011000", Event(1, 11, 1)},     {"00010111", Event(1, 12, 1)},     {"00010110", Event(1, 13, 1)},
        {"00010101", Event(1, 14, 1)},     {"00010100", Event(1, 15, 1)},     {"00010011", Event(1, 16, 1)},
        {"000011000", Event(1, 17, 1)},    {"000010111", Event(1, 18, 1)},    {"000010110", Event(1, 19, 1)},
        {"000010101", Event(1, 20, 1)},    {"000010100", Event(1, 21, 1)},    {"000010011", Event(1, 22, 1)},
        {"000010010", Event(1, 23, 1)},    {"000010001", Event(1, 24, 1)},    {"0000000111", Event(1, 25, 1)},
        {"0000000110", Event(1, 26, 1)},   {"0000000101", Event(1, 27, 1)},   {"0000000100", Event(1, 28, 1)},
        {"00000100100", Event(1, 29, 1)},  {"00000100101", Event(1, 30, 1)},  {"00000100110", Event(1, 31, 1)},
        {"00000100111", Event(1, 32, 1)},  {"000001011000", Event(1, 33, 1)}, {"000001011001", Event(1, 34, 1)},
        {"000001011010", Event(1, 35, 1)}, {"000001011011", Event(1, 36, 1)}, {"000001011100", Event(1, 37, 1)},
        {"000001011101", Event(1, 38, 1)}, {"000001011110", Event(1, 39, 1)}, {"000001011111", Event(1, 40, 1)},
        {"0000011", kEscape}}};
    return table;
}

constexpr uint8_t kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The inverse cosine transform of an 8 x 8 block, rounded.
void InverseDct(const int (&in)[64], int (&out)[64]) {
    static const std::array<double, 64> basis = [] {
        std::array<double, 64> b{};
        const double pi = std::acos(-1.0);
        for (int x = 0; x < 8; ++x)
            for (int u = 0; u < 8; ++u)
                b[static_cast<size_t>(x * 8 + u)] = (u == 0 ? std::sqrt(0.5) : 1.0) * std::cos((2 * x + 1) * u * pi / 16) / 2;
        return b;
    }();
    double rows[64];
    for (int v = 0; v < 8; ++v)
        for (int x = 0; x < 8; ++x) {
            double sum = 0;
            for (int u = 0; u < 8; ++u) sum += basis[static_cast<size_t>(x * 8 + u)] * in[v * 8 + u];
            rows[v * 8 + x] = sum;
        }
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            double sum = 0;
            for (int v = 0; v < 8; ++v) sum += basis[static_cast<size_t>(y * 8 + v)] * rows[v * 8 + x];
            out[y * 8 + x] = static_cast<int>(std::lround(sum));
        }
}

uint8_t Clip255(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

struct Vector {
    int x = 0, y = 0;   // half pixels
};

struct Plane {
    uint8_t* data;
    int width, height;
    uint8_t At(int x, int y) const {
        return data[static_cast<size_t>(std::clamp(y, 0, height - 1)) * static_cast<size_t>(width) +
                    static_cast<size_t>(std::clamp(x, 0, width - 1))];
    }
};

// A size x size block of the reference plane displaced by v half pixels,
// averaged between pixels where v has a half.
void Predict(const Plane& from, int x0, int y0, int size, Vector v, uint8_t* out) {
    int dx = v.x >> 1, dy = v.y >> 1;
    bool hx = v.x & 1, hy = v.y & 1;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int sx = x0 + x + dx, sy = y0 + y + dy;
            int a = from.At(sx, sy);
            int p = a;
            if (hx && hy)
                p = (a + from.At(sx + 1, sy) + from.At(sx, sy + 1) + from.At(sx + 1, sy + 1) + 2) >> 2;
            else if (hx)
                p = (a + from.At(sx + 1, sy) + 1) >> 1;
            else if (hy)
                p = (a + from.At(sx, sy + 1) + 1) >> 1;
            out[y * size + x] = static_cast<uint8_t>(p);
        }
}

// The chroma displacement of a luma vector: half of it, quarter pixels
// going to the half pixel.
int ChromaComponent(int v) { return (v >> 1) | (v & 1); }

int Median(int a, int b, int c) { return std::max(std::min(a, b), std::min(std::max(a, b), c)); }

struct Macroblock {
    bool intra = false;
    int cbp = 0;        // coded blocks: four luma bits, then blue and red
    Vector vector;
};

// The median of the vectors of the left, upper and upper right neighbours;
// those outside the picture count as none, and in the top row the left one
// alone.
Vector PredictedVector(const std::vector<Vector>& vectors, int columns, int row, int column) {
    Vector left = column > 0 ? vectors[static_cast<size_t>(row * columns + column - 1)] : Vector{};
    if (row == 0) return left;
    Vector up = vectors[static_cast<size_t>((row - 1) * columns + column)];
    Vector right = column + 1 < columns ? vectors[static_cast<size_t>((row - 1) * columns + column + 1)] : Vector{};
    return {Median(left.x, up.x, right.x), Median(left.y, up.y, right.y)};
}

// Reads the head of a coded macroblock: its type, coded blocks, quantizer
// change and vector (told as its difference from predicted); false on bits
// that begin no macroblock.
bool ReadMacroblock(BitReader& in, bool intra_picture, Vector predicted, int& quantizer, Macroblock& mb) {
    int mcbpc;
    do mcbpc = (intra_picture ? IntraMcbpc() : InterMcbpc()).Read(in);
    while (mcbpc == kStuffing);
    if (mcbpc == kInvalid) return false;
    int type = mcbpc / 4, cbpc = mcbpc % 4;
    if (type == 2) return false;  // four vectors per macroblock: not used by this variant
    mb.intra = type >= 3;
    int cbpy = Cbpy().Read(in);
    if (cbpy == kInvalid) return false;
    if (!mb.intra) cbpy = 15 - cbpy;
    mb.cbp = (cbpy << 2) | cbpc;
    if (type == 1 || type == 4) {
        static const int steps[4] = {-1, -2, 1, 2};
        quantizer = std::clamp(quantizer + steps[in.Read(2)], 1, 31);
    }
    if (!mb.intra) {
        int dx = Mvd().Read(in);
        int dy = Mvd().Read(in);
        if (dx == kInvalid || dy == kInvalid) return false;
        auto wrap = [](int v) { return v < -32 ? v + 64 : v > 31 ? v - 64 : v; };
        mb.vector = {wrap(predicted.x + dx), wrap(predicted.y + dy)};
    }
    return true;
}

enum class PictureType { Intra, Inter, Disposable };

struct Header {
    int version = 0;
    int width = 0, height = 0;
    PictureType type = PictureType::Intra;
    int quantizer = 1;
};

bool ReadHeader(BitReader& in, Header& header) {
    if (in.Read(17) != 1) return false;
    header.version = static_cast<int>(in.Read(5));
    if (header.version > 1) return false;
    in.Read(8);  // temporal reference
    static const int sizes[7][2] = {{0, 0}, {0, 0}, {352, 288}, {176, 144}, {128, 96}, {320, 240}, {160, 120}};
    int size = static_cast<int>(in.Read(3));
    if (size == 0) {
        header.width = static_cast<int>(in.Read(8));
        header.height = static_cast<int>(in.Read(8));
    } else if (size == 1) {
        header.width = static_cast<int>(in.Read(16));
        header.height = static_cast<int>(in.Read(16));
    } else if (size < 7) {
        header.width = sizes[size][0];
        header.height = sizes[size][1];
    } else {
        return false;
    }
    int type = static_cast<int>(in.Read(2));
    if (type > 2) return false;
    header.type = static_cast<PictureType>(type);
    in.Read(1);  // deblocking asked for
    header.quantizer = static_cast<int>(in.Read(5));
    while (in.Read(1) && !in.Overrun()) in.Read(8);  // extra information
    return header.width > 0 && header.height > 0 && header.quantizer > 0 && !in.Overrun() &&
           swf::BitmapSizeAllowed(header.width, header.height);
}

// Reads the coefficients of one block into coefficients (in raster order,
// dequantized) from scan position first; false on a broken block.
bool ReadCoefficients(BitReader& in, int version, int quantizer, int first, int (&coefficients)[64]) {
    for (int i = first;;) {
        int event = Tcoef().Read(in);
        if (event == kInvalid) return false;
        int last, run, level;
        if (event == kEscape) {
            bool long_level = version == 1 && in.Read(1);
            last = static_cast<int>(in.Read(1));
            run = static_cast<int>(in.Read(6));
            level = version == 0 ? in.Signed(8) : in.Signed(long_level ? 11 : 7);
            if (level == 0) return false;
        } else {
            last = event >> 12;
            run = (event >> 6) & 63;
            level = event & 63;
            if (in.Read(1)) level = -level;
        }
        i += run;
        if (i >= 64) return false;
        int magnitude = quantizer * (2 * std::abs(level) + 1) - (quantizer % 2 == 0 ? 1 : 0);
        coefficients[kZigzag[i]] = std::clamp(level < 0 ? -magnitude : magnitude, -2048, 2047);
        ++i;
        if (last) return !in.Overrun();
    }
}

struct PlaneSet {
    Plane y, cb, cr;
};

PlaneSet PlanesOf(YuvPicture& picture) {
    return {{picture.y.data(), picture.luma_width, picture.luma_height},
            {picture.cb.data(), picture.luma_width / 2, picture.luma_height / 2},
            {picture.cr.data(), picture.luma_width / 2, picture.luma_height / 2}};
}

// Writes an 8 x 8 block at (x0, y0) of a plane: the prediction (if any)
// plus the inverse transform of the coefficients.
void PutBlock(Plane& plane, int x0, int y0, const int (&coefficients)[64], bool coded, const uint8_t* prediction,
              int prediction_stride) {
    int residual[64] = {};
    if (coded) InverseDct(coefficients, residual);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            int base = prediction ? prediction[y * prediction_stride + x] : 0;
            plane.data[static_cast<size_t>(y0 + y) * static_cast<size_t>(plane.width) + static_cast<size_t>(x0 + x)] =
                Clip255(base + residual[y * 8 + x]);
        }
}

}  // namespace

void H263Decoder::Reset() {
    shown_ = YuvPicture{};
    reference_ = YuvPicture{};
}

bool H263Decoder::Decode(const uint8_t* data, size_t size) {
    BitReader in(data, size);
    Header header;
    if (!ReadHeader(in, header)) return false;
    bool intra = header.type == PictureType::Intra;
    if (!intra && (reference_.width != header.width || reference_.height != header.height)) return false;

    YuvPicture picture;
    picture.width = header.width;
    picture.height = header.height;
    picture.luma_width = (header.width + 15) / 16 * 16;
    picture.luma_height = (header.height + 15) / 16 * 16;
    size_t luma = static_cast<size_t>(picture.luma_width) * static_cast<size_t>(picture.luma_height);
    picture.y.assign(luma, 16);
    picture.cb.assign(luma / 4, 128);
    picture.cr.assign(luma / 4, 128);
    PlaneSet out = PlanesOf(picture);
    PlaneSet ref = intra ? PlaneSet{} : PlanesOf(reference_);

    int columns = picture.luma_width / 16, rows = picture.luma_height / 16;
    std::vector<Vector> vectors(static_cast<size_t>(columns * rows));
    int quantizer = header.quantizer;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            int mx = column * 16, my = row * 16;
            // A macroblock left out of a predicted picture is the
            // reference's macroblock where it stands.
            Macroblock mb;
            if ((intra || !in.Read(1)) &&
                !ReadMacroblock(in, intra, PredictedVector(vectors, columns, row, column), quantizer, mb))
                return false;
            vectors[static_cast<size_t>(row * columns + column)] = mb.vector;
            const Vector& vector = mb.vector;
            bool intra_block = mb.intra;
            int cbp = mb.cbp;
            uint8_t luma_prediction[256], cb_prediction[64], cr_prediction[64];
            if (!intra_block) {
                Predict(ref.y, mx, my, 16, vector, luma_prediction);
                Vector chroma{ChromaComponent(vector.x), ChromaComponent(vector.y)};
                Predict(ref.cb, mx / 2, my / 2, 8, chroma, cb_prediction);
                Predict(ref.cr, mx / 2, my / 2, 8, chroma, cr_prediction);
            }
            for (int b = 0; b < 6; ++b) {
                int coefficients[64] = {};
                bool coded = (cbp >> (5 - b)) & 1;
                if (intra_block) {
                    int dc = static_cast<int>(in.Read(8));
                    coefficients[0] = (dc == 255 ? 128 : dc) * 8;
                }
                if (coded && !ReadCoefficients(in, header.version, quantizer, intra_block ? 1 : 0, coefficients))
                    return false;
                Plane& plane = b < 4 ? out.y : b == 4 ? out.cb : out.cr;
                int x0 = b < 4 ? mx + (b & 1) * 8 : mx / 2;
                int y0 = b < 4 ? my + (b >> 1) * 8 : my / 2;
                const uint8_t* prediction = nullptr;
                int stride = 8;
                if (!intra_block) {
                    prediction = b < 4 ? luma_prediction + (b >> 1) * 8 * 16 + (b & 1) * 8 : b == 4 ? cb_prediction : cr_prediction;
                    stride = b < 4 ? 16 : 8;
                }
                PutBlock(plane, x0, y0, coefficients, coded || intra_block, prediction, stride);
            }
            if (in.Overrun()) return false;
        }

    shown_ = picture;
    if (header.type != PictureType::Disposable) reference_ = std::move(picture);
    return true;
}

swf::Bitmap PictureToBitmap(const YuvPicture& picture) {
    swf::Bitmap bitmap;
    bitmap.width = picture.width;
    bitmap.height = picture.height;
    bitmap.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    int chroma_width = picture.luma_width / 2;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            double luma = 1.164 * (picture.y[static_cast<size_t>(y * picture.luma_width + x)] - 16);
            size_t c = static_cast<size_t>((y / 2) * chroma_width + x / 2);
            double u = picture.cb[c] - 128, v = picture.cr[c] - 128;
            uint32_t r = Clip255(static_cast<int>(std::lround(luma + 1.596 * v)));
            uint32_t g = Clip255(static_cast<int>(std::lround(luma - 0.392 * u - 0.813 * v)));
            uint32_t b = Clip255(static_cast<int>(std::lround(luma + 2.017 * u)));
            bitmap.pixels[static_cast<size_t>(y * picture.width + x)] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    return bitmap;
}

}  // namespace flash
