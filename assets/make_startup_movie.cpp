// Writes the start-up movie: 400 x 300 pixels, 12 frames per second, 75
// frames that loop. The product name is drawn in stroked letters that fade
// in over a slowly turning diamond, with a ring of spinning squares whose
// colours run round the colour wheel and three circles swinging below.
//
// usage: make_startup_movie OUT.swf
#include "flash/movie_loader.h"
#include "flash/swf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

using flash::ColorTransform;
using flash::Matrix;
using flash::PlaceArgs;
using flash::Rgba;
using flash::ShapeBuilder;
using flash::SwfWriter;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kFrames = 75;
constexpr int kWidth = 400, kHeight = 300;
constexpr int kSquares = 8;

enum : uint16_t { kDiamond = 1, kCircle, kSquare, kTitle, kBar };

int32_t Round(double v) { return static_cast<int32_t>(std::lround(v)); }

// An open elliptic arc from angle a0 to a1 (radians, y pointing down), in
// curves of at most 45 degrees; the pen must already be at its start.
void Arc(ShapeBuilder& s, double cx, double cy, double rx, double ry, double a0, double a1) {
    int steps = static_cast<int>(std::ceil(std::fabs(a1 - a0) / (kPi / 4)));
    double step = (a1 - a0) / steps;
    double reach = 1 / std::cos(step / 2);
    for (int i = 0; i < steps; ++i) {
        double mid = a0 + (i + 0.5) * step, end = a0 + (i + 1) * step;
        s.CurveTo(Round(cx + rx * reach * std::cos(mid)), Round(cy + ry * reach * std::sin(mid)),
                  Round(cx + rx * std::cos(end)), Round(cy + ry * std::sin(end)));
    }
}

void ArcFromStart(ShapeBuilder& s, double cx, double cy, double rx, double ry, double a0, double a1) {
    s.MoveTo(Round(cx + rx * std::cos(a0)), Round(cy + ry * std::sin(a0)));
    Arc(s, cx, cy, rx, ry, a0, a1);
}

// "Corvella" in strokes, baseline at y 0, 1200 twips tall; returns the width.
int32_t DrawTitle(ShapeBuilder& s) {
    const int32_t gap = 250;
    int32_t x = 0;
    // C
    ArcFromStart(s, x + 500, -600, 500, 600, -kPi / 4, -7 * kPi / 4);
    x += 1000 + gap;
    // o
    ArcFromStart(s, x + 300, -400, 300, 400, 0, 2 * kPi);
    x += 600 + gap;
    // r
    s.MoveTo(x, -800);
    s.LineTo(x, 0);
    s.MoveTo(x, -450);
    s.CurveTo(x + 80, -800, x + 420, -780);
    x += 420 + gap;
    // v
    s.MoveTo(x, -800);
    s.LineTo(x + 300, 0);
    s.LineTo(x + 600, -800);
    x += 600 + gap;
    // e
    s.MoveTo(x, -400);
    s.LineTo(x + 600, -400);
    Arc(s, x + 300, -400, 300, 400, 0, -7 * kPi / 4);
    x += 600 + gap;
    // l, l
    for (int i = 0; i < 2; ++i) {
        s.MoveTo(x, -1200);
        s.LineTo(x, 0);
        x += gap + 80;
    }
    // a
    ArcFromStart(s, x + 300, -400, 300, 400, 0, 2 * kPi);
    s.MoveTo(x + 600, -800);
    s.LineTo(x + 600, 0);
    x += 600;
    return x;
}

Rgba Hue(double h) {
    h -= std::floor(h);
    double r = std::clamp(std::fabs(h * 6 - 3) - 1, 0.0, 1.0);
    double g = std::clamp(2 - std::fabs(h * 6 - 2), 0.0, 1.0);
    double b = std::clamp(2 - std::fabs(h * 6 - 4), 0.0, 1.0);
    return Rgba{static_cast<uint8_t>(r * 255), static_cast<uint8_t>(g * 255), static_cast<uint8_t>(b * 255), 255};
}

// Turns a white shape into the given colour.
ColorTransform Tint(Rgba c, int alpha = 256) {
    ColorTransform t;
    t.rm = t.gm = t.bm = 0;
    t.ra = c.r;
    t.ga = c.g;
    t.ba = c.b;
    t.am = alpha;
    return t;
}

Matrix Place(double x, double y, double angle = 0, double sx = 1, double sy = 1) {
    Matrix m;
    m.a = std::cos(angle) * sx;
    m.b = std::sin(angle) * sx;
    m.c = -std::sin(angle) * sy;
    m.d = std::cos(angle) * sy;
    m.tx = x * 20;
    m.ty = y * 20;
    return m;
}

