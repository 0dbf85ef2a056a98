// A SWF movie as the engine keeps it: the header, the dictionary of
// characters (shapes and sprites) and the main timeline, each frame holding
// its display-list changes and actions in tag order.
#pragma once

#include "flash/display_effects.h"
#include "flash/sound_types.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "swf/bitmap.h"
#include "swf/records.h"

namespace flash {

namespace avm1 {
class Object;
}

using Rgba = swf::Rgba;

// x' = a*x + c*y + tx, y' = b*x + d*y + ty (SWF: a scaleX, b rotateSkew0,
// c rotateSkew1, d scaleY); translation in twips.
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    double X(double x, double y) const { return a * x + c * y + tx; }
    double Y(double x, double y) const { return b * x + d * y + ty; }
};
// The matrix that applies inner first, then outer.
Matrix Multiply(const Matrix& outer, const Matrix& inner);
// The matrix that undoes m; none when m squashes the plane to a line.
std::optional<Matrix> Inverse(const Matrix& m);

// An axis-aligned box, and the box that holds a box after a matrix.
struct Box {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};
Box TransformBox(const Matrix& m, const Box& box);

// Channel' = channel * mult / 256 + add, clamped to 0..255.
struct ColorTransform {
    int rm = 256, gm = 256, bm = 256, am = 256;
    int ra = 0, ga = 0, ba = 0, aa = 0;

    Rgba Apply(Rgba color) const;
};
// The transform that applies inner first, then outer.
ColorTransform Combine(const ColorTransform& outer, const ColorTransform& inner);

struct GradientStop {
    uint8_t ratio = 0;
    Rgba color;
};

enum class FillKind { Solid, LinearGradient, RadialGradient, FocalGradient, Bitmap };

struct FillStyle {
    FillKind kind = FillKind::Solid;
    Rgba color;
    Matrix matrix;                   // gradient or bitmap space to shape space
    std::vector<GradientStop> stops;
    int spread = 0;                  // 0 pad, 1 reflect, 2 repeat
    bool linear_rgb = false;         // stops mixed in linear light
    double focal = 0;
    uint16_t bitmap_id = 0;
    bool bitmap_repeats = false;     // tiles beyond its edges (else clamps)
    bool bitmap_smooth = false;
    // A BitmapData that beginBitmapFill named, read as it is when drawn.
    avm1::Object* bitmap_data = nullptr;
};

// How a line ends at an open end of its path, and how it turns a corner.
enum class LineCap : uint8_t { Round, None, Square };
enum class LineJoin : uint8_t { Round, Bevel, Miter };

struct LineStyle {
    int width = 0;                   // twips
    Rgba color;
    // A gradient or bitmap that paints the line instead of its colour.
    std::optional<FillStyle> fill = std::nullopt;
    // Whether the width follows the object's horizontal and vertical scale
    // (both: the normal scale mode).
    bool scale_x = true, scale_y = true;
    LineCap start_cap = LineCap::Round, end_cap = LineCap::Round;
    LineJoin join = LineJoin::Round;
    double miter_limit = 3;          // how far a miter may reach, in line widths
    bool no_close = false;           // a path back at its start is capped there, not joined
};

// One straight or curved edge in shape coordinates (twips), with the styles
// on its left (fill0) and right (fill1) and its line style; style numbers
// are 1-based into the layer's arrays, 0 meaning none.
struct ShapeEdge {
    int32_t x0 = 0, y0 = 0, cx = 0, cy = 0, x1 = 0, y1 = 0;
    bool curved = false;
    uint16_t fill0 = 0, fill1 = 0, line = 0;
};

// Edges drawn with one set of style arrays; a shape record with new styles
// starts the next layer, drawn above the previous one.
struct ShapeLayer {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<ShapeEdge> edges;
};

struct Shape {
    int32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool nonzero_winding = false;
    std::vector<ShapeLayer> layers;
};

// A shape tween: the start shape and, edge for edge and style for style,
// where each part ends.
struct MorphShape {
    Shape start;                     // one layer
    std::vector<ShapeEdge> end_edges;
    std::vector<FillStyle> end_fills;
    std::vector<LineStyle> end_lines;
};

