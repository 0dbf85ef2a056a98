// What the drawing methods of a movie clip build: a shape drawn under the
// clip's children, made of the paths the pen traced with the fill and line
// styles set at the time.
#pragma once

#include "flash/movie.h"

#include <optional>

namespace flash {

struct Drawing {
    Shape shape;                              // even-odd fills, one layer per fill begun
    bool empty = true;                        // no edges yet: no bounds

    void Clear();
    // nullopt ends the fill (a fill of nothing).
    void BeginFill(const std::optional<FillStyle>& fill);
    void EndFill();
    // nullopt: no line from here on.
    void SetLine(const std::optional<LineStyle>& line);
    // Paints the line in use with a gradient (no line: nothing).
    void SetLineFill(const FillStyle& fill);
    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void CurveTo(int32_t cx, int32_t cy, int32_t x, int32_t y);

private:
    ShapeLayer& Layer();
    void AddEdge(const ShapeEdge& edge, int half_width);
    void ClosePath();
    void ShowClosed();

    int32_t x_ = 0, y_ = 0;                   // the pen
    int32_t start_x_ = 0, start_y_ = 0;       // where the fill's path began
    uint16_t fill_ = 0, line_ = 0;            // 1-based in the last layer, 0 none
    int line_width_ = 0;
    // An open fill is shown closed: the last edge of its layer then goes
    // back to where the fill began, until the pen moves on.
    bool provisional_ = false;
};

// The gradient matrix of beginGradientFill's box form: the gradient square
// (-16384..16384 twips) fitted into w by h pixels at (x, y), turned by r.
Matrix GradientBox(double x, double y, double w, double h, double r);

}  // namespace flash