double Ease(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_startup_movie OUT.swf\n", stderr);
        return 2;
    }
    SwfWriter movie(5, kWidth, kHeight, 12);
    movie.SetBackgroundColor(Rgba{16, 24, 48, 255});

    ShapeBuilder diamond;
    int soft = diamond.AddSolidFill(Rgba{60, 90, 170, 255});
    diamond.SetFill0(soft);
    diamond.MoveTo(0, -2400);
    diamond.LineTo(2400, 0);
    diamond.LineTo(0, 2400);
    diamond.LineTo(-2400, 0);
    diamond.LineTo(0, -2400);
    movie.DefineShape(kDiamond, diamond);

    ShapeBuilder circle;
    circle.Circle(0, 0, 260, circle.AddSolidFill(Rgba{255, 255, 255, 255}));
    movie.DefineShape(kCircle, circle);

    ShapeBuilder square;
    int white = square.AddSolidFill(Rgba{255, 255, 255, 255});
    square.SetLine(square.AddLineStyle(40, Rgba{255, 255, 255, 255}));
    square.Rectangle(-300, -300, 600, 600, white);
    movie.DefineShape(kSquare, square);

    ShapeBuilder title;
    title.SetLine(title.AddLineStyle(130, Rgba{255, 255, 255, 255}));
    int32_t title_width = DrawTitle(title);
    movie.DefineShape(kTitle, title);

    ShapeBuilder bar;
    bar.Rectangle(0, -50, 2000, 100, bar.AddSolidFill(Rgba{255, 200, 60, 255}));
    movie.DefineShape(kBar, bar);

    const double title_x = (kWidth - title_width / 20.0) / 2;
    for (int f = 0; f < kFrames; ++f) {
        double phase = static_cast<double>(f) / kFrames;  // 0..1 over one loop
        bool first = f == 0;
        auto place = [&](int depth, uint16_t character, const Matrix& m, const ColorTransform& c) {
            PlaceArgs args;
            args.depth = depth;
            args.move = !first;
            args.character = first ? character : 0;
            args.matrix = m;
            args.color = c;
            movie.PlaceObject(args);
        };

        // A diamond turning a quarter turn per loop, breathing in colour.
        ColorTransform glow;
        glow.am = 256;
        glow.ra = glow.ga = glow.ba = static_cast<int>(20 * std::sin(2 * kPi * phase));
        place(1, kDiamond, Place(200, 150, kPi / 2 * phase), glow);

        // Three circles swinging below the title.
        for (int i = 0; i < 3; ++i) {
            double swing = std::sin(2 * kPi * (phase + i / 3.0));
            double scale = 1 + 0.3 * std::cos(2 * kPi * (2 * phase + i / 3.0));
            place(2 + i, kCircle, Place(200 + 140 * swing, 240, 0, scale, scale), Tint(Hue(i / 3.0 + phase), 200));
        }

        // Squares going round an ellipse twice per loop, each spinning.
        for (int i = 0; i < kSquares; ++i) {
            double angle = 2 * kPi * (static_cast<double>(i) / kSquares + 2 * phase);
            double x = 200 + 170 * std::cos(angle), y = 150 + 115 * std::sin(angle);
            place(5 + i, kSquare, Place(x, y, 4 * kPi * phase + i), Tint(Hue(static_cast<double>(i) / kSquares + phase)));
        }

        // The name fades in and settles from the left; its underline grows,
        // holds and shrinks again before the loop starts over.
        double arrive = Ease(f / 18.0);
        ColorTransform fade;
        fade.am = static_cast<int>(256 * arrive);
        place(20, kTitle, Place(title_x - 40 * (1 - arrive), 170), fade);
        double grow = f < 60 ? Ease(f / 30.0) : 1 - Ease((f - 60) / 14.0);
        double bar_width = title_width / 20.0;
        place(21, kBar, Place(title_x, 190, 0, std::max(grow, 0.001) * bar_width / 100.0, 1),
              ColorTransform{});
        movie.ShowFrame();
    }

    std::vector<uint8_t> bytes = movie.Finish(false);
    // The movie must read back as what the program promises to show.
    flash::Movie check = flash::LoadMovie(bytes);
    if (check.version != 5 || check.compressed || check.StageWidth() != kWidth || check.StageHeight() != kHeight ||
        check.frame_rate != 12 || check.timeline.frame_count != kFrames) {
        std::fputs("make_startup_movie: the movie does not read back as written\n", stderr);
        return 1;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "make_startup_movie: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
