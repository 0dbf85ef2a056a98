#include "flash/avm1/classes/perlin_noise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

namespace flash::avm1 {

namespace {

// The lattice repeats every 256 cells; coordinates are shifted by 4096
// cells so that they stay positive near the origin.
constexpr int kLattice = 256;
constexpr int kLatticeMask = kLattice - 1;
constexpr int kShift = 4096;
constexpr int kTables = 4;
// Octaves past this add less than the last bit of a channel.
constexpr int kMostOctaves = 32;

struct Gradient {
    double x = 0, y = 0;
};

// A permutation of the lattice and four gradient tables, one per channel
// in the order the channels are drawn. Each is repeated past its end so
// that a cell's far corners need no wrapping.
struct NoiseTables {
    int lattice[kLattice * 2 + 2];
    Gradient gradients[kTables][kLattice * 2 + 2];
};

// The generator: multiplicative, modulus 2^31 - 1, multiplier 16807.
constexpr int64_t kModulus = 2147483647;

int64_t NextRandom(int64_t state) { return state * 16807 % kModulus; }

// Seeds of 0 and below start at 1 - seed (taken modulo the cycle), seeds
// past the cycle at its last state.
int64_t StartState(int seed) {
    int64_t s = seed;
    if (s <= 0) s = -(s % (kModulus - 1)) + 1;
    return std::min(s, kModulus - 1);
}

// Gradients first, table by table, two draws each, scaled to unit length;
// then the lattice is shuffled from its top end down.
NoiseTables MakeTables(int seed) {
    NoiseTables t;
    int64_t state = StartState(seed);
    for (int k = 0; k < kTables; ++k) {
        for (int i = 0; i < kLattice; ++i) {
            t.lattice[i] = i;
            double g[2];
            for (double& c : g) {
                state = NextRandom(state);
                c = static_cast<double>(state % (kLattice * 2) - kLattice) / kLattice;
            }
            double length = std::sqrt(g[0] * g[0] + g[1] * g[1]);
            if (length > 0) g[0] /= length, g[1] /= length;
            t.gradients[k][i] = {g[0], g[1]};
        }
    }
    for (int i = kLattice - 1; i > 0; --i) {
        state = NextRandom(state);
        std::swap(t.lattice[i], t.lattice[state % kLattice]);
    }
    for (int i = 0; i < kLattice + 2; ++i) {
        t.lattice[kLattice + i] = t.lattice[i];
        for (auto& table : t.gradients) table[kLattice + i] = table[i];
    }
    return t;
}

// For seamless tiling: the size of the tile in lattice cells at the current
// octave, and the first shifted cell number that wraps back.
struct Stitch {
    int64_t width, height, wrap_x, wrap_y;
};

// The nearest frequency that puts a whole number of cells across size.
double StitchFrequency(double frequency, int size) {
    if (frequency == 0) return 0;
    double low = std::floor(size * frequency) / size, high = std::ceil(size * frequency) / size;
    return low != 0 && frequency / low < high / frequency ? low : high;
}

double SCurve(double t) { return t * t * (3 - 2 * t); }
double Lerp(double t, double a, double b) { return a + t * (b - a); }

// One corner's contribution: the gradient dotted with the offset from it.
double Dot(const Gradient& g, double rx, double ry) { return rx * g.x + ry * g.y; }

// Gradient noise at (x, y) in lattice units, in about -1..1.
double Noise(const NoiseTables& t, int table, double x, double y, const std::optional<Stitch>& stitch) {
    double tx = x + kShift, ty = y + kShift;
    if (!(std::fabs(tx) < 1e9 && std::fabs(ty) < 1e9)) return 0;
    int64_t bx0 = static_cast<int64_t>(tx), by0 = static_cast<int64_t>(ty);
    int64_t bx1 = bx0 + 1, by1 = by0 + 1;
    double rx0 = tx - static_cast<double>(bx0), ry0 = ty - static_cast<double>(by0);
    double rx1 = rx0 - 1, ry1 = ry0 - 1;
    if (stitch) {
        if (bx0 >= stitch->wrap_x) bx0 -= stitch->width;
        if (bx1 >= stitch->wrap_x) bx1 -= stitch->width;
        if (by0 >= stitch->wrap_y) by0 -= stitch->height;
        if (by1 >= stitch->wrap_y) by1 -= stitch->height;
    }
    int i = t.lattice[bx0 & kLatticeMask], j = t.lattice[bx1 & kLatticeMask];
    int y0 = static_cast<int>(by0 & kLatticeMask), y1 = static_cast<int>(by1 & kLatticeMask);
    const Gradient* g = t.gradients[table];
    double sx = SCurve(rx0), sy = SCurve(ry0);
    double top = Lerp(sx, Dot(g[t.lattice[i + y0]], rx0, ry0), Dot(g[t.lattice[j + y0]], rx1, ry0));
    double bottom = Lerp(sx, Dot(g[t.lattice[i + y1]], rx0, ry1), Dot(g[t.lattice[j + y1]], rx1, ry1));
    return Lerp(sy, top, bottom);
}

struct Field {
    const NoiseTables& tables;
    const PerlinOptions& options;
    double frequency_x, frequency_y;
    std::optional<Stitch> stitch;   // at the first octave
};

// The octaves summed at pixel (x, y): each doubles the frequency and
// halves the weight of the one before.
double Sum(const Field& f, int table, int x, int y) {
    std::optional<Stitch> stitch = f.stitch;
    int octaves = std::min(f.options.octaves, kMostOctaves);
    double sum = 0, ratio = 1;
    for (int octave = 0; octave < octaves; ++octave) {
        PerlinOffset offset;
        if (octave < static_cast<int>(f.options.offsets.size())) offset = f.options.offsets[octave];
        double n = Noise(f.tables, table, (x + offset.x) * f.frequency_x * ratio,
                         (y + offset.y) * f.frequency_y * ratio, stitch);
        sum += (f.options.fractal ? n : std::fabs(n)) / ratio;
        ratio *= 2;
        if (stitch) {
            stitch->width *= 2;
            stitch->wrap_x = 2 * stitch->wrap_x - kShift;
            stitch->height *= 2;
            stitch->wrap_y = 2 * stitch->wrap_y - kShift;
        }
    }
    return sum;
}

// A signed sum maps -1..1 onto 0..255, a turbulent one 0..1, both rounded.
uint32_t ChannelValue(double sum, bool fractal) {
    double v = fractal ? (sum * 255 + 255.5) / 2 : sum * 255 + 0.5;
    return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0));
}

}  // namespace

