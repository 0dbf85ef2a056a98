#include "flash/rasterizer.h"

#include <algorithm>
#include <cmath>

namespace flash {

uint32_t BlendPixel(uint32_t dst, Rgba src, float opacity) {
    int alpha = static_cast<int>(opacity * src.a * (256.0f / 255.0f) + 0.5f);
    if (alpha <= 0) return dst;
    if (alpha > 256) alpha = 256;
    int a = static_cast<int>(dst >> 24), r = (dst >> 16) & 0xFF, g = (dst >> 8) & 0xFF, b = dst & 0xFF;
    if (a == 255) {
        r += ((src.r - r) * alpha) >> 8;
        g += ((src.g - g) * alpha) >> 8;
        b += ((src.b - b) * alpha) >> 8;
        return 0xFF000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | static_cast<uint32_t>(b);
    }
    // A see-through destination (a layer): premultiplied source-over.
    int keep = 256 - alpha;
    a = (255 * alpha + a * keep) >> 8;
    r = (src.r * alpha + r * keep) >> 8;
    g = (src.g * alpha + g * keep) >> 8;
    b = (src.b * alpha + b * keep) >> 8;
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}

void SolidPaint::Blend(uint32_t* row, int, int x0, int x1, const float* coverage) const {
    for (int x = x0; x < x1; ++x)
        if (coverage[x] > 0) row[x] = BlendPixel(row[x], color_, std::min(coverage[x], 1.0f));
}

void MaskPaint::Blend(uint32_t*, int y, int x0, int x1, const float* coverage) const {
    float* row = mask_ + static_cast<size_t>(y) * static_cast<size_t>(width_);
    for (int x = x0; x < x1; ++x) row[x] = std::min(1.0f, row[x] + coverage[x]);
}

void Rasterizer::AddLine(Point a, Point b) {
    // Edge ends lie on a grid of 1/256 pixel, so that a pixel centre an
    // edge passes within a rounding error of falls on a definite side.
    auto snap = [](Point p) { return Point{std::round(p.x * 256) / 256, std::round(p.y * 256) / 256}; };
    a = snap(a);
    b = snap(b);
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y)) return;
    if (a.y == b.y) return;
    if (a.y < b.y)
        edges_.push_back({a.x, a.y, b.x, b.y, 1});
    else
        edges_.push_back({b.x, b.y, a.x, a.y, -1});
}

namespace {

// Adds weight times the covered share of each pixel of [xa, xb).
void AddSpan(float* coverage, double xa, double xb, float weight, int width) {
    xa = std::clamp(xa, 0.0, static_cast<double>(width));
    xb = std::clamp(xb, 0.0, static_cast<double>(width));
    if (xb <= xa) return;
    int ia = static_cast<int>(xa);
    int ib = static_cast<int>(xb);
    if (ia == ib) {
        coverage[ia] += static_cast<float>(xb - xa) * weight;
        return;
    }
    coverage[ia] += static_cast<float>(ia + 1 - xa) * weight;
    for (int i = ia + 1; i < ib; ++i) coverage[i] += weight;
    if (ib < width) coverage[ib] += static_cast<float>(xb - ib) * weight;
}

// Without anti-aliasing a pixel is inside when its sample point is.
constexpr double kAliasedSampleX = 0.5;
constexpr double kAliasedSampleY = 0.5;
// A sample point exactly on an edge belongs to the span on the edge's right;
// crossings computed a rounding error off an exact hit count as the hit.
constexpr double kAliasedTie = 1e-6;
// Adds weight to each pixel of [xa, xb) whose sample point, sample_x
// across the pixel, lies inside.
void AddSpanSampled(float* coverage, double xa, double xb, int width, double sample_x, float weight) {
    int ia = static_cast<int>(std::max(0.0, std::ceil(xa - sample_x - kAliasedTie)));
    int ib = static_cast<int>(std::min(static_cast<double>(width), std::ceil(xb - sample_x - kAliasedTie)));
    for (int i = ia; i < ib; ++i) coverage[i] += weight;
}

// The four sample points of a pixel on a rotated grid, one on each quarter
// row, each in a different quarter column.
constexpr double kGridX[4] = {0.375, 0.875, 0.125, 0.625};
constexpr double kGridY[4] = {0.125, 0.375, 0.625, 0.875};

}  // namespace

