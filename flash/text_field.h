// Text fields as script objects: the edit text the timeline places and the
// fields createTextField makes share one runtime state (text with its
// formats, look, bindings), which scripts change and the renderer draws.
#pragma once

#include "flash/avm1/object.h"
#include "flash/movie.h"
#include "flash/text_format.h"
#include "flash/text_layout.h"

#include <string>

namespace flash {

struct Clip;
struct Instance;
class Player;

enum class AutoSize { None, Left, Center, Right };

struct TextField : avm1::Object {
    TextField(Player* player, Clip* parent, int depth);

    const char* TypeOf() const override { return "object"; }
    bool HasTargetPath() override { return true; }
    bool GetVirtual(avm1::Vm& vm, const std::string& name, avm1::Value* out) override;
    bool SetVirtual(avm1::Vm& vm, const std::string& name, const avm1::Value& value) override;
    bool WatchSeesVirtual() const override { return false; }
    void TraceRefs(avm1::Tracer& tracer) override;

    // Takes the look and the first text of a DefineEditText.
    void Define(avm1::Vm& vm, const EditText& definition, const Movie& movie);
    // The display list entry that shows the field (a detached one once removed).
    Instance& Placement();

    // Text in UTF-8 with paragraphs ended by '\r'.
    std::string PlainText() const;
    void SetPlainText(avm1::Vm& vm, const std::string& text);
    void SetHtmlText(avm1::Vm& vm, const std::string& html);
    // Reads the bound variable, when there is one, into the text.
    void PullVariable(avm1::Vm& vm);
    // Writes the text into the bound variable.
    void PushVariable(avm1::Vm& vm);
    // Size of the laid-out text in twips, and the lines it makes.
    double TextWidth() const;
    double TextHeight() const;
    int LineCount() const;
    // The text laid out in the box as it is drawn.
    TextLayout Laid() const;
    // Grows or shrinks the box around the text as autoSize says.
    void Fit();
    // Calls onChanged and the listeners' onChanged.
    void Changed(avm1::Vm& vm);

    Player* player;
    Clip* parent;
    int depth;
    bool removed = false;
    bool masking = false;                    // is some clip's mask: not drawn itself
    int selection_begin = -1, selection_end = -1, caret = -1;   // set by Selection.setSelection

    // Box in the field's own space, twips.
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    RichText text;
    TextFormat new_format = DefaultTextFormat();
    std::string variable;
    bool html = false, multiline = false, word_wrap = false, password = false, condense_white = false;
    bool border = false, background = false, selectable = true, input = false, embed_fonts = false;
    bool mouse_wheel_enabled = true;
    uint32_t border_color = 0, background_color = 0xFFFFFF;
    int max_chars = 0;                       // 0: no limit
    int scroll = 1, hscroll = 0;
    AutoSize auto_size = AutoSize::None;
    const Movie* movie = nullptr;            // where its embedded font is found
    uint16_t font_id = 0;
    std::string last_pushed;                 // the text last written to the variable
    std::string initial;                     // the text the field was defined with (HTML when html)

    // Binds the field to a variable: an unset one takes the field's first
    // text, a set one shows its value.
    void BindVariable(avm1::Vm& vm);
};

// Makes a text field at depth in parent's list, replacing what is there.
TextField* CreateTextField(avm1::Vm& vm, Clip& parent, const std::string& name, int depth, double x, double y,
                           double width, double height);

// Shows in every field under clip the bound variables' values.
void SyncTextFields(avm1::Vm& vm, Clip& clip);

}  // namespace flash
