// Scanline polygon filler. Edges are given in device pixels; Fill works out,
// row by row, how much of each pixel lies inside (even-odd or non-zero rule)
// and hands the coverage to a Paint, which blends its colours into the
// canvas. Anti-aliasing either samples each row at several heights and
// measures the covered part of each pixel exactly across, or takes four
// point samples per pixel.
#pragma once

#include "flash/canvas.h"

#include <vector>

namespace flash {

struct Point {
    double x = 0, y = 0;
};

enum class FillRule { EvenOdd, NonZero };

// Blends one row of coverage (0..1 per pixel, from x0 to x1 exclusive).
class Paint {
public:
    virtual ~Paint() = default;
    virtual void Blend(uint32_t* row, int y, int x0, int x1, const float* coverage) const = 0;
};

class SolidPaint : public Paint {
public:
    explicit SolidPaint(Rgba color) : color_(color) {}
    void Blend(uint32_t* row, int y, int x0, int x1, const float* coverage) const override;

private:
    Rgba color_;
};

// Blends src with the given opacity (0..1) over the opaque pixel dst.
uint32_t BlendPixel(uint32_t dst, Rgba src, float opacity);

class Rasterizer {
public:
    void Clear() { edges_.clear(); }
    bool Empty() const { return edges_.empty(); }
    void AddLine(Point a, Point b);
    // Coverage of every canvas pixel (row by row) that fills are multiplied
    // by, or nullptr; it must hold width * height values.
    void SetMask(const float* mask) { mask_ = mask; }
    const float* Mask() const { return mask_; }
    // Fills draw only inside this box of device pixels (left and top
    // edges included) until ClearClip.
    void SetClip(double x0, double y0, double x1, double y1) {
        clip_ = {x0, y0, x1, y1};
        clipped_ = true;
    }
    void ClearClip() { clipped_ = false; }
    // Between BeginLayer and EndLayer the fills drawn are the fills of one
    // shape, which meet along shared edges: each pixel is blended from what
    // it showed before the first of them, so that two fills sharing a pixel
    // split it between them and nothing below shows through their seam.
    void BeginLayer() {
        layering_ = true;
        ++generation_;
    }
    void EndLayer() { layering_ = false; }
    // Samples per pixel: 1 draws without anti-aliasing (the pixel's centre
    // decides), kRotatedGrid takes four point samples on a rotated grid, and
    // any other count samples that many heights in each pixel row, measuring
    // the covered part of each pixel exactly across.
    static constexpr int kRotatedGrid = -4;
    void Fill(Canvas& canvas, const Paint& paint, FillRule rule, int samples);
    // Fills drawn on stage take part in the row reach: reach holds, per row,
    // the rightmost edge crossing of everything drawn on the stage. When
    // recording, fills widen it; otherwise a fill left open at its last
    // crossing (a path that never closes) runs on up to it, as a scanline
    // pass over the whole stage would paint it. OpenSeen tells whether any
    // fill was left open since SetStage.
    void SetStage(const Canvas* stage, std::vector<double>* reach, bool recording) {
        stage_ = stage;
        reach_ = reach;
        recording_ = recording;
        open_seen_ = false;
    }
    bool OpenSeen() const { return open_seen_; }

private:
    struct Edge {
        double x0, y0, x1, y1;
        int direction;
    };
    struct Crossing {
        double x;
        int direction;
    };

    std::vector<Edge> edges_;
    std::vector<Edge> active_;
    std::vector<Crossing> crossings_;
    std::vector<float> coverage_;
    const float* mask_ = nullptr;
    struct Box {
        double x0, y0, x1, y1;
    };
    Box clip_{};
    bool clipped_ = false;
    // Blends a row of coverage into the canvas as a fill of the layer.
    void BlendInLayer(Canvas& canvas, const Paint& paint, int row, int x0, int x1);
    bool layering_ = false;
    uint32_t generation_ = 0;
    const Canvas* layer_canvas_ = nullptr;
    std::vector<uint32_t> stamps_;   // per pixel: the layer that saved it
    std::vector<uint32_t> under_;    // per pixel: what it showed before that layer
    std::vector<uint32_t> current_;
    const Canvas* stage_ = nullptr;
    std::vector<double>* reach_ = nullptr;
    bool recording_ = false;
    bool open_seen_ = false;
};

// Adds coverage into a mask buffer of the canvas's size instead of
// painting: what masks draw decides where the masked objects show.
class MaskPaint : public Paint {
public:
    MaskPaint(float* mask, int width) : mask_(mask), width_(width) {}
    void Blend(uint32_t* row, int y, int x0, int x1, const float* coverage) const override;

private:
    float* mask_;
    int width_;
};

}  // namespace flash