void Rasterizer::Fill(Canvas& canvas, const Paint& paint, FillRule rule, int samples) {
    if (edges_.empty() || canvas.width <= 0 || canvas.height <= 0) return;
    bool grid = samples == kRotatedGrid;
    samples = grid ? 4 : std::clamp(samples, 1, 64);
    std::sort(edges_.begin(), edges_.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    double top = edges_.front().y0;
    double bottom = top;
    for (const Edge& e : edges_) bottom = std::max(bottom, e.y1);
    int first_row = static_cast<int>(std::max(0.0, std::floor(top)));
    int last_row = static_cast<int>(std::min(static_cast<double>(canvas.height - 1), std::ceil(bottom)));

    coverage_.assign(static_cast<size_t>(canvas.width) + 1, 0.0f);
    active_.clear();
    size_t next_edge = 0;
    const float weight = 1.0f / static_cast<float>(samples);
    std::vector<double>* reach = &canvas == stage_ && reach_ && reach_->size() == static_cast<size_t>(canvas.height)
                                     ? reach_
                                     : nullptr;
    for (int row = first_row; row <= last_row; ++row) {
        bool touched = false;
        double left = canvas.width, right = 0;
        // Covers [xa, xb) of this row at sample s.
        auto add_span = [&](double xa, double xb, int s) {
            if (clipped_) {
                xa = std::max(xa, clip_.x0);
                xb = std::min(xb, clip_.x1);
                if (!(xb > xa)) return;
            }
            left = std::min(left, xa);
            right = std::max(right, xb);
            if (samples == 1)
                AddSpanSampled(coverage_.data(), xa, xb, canvas.width, kAliasedSampleX, 1.0f);
            else if (grid)
                AddSpanSampled(coverage_.data(), xa, xb, canvas.width, kGridX[s], weight);
            else
                AddSpan(coverage_.data(), xa, xb, weight, canvas.width);
            touched = true;
        };
        for (int s = 0; s < samples; ++s) {
            double y = samples == 1 ? row + kAliasedSampleY : grid ? row + kGridY[s] : row + (s + 0.5) / samples;
            while (next_edge < edges_.size() && edges_[next_edge].y0 <= y) active_.push_back(edges_[next_edge++]);
            active_.erase(std::remove_if(active_.begin(), active_.end(), [y](const Edge& e) { return e.y1 <= y; }),
                          active_.end());
            if (clipped_ && (y < clip_.y0 || y >= clip_.y1)) continue;
            crossings_.clear();
            for (const Edge& e : active_) {
                if (e.y0 > y) continue;
                double x = e.x0 + (y - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0);
                crossings_.push_back({x, e.direction});
            }
            if (crossings_.empty()) continue;
            std::sort(crossings_.begin(), crossings_.end(),
                      [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
            int winding = 0;
            for (size_t i = 0; i + 1 < crossings_.size(); ++i) {
                winding += crossings_[i].direction;
                bool inside = rule == FillRule::NonZero ? winding != 0 : (i % 2) == 0;
                if (inside) add_span(crossings_[i].x, crossings_[i + 1].x, s);
            }
            if (!reach) continue;
            // Whether the fill is still open after the row's last crossing.
            winding += crossings_.back().direction;
            bool open = rule == FillRule::NonZero ? winding != 0 : crossings_.size() % 2 == 1;
            double& row_reach = (*reach)[static_cast<size_t>(row)];
            double last = crossings_.back().x;
            if (recording_) {
                row_reach = std::max(row_reach, last);
                open_seen_ = open_seen_ || open;
            } else if (open && row_reach > last) {
                add_span(last, row_reach, s);
            }
        }
        if (!touched) continue;
        // Only the pixels between the outermost crossings can be covered.
        int x0 = static_cast<int>(std::clamp(std::floor(left), 0.0, static_cast<double>(canvas.width)));
        int x1 = static_cast<int>(std::clamp(std::ceil(right) + 1, 0.0, static_cast<double>(canvas.width)));
        if (mask_) {
            const float* mask_row = mask_ + static_cast<size_t>(row) * static_cast<size_t>(canvas.width);
            for (int x = x0; x < x1; ++x) coverage_[static_cast<size_t>(x)] *= mask_row[x];
        }
        if (layering_)
            BlendInLayer(canvas, paint, row, x0, x1);
        else
            paint.Blend(canvas.Row(row), row, x0, x1, coverage_.data());
        std::fill(coverage_.begin() + x0, coverage_.begin() + x1, 0.0f);
    }
    edges_.clear();
}

void Rasterizer::BlendInLayer(Canvas& canvas, const Paint& paint, int row, int x0, int x1) {
    size_t count = canvas.pixels.size();
    if (layer_canvas_ != &canvas || stamps_.size() != count) {
        layer_canvas_ = &canvas;
        stamps_.assign(count, 0);
        under_.resize(count);
    }
    uint32_t* pixels = canvas.Row(row);
    size_t base = static_cast<size_t>(row) * static_cast<size_t>(canvas.width);
    current_.assign(pixels + x0, pixels + x1);
    // The paint blends over what the pixel showed before the layer, and
    // the pixel takes what that blend adds.
    for (int x = x0; x < x1; ++x) {
        size_t i = base + static_cast<size_t>(x);
        if (stamps_[i] != generation_) {
            stamps_[i] = generation_;
            under_[i] = pixels[x];
        }
        pixels[x] = under_[i];
    }
    paint.Blend(pixels, row, x0, x1, coverage_.data());
    for (int x = x0; x < x1; ++x) {
        uint32_t under = under_[base + static_cast<size_t>(x)], now = current_[static_cast<size_t>(x - x0)];
        uint32_t blended = pixels[x];
        if (blended == under) {
            pixels[x] = now;
            continue;
        }
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            int channel = static_cast<int>((now >> shift) & 0xFF) + static_cast<int>((blended >> shift) & 0xFF) -
                          static_cast<int>((under >> shift) & 0xFF);
            out |= static_cast<uint32_t>(std::clamp(channel, 0, 255)) << shift;
        }
        pixels[x] = out;
    }
}

}  // namespace flash
