#include "flash/drawing.h"

#include <algorithm>
#include <cmath>

namespace flash {

void Drawing::Clear() { *this = Drawing{}; }

ShapeLayer& Drawing::Layer() {
    if (shape.layers.empty()) shape.layers.emplace_back();
    return shape.layers.back();
}

void Drawing::AddEdge(const ShapeEdge& edge, int half) {
    if (provisional_) Layer().edges.pop_back();
    provisional_ = false;
    Layer().edges.push_back(edge);
    int32_t xs[3] = {edge.x0, edge.x1, edge.curved ? edge.cx : edge.x1};
    int32_t ys[3] = {edge.y0, edge.y1, edge.curved ? edge.cy : edge.y1};
    int32_t x0 = *std::min_element(xs, xs + 3) - half, x1 = *std::max_element(xs, xs + 3) + half;
    int32_t y0 = *std::min_element(ys, ys + 3) - half, y1 = *std::max_element(ys, ys + 3) + half;
    if (empty) {
        shape.xmin = x0, shape.xmax = x1, shape.ymin = y0, shape.ymax = y1;
        empty = false;
        return;
    }
    shape.xmin = std::min(shape.xmin, x0), shape.xmax = std::max(shape.xmax, x1);
    shape.ymin = std::min(shape.ymin, y0), shape.ymax = std::max(shape.ymax, y1);
}

void Drawing::ClosePath() {
    if (provisional_) Layer().edges.pop_back();
    provisional_ = false;
    if (!fill_ || (x_ == start_x_ && y_ == start_y_)) return;
    // The edge that closes a fill is drawn with the line in use.
    ShapeEdge edge;
    edge.x0 = x_, edge.y0 = y_, edge.x1 = start_x_, edge.y1 = start_y_;
    edge.fill1 = fill_;
    edge.line = line_;
    AddEdge(edge, line_ ? line_width_ / 2 : 0);
    x_ = start_x_, y_ = start_y_;
}

void Drawing::ShowClosed() {
    if (!fill_ || (x_ == start_x_ && y_ == start_y_)) return;
    ShapeEdge edge;
    edge.x0 = x_, edge.y0 = y_, edge.x1 = start_x_, edge.y1 = start_y_;
    edge.fill1 = fill_;
    edge.line = line_;
    Layer().edges.push_back(edge);
    provisional_ = true;
}

void Drawing::BeginFill(const std::optional<FillStyle>& fill) {
    EndFill();
    if (!fill) return;
    // Each fill goes on a layer of its own, above what was drawn before,
    // keeping the line style in use.
    std::optional<LineStyle> line;
    if (line_) line = Layer().lines[line_ - 1];
    bool unused = !shape.layers.empty() && Layer().edges.empty() && Layer().fills.empty();
    if (unused) shape.layers.pop_back();
    shape.layers.emplace_back();
    line_ = 0;
    if (line) SetLine(line);
    Layer().fills.push_back(*fill);
    fill_ = static_cast<uint16_t>(Layer().fills.size());
    start_x_ = x_, start_y_ = y_;
}

void Drawing::EndFill() {
    ClosePath();
    fill_ = 0;
}

void Drawing::SetLine(const std::optional<LineStyle>& line) {
    if (!line) {
        line_ = 0;
        line_width_ = 0;
        return;
    }
    Layer().lines.push_back(*line);
    line_ = static_cast<uint16_t>(Layer().lines.size());
    line_width_ = line->width;
}

void Drawing::SetLineFill(const FillStyle& fill) {
    if (!line_) return;
    LineStyle line = Layer().lines[line_ - 1];
    line.fill = fill;
    SetLine(line);
}

void Drawing::MoveTo(int32_t x, int32_t y) {
    ClosePath();
    x_ = start_x_ = x;
    y_ = start_y_ = y;
}

void Drawing::LineTo(int32_t x, int32_t y) {
    ShapeEdge edge;
    edge.x0 = x_, edge.y0 = y_, edge.x1 = x, edge.y1 = y;
    edge.fill1 = fill_;
    edge.line = line_;
    AddEdge(edge, line_ ? line_width_ / 2 : 0);
    x_ = x, y_ = y;
    ShowClosed();
}

void Drawing::CurveTo(int32_t cx, int32_t cy, int32_t x, int32_t y) {
    ShapeEdge edge;
    edge.x0 = x_, edge.y0 = y_, edge.cx = cx, edge.cy = cy, edge.x1 = x, edge.y1 = y;
    edge.curved = true;
    edge.fill1 = fill_;
    edge.line = line_;
    AddEdge(edge, line_ ? line_width_ / 2 : 0);
    x_ = x, y_ = y;
    ShowClosed();
}

Matrix GradientBox(double x, double y, double w, double h, double r) {
    Matrix m;
    double sx = w / 1638.4, sy = h / 1638.4;
    m.a = sx * std::cos(r);
    m.b = sx * std::sin(r);
    m.c = -sy * std::sin(r);
    m.d = sy * std::cos(r);
    m.tx = (x + w / 2) * 20;
    m.ty = (y + h / 2) * 20;
    return m;
}

}  // namespace flash
