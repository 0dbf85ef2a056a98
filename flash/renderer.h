// Draws what a Player shows into a Canvas: the background colour, then the
// display list in depth order, sprites with their own lists, each object
// with its matrix and colour transform combined with its parents'.
#pragma once

#include "flash/canvas.h"
#include "flash/player.h"
#include "flash/rasterizer.h"
#include "flash/video_frames.h"
#include "flash/view.h"

namespace flash {

// Low draws without anti-aliasing; medium and high smooth edges with more
// samples per pixel row.
enum class Quality { Low, Medium, High };

class Renderer {
public:
    // Draws into the canvas at its current size; without a movie the canvas
    // is cleared to white.
    void Render(const Player& player, const View& view, Quality quality, Canvas& canvas);

private:
    void DrawClip(const Clip& clip, const Matrix& matrix, const ColorTransform& color, int nesting);
    // Draws an object with filters or a blend mode into a layer of its own,
    // filters that, then composites it onto the canvas.
    // Draws a placed object: through a layer when it has filters or a blend
    // mode, else straight.
    void DrawPlaced(const Instance& instance, const Matrix& matrix, const ColorTransform& outer_color, int nesting);
    // The matrix of a clip drawn through its bitmap cache.
    Matrix SnapCached(const Clip& clip, const Matrix& matrix) const;
    // Draws an object with an opaque background or a scroll rectangle.
    void DrawFramed(const Instance& instance, const Matrix& matrix, const ColorTransform& outer_color, int nesting);
    void DrawLayered(const Instance& instance, const Matrix& matrix, const ColorTransform& outer_color, int nesting);
    void DrawCharacter(const Character& character, const Instance& instance, const Matrix& matrix,
                       const ColorTransform& color, int nesting);
    // solid, when given, replaces the colour of every fill (glyphs).
    void DrawShape(const Shape& shape, const Matrix& matrix, const ColorTransform& color,
                   const Rgba* solid = nullptr);
    // Fills the rasteriser's edges with a fill style's paint.
    void FillWith(const FillStyle& fill, const Matrix& matrix, const ColorTransform& color, FillRule rule);
    // A BitmapData that attachBitmap placed.
    void DrawBitmapData(const Instance& instance, const Matrix& matrix, const ColorTransform& color);
    void DrawBitmap(const Bitmap& bitmap, const Matrix& matrix, const ColorTransform& color, bool smoothing,
                    bool premultiplied);
    // An embedded video's frame that the instance's ratio names, stretched
    // to the video's size.
    void DrawVideo(const std::shared_ptr<const VideoStream>& video, const Instance& instance, const Matrix& matrix,
                   const ColorTransform& color);
    void DrawText(const Text& text, const Matrix& matrix, const ColorTransform& color);
    void DrawEditText(const EditText& field, const Matrix& matrix, const ColorTransform& color);
    // A text field as scripts left it: background, border and text.
    void DrawTextField(const TextField& field, const Matrix& matrix, const ColorTransform& color);
    // Draws a clip that setMask gave a mask, only where the mask draws.
    void DrawMasked(const Clip& clip, const Matrix& matrix, const ColorTransform& color, int nesting);
    void DrawBox(int32_t xmin, int32_t ymin, int32_t xmax, int32_t ymax, const Matrix& matrix, Rgba color);
    // Edges bounding the fills marked in members (indexed by fill number).
    void AddFillEdges(const ShapeLayer& layer, const std::vector<char>& members, const Matrix& matrix);
    // Outlines the edges drawn with a line style, half_width pixels either
    // side of their centre; minor_axis measures the width across each
    // segment's minor axis instead of square to it.
    void AddStroke(const ShapeLayer& layer, uint16_t line, const Matrix& matrix, double half_width, bool minor_axis);
    // A round-capped, round-joined line without smoothing, edge by edge
    // with round ends.
    void AddAliasedStroke(const ShapeLayer& layer, uint16_t line, const Matrix& matrix, double half_width,
                          bool minor_axis);
    void Flatten(const ShapeEdge& edge, const Matrix& matrix, std::vector<Point>& points) const;
    // A glyph's edge: placed exactly, then on the sixteenth-pixel grid.
    void FlattenGlyphEdge(const ShapeEdge& edge, const Matrix& matrix, std::vector<Point>& points) const;

    // Pixels per twip of a line drawn at the given matrix.
    double LineScale(const LineStyle& line, const Matrix& matrix) const;

    const Movie* movie_ = nullptr;
    Player* player_ = nullptr;           // measures the bounds of clips
    double stage_scale_ = 0.05;
    Canvas* canvas_ = nullptr;           // where drawing goes: the stage or a layer
    Canvas* stage_canvas_ = nullptr;
    int samples_ = 1;
    Rasterizer raster_;
    std::vector<double> reach_;  // rightmost stage edge crossing of each row
    std::vector<Point> points_;
    std::vector<char> fill_members_;
    std::vector<Point> path_;            // the centre line of a stroke
    float* mask_target_ = nullptr;   // set while a mask is being drawn
    Matrix stage_;                   // stage twips to canvas pixels
    bool glyph_ = false;             // the shape being drawn is a glyph
    VideoFrames videos_;
};

}  // namespace flash
