#include "flash/stroker.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

constexpr double kPi = 3.14159265358979323846;

Point Along(Point p, Point v, double s) { return Point{p.x + v.x * s, p.y + v.y * s}; }

// The left-hand normal of a unit direction.
Point Normal(Point d) { return Point{-d.y, d.x}; }

// Sides of a polygon that follows an arc of the given angle and radius,
// its corners on the arc, and strays at most tolerance inside it.
int ArcSides(double angle, double radius, double tolerance) {
    double step = radius > tolerance ? 2 * std::acos(1 - tolerance / radius) : kPi / 2;
    double sides = std::ceil(angle / step - 1e-9);
    if (!(sides >= 1)) return 1;  // also for a radius too large to measure
    return sides < 256 ? static_cast<int>(sides) : 256;
}

// Appends the corners of an arc around centre, from the unit vector from
// turning by sweep radians (positive turns from +x toward +y).
void AppendArc(Point centre, Point from, double sweep, double radius, double tolerance, std::vector<Point>& out) {
    int sides = ArcSides(std::fabs(sweep), radius, tolerance);
    double start = std::atan2(from.y, from.x);
    for (int i = 0; i <= sides; ++i) {
        double angle = start + sweep * i / sides;
        out.push_back(Point{centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
    }
}

class Stroker {
public:
    Stroker(const StrokeStyle& style, StrokeSink& sink) : style_(style), sink_(sink) {}

    void Segment(Point a, Point b, Point d) {
        Point n = Normal(d);
        double h = style_.half;
        if (style_.minor_axis) h *= std::max(std::fabs(d.x), std::fabs(d.y));
        Point quad[4] = {Along(a, n, h), Along(b, n, h), Along(b, n, -h), Along(a, n, -h)};
        sink_.Polygon(quad, 4);
    }

    // The corner at p where direction u turns into v.
    void Join(Point p, Point u, Point v) {
        double cross = u.x * v.y - u.y * v.x;
        double dot = u.x * v.x + u.y * v.y;
        if (std::fabs(cross) < 1e-12 && dot > 0) return;  // straight on
        double turn = std::atan2(cross, dot);
        // The outer side is the one the path turns away from.
        double side = cross >= 0 ? -1 : 1;
        Point from = Normal(u), to = Normal(v);
        from = Point{from.x * side, from.y * side};
        to = Point{to.x * side, to.y * side};
        double h = style_.half;
        poly_.assign(1, p);
        if (style_.join == LineJoin::Round) {
            AppendArc(p, from, turn, h, style_.tolerance, poly_);
        } else {
            poly_.push_back(Along(p, from, h));
            if (style_.join == LineJoin::Miter) AppendMiter(p, u, v, from, to, turn);
            poly_.push_back(Along(p, to, h));
        }
        sink_.Polygon(poly_.data(), poly_.size());
    }

    // The cap at p where the path ends going in direction d.
    void Cap(Point p, Point d, LineCap cap) {
        double h = style_.half;
        Point n = Normal(d);
        if (cap == LineCap::Square) {
            Point quad[4] = {Along(p, n, h), Along(Along(p, n, h), d, h), Along(Along(p, n, -h), d, h),
                             Along(p, n, -h)};
            sink_.Polygon(quad, 4);
        } else if (cap == LineCap::Round) {
            poly_.clear();
            AppendArc(p, n, -kPi, h, style_.tolerance, poly_);
            sink_.Polygon(poly_.data(), poly_.size());
        }
    }

private:
    // The tip where the outer sides meet, cut off where it would reach
    // further from the corner than the miter limit allows.
    void AppendMiter(Point p, Point u, Point v, Point from, Point to, double turn) {
        double h = style_.half;
        double half_turn = std::fabs(turn) / 2;
        if (half_turn > kPi / 2 - 1e-6) return;  // a U-turn: no tip
        Point bisector{from.x + to.x, from.y + to.y};
        double length = std::hypot(bisector.x, bisector.y);
        if (!(length > 1e-12)) return;
        bisector = Point{bisector.x / length, bisector.y / length};
        double reach = h / std::cos(half_turn);
        double limit = style_.miter_limit * 2 * h;
        if (reach <= limit) {
            poly_.push_back(Along(p, bisector, reach));
            return;
        }
        // Along each outer side, as far as the line across the bisector at
        // the limit.
        double inset = h * std::cos(half_turn);
        double along = (limit - inset) / std::sin(half_turn);
        poly_.push_back(Along(Along(p, from, h), u, along));
        poly_.push_back(Along(Along(p, to, h), v, -along));
    }

    const StrokeStyle& style_;
    StrokeSink& sink_;
    std::vector<Point> poly_;
};

}  // namespace

void StrokePolyline(const std::vector<Point>& path, bool closed, const StrokeStyle& style, StrokeSink& sink) {
    // The segments that have a length, with their directions.
    std::vector<Point> starts, directions;
    Point end{};
    for (size_t i = 1; i < path.size(); ++i) {
        double dx = path[i].x - path[i - 1].x, dy = path[i].y - path[i - 1].y;
        double length = std::sqrt(dx * dx + dy * dy);
        if (!(length > 1e-9)) continue;
        starts.push_back(path[i - 1]);
        directions.push_back(Point{dx / length, dy / length});
        end = path[i];
    }
    if (starts.empty()) return;
    Stroker stroker(style, sink);
    for (size_t k = 0; k < starts.size(); ++k) {
        Point b = k + 1 < starts.size() ? starts[k + 1] : end;
        stroker.Segment(starts[k], b, directions[k]);
        if (k > 0)
            stroker.Join(starts[k], directions[k - 1], directions[k]);
        else if (closed)
            stroker.Join(starts[0], directions.back(), directions[0]);
    }
    if (!closed) {
        stroker.Cap(end, directions.back(), style.end_cap);
        Point back{-directions[0].x, -directions[0].y};
        stroker.Cap(starts[0], back, style.start_cap);
    }
}

}  // namespace flash