// The bytes of one action list (DoAction, DoInitAction, a clip event, a
// button condition), shared by the movie and the script functions made
// from it.
using ActionBytes = std::shared_ptr<const std::vector<uint8_t>>;

// Clip event bits of PlaceObject2 and PlaceObject3 (SWF 5 uses the low 16).
enum ClipEvent : uint32_t {
    kEventLoad = 0x01,
    kEventEnterFrame = 0x02,
    kEventUnload = 0x04,
    kEventMouseMove = 0x08,
    kEventMouseDown = 0x10,
    kEventMouseUp = 0x20,
    kEventKeyDown = 0x40,
    kEventKeyUp = 0x80,
    kEventData = 0x100,
    kEventInitialize = 0x200,
    kEventPress = 0x400,
    kEventRelease = 0x800,
    kEventReleaseOutside = 0x1000,
    kEventRollOver = 0x2000,
    kEventRollOut = 0x4000,
    kEventDragOver = 0x8000,
    kEventDragOut = 0x10000,
    kEventKeyPress = 0x20000,
    kEventConstruct = 0x40000,
};

struct ClipAction {
    uint32_t events = 0;
    uint8_t key = 0;                 // kEventKeyPress: the key code
    ActionBytes actions;
};

// PlaceObject, PlaceObject2 and PlaceObject3 in one form.
struct PlaceRecord {
    int depth = 0;
    bool move = false;
    bool has_character = false;
    bool has_matrix = false;
    bool has_color = false;
    bool has_ratio = false;
    bool has_clip_depth = false;
    uint16_t character = 0;
    Matrix matrix;
    ColorTransform color;
    int ratio = 0;
    int clip_depth = 0;
    std::string name;
    bool has_name = false;           // named, perhaps with an empty name
    std::vector<ClipAction> clip_actions;
    // PlaceObject3.
    bool has_filters = false;
    bool has_blend_mode = false;
    bool has_cache = false;
    bool has_visible = false;
    bool has_background = false;
    std::vector<Filter> filters;
    BlendMode blend_mode = BlendMode::Normal;
    bool cache_as_bitmap = false;
    bool visible = true;
    Rgba background;                 // opaque background colour
};

// What SwfWriter writes into DoAction tags. SetTarget makes the actions after it act on the sprite named by label (a
// path such as "/menu/button" or "../intro"); an empty label returns them to
// the timeline that runs them.
enum class ActionKind { Stop, Play, GotoFrame, GotoLabel, NextFrame, PreviousFrame, SetTarget };

struct Action {
    ActionKind kind = ActionKind::Stop;
    int frame = 0;
    std::string label;
};

// Actions: a DoAction; InitActions: a DoInitAction for the sprite `sprite`.
enum class ControlKind { Place, Remove, Actions, InitActions };

struct ControlTag {
    ControlKind kind = ControlKind::Place;
    PlaceRecord place;               // Place; Remove uses place.depth only
    ActionBytes actions;             // Actions, InitActions
    uint16_t sprite = 0;             // InitActions
};

struct Frame {
    std::vector<ControlTag> tags;
    std::vector<SoundStart> sounds;  // StartSound and StartSound2 of the frame
};

struct Timeline {
    int frame_count = 1;             // frames the timeline plays, at least 1
    bool loops = true;               // goes back to its first frame after its last
    std::vector<Frame> frames;       // the frames read; later ones are empty
    std::map<std::string, int> labels;
    std::shared_ptr<const StreamSound> stream;   // none when no stream head

    const Frame* At(int frame) const {
        return frame >= 0 && frame < static_cast<int>(frames.size()) ? &frames[frame] : nullptr;
    }

    // Frame of a label (compared without regard to ASCII case), or -1.
    int FindLabel(const std::string& label) const;
};

struct Sprite {
    Timeline timeline;
    uint32_t bytes = 0;              // the size of its tags in the file
};

// A button condition's actions: the transitions (bits 0-8 of
// DefineButton2's condition word) or the key (bits 9-15) that run them.
struct ButtonAction {
    uint16_t conditions = 0;
    ActionBytes actions;
};