void FillPerlinNoise(BitmapPixels& pixels, const PerlinOptions& options) {
    auto tables = std::make_unique<NoiseTables>(MakeTables(options.seed));
    // A base that is 0, or no number, gives no variation that way.
    auto frequency = [](double base) { return base != 0 && std::isfinite(1 / base) ? 1 / base : 0.0; };
    double fx = frequency(options.base_x), fy = frequency(options.base_y);
    std::optional<Stitch> stitch;
    if (options.stitch) {
        fx = StitchFrequency(fx, pixels.width());
        fy = StitchFrequency(fy, pixels.height());
        auto cells = [](double frequency, int size) {
            return static_cast<int64_t>(std::clamp(size * frequency + 0.5, -1e9, 1e9));
        };
        int64_t w = cells(fx, pixels.width()), h = cells(fy, pixels.height());
        stitch = Stitch{w, h, kShift + w, kShift + h};
    }
    Field field{*tables, options, fx, fy, stitch};
    bool alpha = pixels.transparent() && (options.channels & 8);
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            // Each channel drawn takes the next table.
            int table = 0;
            auto next = [&]() { return ChannelValue(Sum(field, table++, x, y), options.fractal); };
            uint32_t r = 0, g = 0, b = 0, a = 255;
            if (options.gray) {
                r = g = b = next();
            } else {
                if (options.channels & 1) r = next();
                if (options.channels & 2) g = next();
                if (options.channels & 4) b = next();
            }
            if (alpha) a = next();
            pixels.SetRaw(x, y, (a << 24) | (r << 16) | (g << 8) | b);
        }
    }
}

}  // namespace flash::avm1
