// Builds small SWF movies in memory: shapes with solid fills and lines,
// sprites, placement and removal, frame labels and the basic frame actions.
// Used to make the start-up movie and the movies the tests play.
#pragma once

#include "flash/movie.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace flash {

// Writes bit fields most significant bit first, as SWF records hold them.
class BitWriter {
public:
    void UB(uint32_t value, int bits);
    void SB(int32_t value, int bits) { UB(static_cast<uint32_t>(value), bits); }
    void Flush();  // pads to a whole byte
    std::vector<uint8_t>& Bytes() { Flush(); return bytes_; }

    static int UnsignedBits(uint32_t value);
    static int SignedBits(int32_t value);

private:
    std::vector<uint8_t> bytes_;
    uint32_t buffer_ = 0;
    int count_ = 0;
};

// The outline and styles of one DefineShape. Coordinates are in twips;
// style numbers are those returned by the Add functions.
class ShapeBuilder {
public:
    int AddSolidFill(Rgba color);
    int AddLineStyle(int width, Rgba color);
    // matrix maps bitmap pixels to shape twips.
    int AddBitmapFill(uint16_t bitmap, const Matrix& matrix, bool repeats, bool smooth);

    void SetFill0(int style);
    void SetFill1(int style);
    void SetLine(int style);
    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void CurveTo(int32_t cx, int32_t cy, int32_t x, int32_t y);

    // A closed rectangle filled with fill0 = style (lines unchanged).
    void Rectangle(int32_t x, int32_t y, int32_t width, int32_t height, int style);
    // A closed circle of eight curves filled with fill0 = style.
    void Circle(int32_t cx, int32_t cy, int32_t radius, int style);

    // The body of a DefineShape tag (DefineShape3 when a colour has alpha).
    std::vector<uint8_t> Build(uint16_t id, int* tag_code) const;

private:
    struct Record {
        enum Kind { Style, Line, Curve } kind;
        bool move = false, fill0 = false, fill1 = false, line = false;
        int32_t a = 0, b = 0, c = 0, d = 0;
        int fill0_style = 0, fill1_style = 0, line_style = 0;
    };
    Record& PendingStyle();
    void Include(int32_t x, int32_t y);

    struct Fill {
        Rgba color;
        uint16_t bitmap = 0;
        Matrix matrix;
        int type = 0x00;
    };
    std::vector<Fill> fills_;
    std::vector<std::pair<int, Rgba>> lines_;
    std::vector<Record> records_;
    int32_t x_ = 0, y_ = 0;
    bool has_bounds_ = false;
    int32_t xmin_ = 0, xmax_ = 0, ymin_ = 0, ymax_ = 0;
    int widest_line_ = 0;
};

struct PlaceArgs {
    int depth = 1;
    uint16_t character = 0;                  // 0: modify what the depth holds
    bool move = false;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> color;
    std::optional<int> ratio;
    std::string name;
    int clip_depth = 0;
};

// Builds action bytes for DoAction tags and button conditions: a few
// pushes and operations, enough for small scripts; Bytes() ends the list.
class ActionWriter {
public:
    ActionWriter& Push(const std::string& text);
    ActionWriter& Push(double number);
    ActionWriter& Op(uint8_t code);                  // an action without data
    ActionWriter& Op(uint8_t code, const std::vector<uint8_t>& data);
    ActionWriter& Trace() { return Op(0x26); }
    ActionWriter& GetVariable() { return Op(0x1C); }
    ActionWriter& SetVariable() { return Op(0x1D); }
    ActionWriter& GetMember() { return Op(0x4E); }
    ActionWriter& SetMember() { return Op(0x4F); }
    ActionWriter& CallFunction() { return Op(0x3D); }
    ActionWriter& CallMethod() { return Op(0x52); }
    ActionWriter& Pop() { return Op(0x17); }
    // DefineFunction2-free functions: DefineFunction with no parameters
    // whose body is another writer's actions (without its end).
    ActionWriter& Function(const std::string& name, const ActionWriter& body);
    std::vector<uint8_t> Bytes() const;

private:
    std::vector<uint8_t> bytes_;
};

// One record of a button: the states it shows in (1 up, 2 over, 4 down,
// 8 hit, or'ed), the character and where.
struct ButtonRecordArgs {
    int states = 0x0F;
    uint16_t character = 0;
    int depth = 1;
    Matrix matrix;
};

// A DefineButton2 condition: the transitions or key (bits 9-15) and what runs.
struct ButtonConditionArgs {
    uint16_t conditions = 0;
    std::vector<uint8_t> actions;                    // as ActionWriter::Bytes() gives them
};

// The control tags of a timeline: the main movie's or a sprite's.
class TagList {
public:
    void PlaceObject(const PlaceArgs& args);   // PlaceObject2
    void RemoveObject(int depth);              // RemoveObject2
    void ShowFrame();
    void FrameLabel(const std::string& label);
    void DoAction(const std::vector<Action>& actions);
    void DoAction(const ActionWriter& actions);
    void Tag(int code, const std::vector<uint8_t>& body);

    int Frames() const { return frames_; }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    int frames_ = 0;
};

class SwfWriter : public TagList {
public:
    SwfWriter(int version, int width, int height, double frame_rate);

    void SetBackgroundColor(Rgba color);
    void DefineShape(uint16_t id, const ShapeBuilder& shape);
    void DefineSprite(uint16_t id, const TagList& sprite);
    void DefineButton2(uint16_t id, const std::vector<ButtonRecordArgs>& records,
                       const std::vector<ButtonConditionArgs>& conditions, bool track_as_menu = false);
    // DefineBitsLossless2 of 0xAARRGGBB pixels (straight alpha), rows top down.
    void DefineBitsLossless2(uint16_t id, int width, int height, const std::vector<uint32_t>& pixels);
    // Frame count written in the header; by default the frames shown.
    void SetHeaderFrames(int frames) { header_frames_ = frames; }

    // The whole file, "FWS" or, compressed, "CWS".
    std::vector<uint8_t> Finish(bool compressed = false) const;

private:
    int version_;
    int width_, height_;
    double frame_rate_;
    int header_frames_ = -1;
};

}  // namespace flash