// The records a button draws in each state, and its actions.
struct Button {
    std::vector<PlaceRecord> up;
    std::vector<PlaceRecord> over;
    std::vector<PlaceRecord> down;
    std::vector<PlaceRecord> hit;
    std::vector<ButtonAction> actions;
    bool track_as_menu = false;
};

// Pixels of a bitmap character, 0xAARRGGBB with straight (not
// premultiplied) alpha, rows top down.
using Bitmap = swf::Bitmap;

// Glyph outlines of an embedded font, in units of an em of 1024 (DefineFont
// and DefineFont2) or 20480 (DefineFont3).
struct Font {
    std::vector<Shape> glyphs;
    double em = 1024;
    std::vector<uint16_t> codes;     // character code of each glyph
    std::vector<int> advances;       // in em units, when the font has them
    int ascent = 0, descent = 0, leading = 0;
    std::string name;                // DefineFont2 and DefineFont3
    bool bold = false, italic = false;
    bool codes_sorted = false;       // codes ascend (device fonts), so lookups may bisect

    // The glyph of a character code, or -1.
    int FindGlyph(uint16_t code) const;
};

// A run of glyphs of static text in one font, size and colour, starting at
// (x, y) in the text's space (twips).
struct TextRun {
    uint16_t font = 0;
    Rgba color;
    int height = 0;
    int32_t x = 0, y = 0;
    std::vector<std::pair<uint32_t, int32_t>> glyphs;   // glyph, advance
};

struct Text {
    Matrix matrix;
    std::vector<TextRun> runs;
};

// An edit text field: its box, its look and the text it starts with.
struct EditText {
    int32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool border = false;
    bool outlines = false;           // drawn with the embedded font
    uint16_t font = 0;
    int height = 0;
    Rgba color{0, 0, 0, 255};
    int align = 0;                   // 0 left, 1 right, 2 centre
    int left_margin = 0, right_margin = 0, indent = 0, leading = 0;
    std::string text;                // plain text, HTML tags removed
    std::string initial;             // the text as written (HTML when html)
    std::string variable;            // the variable the field shows
    bool html = false, multiline = false, word_wrap = false, password = false, read_only = false;
    bool selectable = true, auto_size = false;
    int max_length = 0;
};

// An embedded video: its size on the stage and its compressed frames by
// number, which VideoFrame tags fill in as they come.
struct VideoStream {
    int width = 0, height = 0;   // pixels
    int codec = 0;               // 2: the Sorenson variant of H.263
    bool smoothing = false;
    std::map<int, std::vector<uint8_t>> frames;
};

struct Movie;

struct Character {
    // The movie whose dictionary the character's own references use: set
    // for characters imported from another movie, nullptr for our own.
    const Movie* owner = nullptr;
    std::shared_ptr<const Shape> shape;
    std::shared_ptr<const Sprite> sprite;
    std::shared_ptr<const Button> button;
    std::shared_ptr<const Font> font;
    std::shared_ptr<const Text> text;
    std::shared_ptr<const EditText> edit_text;
    std::shared_ptr<const Bitmap> bitmap;
    std::shared_ptr<const MorphShape> morph;
    std::shared_ptr<const Sound> sound;
    std::shared_ptr<const VideoStream> video;
};

struct Movie {
    int version = 0;
    bool compressed = false;
    uint32_t file_length = 0;        // as the header gives it (uncompressed)
    uint32_t stored_bytes = 0;       // the size of the file as it came
    int32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;   // stage in twips
    double frame_rate = 0;                            // frames per second
    int header_frames = 0;
    std::string url;                                  // the file it was read from, as a file:// address
    Rgba background{255, 255, 255, 255};
    std::map<uint16_t, Character> characters;
    Timeline timeline;
    // ExportAssets (and ImportAssets): the names scripts attach characters by.
    std::map<std::string, uint16_t> exports;
    // Movies that ImportAssets read characters from, kept alive with this one.
    std::vector<std::shared_ptr<const Movie>> imports;
    std::map<uint16_t, ButtonSounds> button_sounds;   // by button id

    int StageWidth() const { return (xmax - xmin) / 20; }
    int StageHeight() const { return (ymax - ymin) / 20; }
    const Character* Find(uint16_t id) const;
};

}  // namespace flash
