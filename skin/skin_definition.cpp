// TSkinData::ReadDefinition: the skin definition text into the skin model.
#include <algorithm>

#include "skin/skin_data.h"
#include "skin/skin_ini.h"
#include "skin/skin_reader.h"

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Frame counts divide image sizes when painting, so none is below 1.
int32_t AtLeastOne(int32_t frames) { return frames < 1 ? 1 : frames; }

// Bitmaps and values of one definition.
class DefinitionReader {
public:
    DefinitionReader(const SkinIniText& ini, const TSkinReader& package) : ini_(ini), package_(package) {}

    int32_t Int(const std::string& section, const std::string& key, int32_t fallback) const {
        return ini_.ReadInteger(section, key, fallback);
    }
    std::string Text(const std::string& section, const std::string& key) const {
        return ini_.ReadString(section, key, "");
    }
    SkinColour Rgb(const std::string& section, const std::string& key, SkinColour fallback) const {
        return ParseRgbText(Text(section, key), fallback);
    }
    // Whether the key's value names an image at all.
    bool NamesImage(const std::string& section, const std::string& key) const {
        return !Text(section, key).empty();
    }

    // The bitmap a value names: the folder part is dropped; only a name
    // ending in ".bmp" (in lower case) is looked up in the package; a name
    // that is not found or is no readable BMP gives an empty bitmap.
    SkinBitmap Image(const std::string& section, const std::string& key) const {
        SkinBitmap bitmap;
        std::string name = Text(section, key);
        const size_t slash = name.find_last_of("\\/:");
        if (slash != std::string::npos) name = name.substr(slash + 1);
        const size_t dot = name.find_last_of('.');
        if (name.empty() || dot == std::string::npos || name.substr(dot) != ".bmp") return bitmap;
        std::vector<uint8_t> bytes;
        package_.ExtractFile(name, bytes);
        if (!bytes.empty()) LoadBmp(bytes, bitmap);
        return bitmap;
    }

    // The keys shared by plain and bordered elements.
    void ReadElement(const std::string& section, TDataSkinObject& e, SkinColour button_text) const {
        e.Name = section;
        e.Bitmap = Image(section, "Image");
        e.LeftWidth = Int(section, "LeftWidth", 0);
        e.RightWidth = Int(section, "RightWidth", 0);
        e.TopHeight = Int(section, "TopHeight", 0);
        e.BottomHeight = Int(section, "BottomHeight", 0);
        e.Trans = Int(section, "Trans", 0);
        e.Tile = Int(section, "Tile", 0);
        e.NormalColour = Int(section, "NormalColour", -1);
        e.MouseOverColour = Int(section, "MouseOverColour", -1);
        e.PressedColour = Int(section, "PressedColour", -1);
        e.NormalColour2 = Rgb(section, "NormalColour2", button_text);
        e.MouseOverColour2 = Rgb(section, "MouseOverColour2", button_text);
        e.PressedColour2 = Rgb(section, "PressedColour2", button_text);
    }

    std::unique_ptr<TDataSkinObject> Plain(const std::string& section, SkinColour button_text) const {
        if (!NamesImage(section, "Image")) return nullptr;
        auto e = std::make_unique<TDataSkinObject>();
        ReadElement(section, *e, button_text);
        e->Style = Int(section, "Style", 0);
        return e;
    }

    std::unique_ptr<TDataSkinBorder> Bordered(const std::string& section, const std::string& second_key,
                                              SkinColour button_text) const {
        if (!NamesImage(section, "Image")) return nullptr;
        auto e = std::make_unique<TDataSkinBorder>();
        ReadElement(section, *e, button_text);
        e->Bitmap2 = Image(section, second_key);
        return e;
    }

    const SkinIniText& ini_;

private:
    const TSkinReader& package_;
};

const char* const kBorderNames[4] = {"Left", "Right", "Top", "Bottom"};

void ReadBorders(const DefinitionReader& in, TDataSkinBorder (&borders)[4]) {
    const std::string section = "Personality";
    for (int i = 0; i < 4; i++) {
        const std::string name = kBorderNames[i];
        TDataSkinBorder b;
        b.Name = name;
        b.Bitmap = in.Image(section, name);
        const int32_t first_end = in.Int(section, name + "TopHeight", 0);
        const int32_t second_end = in.Int(section, name + "BotHeight", 0);
        if (i == kBorderLeft || i == kBorderRight) {
            b.TopHeight = first_end;
            b.BottomHeight = second_end;
        } else {
            b.LeftWidth = first_end;
            b.RightWidth = second_end;
        }
        b.FrameCount = AtLeastOne(in.Int(section, name + "Frame", 1));
        b.Tile = in.Int(section, name + "Stretch", 1);
        b.Trans = in.Int(section, name + "Trans", 1);
        borders[i] = std::move(b);
    }
}

void ReadColours(const DefinitionReader& in, SkinColours& c, std::vector<SkinColour>& extra) {
    const std::string s = "Colours";
    c.WindowText = in.Rgb(s, "WindowText", kClWindowText);
    c.ButtonFace = in.Rgb(s, "ButtonFace", kClBtnFace);
    c.Scrollbar = in.Rgb(s, "Scrollbar", kClScrollBar);
    c.HilightText = in.Rgb(s, "HilightText", kClHighlightText);
    c.Hilight = in.Rgb(s, "Hilight", kClHighlight);
    c.Menubar = in.Rgb(s, "Menubar", c.ButtonFace);
    c.Menu = in.Rgb(s, "Menu", kClMenu);
    c.MenuText = in.Rgb(s, "MenuText", kClMenuText);
    c.ButtonText = in.Rgb(s, "ButtonText", kClBtnText);
    c.ButtonHilight = in.Rgb(s, "ButtonHilight", kClBtnHighlight);
    c.Buttonlight = in.Rgb(s, "Buttonlight", kClBtnHighlight);
    c.ButtonShadow = in.Rgb(s, "ButtonShadow", kClBtnShadow);
    c.ButtonDkShadow = in.Rgb(s, "ButtonDkShadow", kClBtnShadow);
    c.MenuBarText = in.Rgb(s, "MenuBarText", kClMenuText);
    c.TitleTextActive = in.Rgb(s, "TitleTextActive", kClCaptionText);
    c.TitleTextNoActive = in.Rgb(s, "TitleTextNoActive", kClInactiveCaptionText);

    extra.clear();
    for (const std::string& section : in.ini_.Sections()) {
        const std::string upper = Upper(section);
        if (StartsWith(upper, "COLOUR") && upper != "COLOURS") extra.push_back(in.Rgb(section, "color", kClWindowText));
    }
}

// Title-bar buttons: every [Button...] section but those of push buttons,
// check boxes and radio buttons, then the three buttons of a maximized
// child window.
void ReadTitleButtons(const DefinitionReader& in, std::vector<TDataSkinSysButton>& buttons) {
    std::vector<std::string> kept;
    for (const std::string& section : in.ini_.Sections()) {
        const std::string upper = Upper(section);
        if (StartsWith(upper, "BUTTON") && upper != "BUTTONS" && upper != "BUTTON.RADIO" && upper != "BUTTON.CHECKBOX")
            kept.push_back(upper);
    }
    buttons.clear();
    buttons.reserve(kept.size() + 3);
    for (const std::string& section : kept) {
        TDataSkinSysButton b;
        b.Name = section;
        b.Action = in.Int(section, "Action", 0);
        b.Align = in.Int(section, "Align", 0);
        b.Xcoord = in.Int(section, "Xcoord", 0);
        b.Ycoord = in.Int(section, "Ycoord", 0);
        b.Visibility = in.Int(section, "Visibility", 0);
        b.Visibility1 = in.Int(section, "Visibility1", 0);
        b.CombineOp = in.Int(section, "CombineOp", -1);
        b.FrameCount = in.Int(section, "frame", 0);
        b.Bitmap = in.Image(section, "ButtonImage");
        if (b.FrameCount == 0) {
            // Frames from the image's shape; the icon buttons show the
            // window icon instead of an image.
            b.FrameCount = 6;
            if (!b.Bitmap.Empty())
                b.FrameCount = static_cast<double>(b.Bitmap.width) / b.Bitmap.height <= 3.8 ? 3 : 6;
            if (b.Action < 0) b.FrameCount = 6;
            if (b.Action == 3 || b.Action == 11) b.Bitmap.Clear();
        }
        b.FrameCount = AtLeastOne(b.FrameCount);
        buttons.push_back(std::move(b));
    }

    const SkinBitmap strip = in.Image("MDICONTROLS", "Image");
    const int w = strip.width / 12;
    for (int i = 0; i < 3; i++) {
        TDataSkinSysButton b;
        b.Action = 7 + i;
        b.Align = 100;
        b.Visibility = 100;
        b.Visibility1 = 100;
        b.FrameCount = 4;
        if (!strip.Empty()) {
            b.Bitmap = strip.Crop(4 * w * i, 0, 4 * w, strip.height);
            b.Xcoord = (w + 4) * (3 - i);
        }
        buttons.push_back(std::move(b));
    }
}

void ReadButtons(const DefinitionReader& in, TDataSkinButton& b, SkinColour button_text) {
    const std::string s = "Buttons";
    b = TDataSkinButton();
    b.Name = "Buttons";
    b.LeftWidth = in.Int(s, "LeftWidth", 0);
    b.RightWidth = in.Int(s, "RightWidth", 0);
    b.TopHeight = in.Int(s, "TopHeight", 0);
    b.BottomHeight = in.Int(s, "BottomHeight", 0);
    b.Trans = in.Int(s, "Trans", 0);
    b.Tile = in.Int(s, "Tile", 0);
    b.Bitmap = in.Image(s, "Bitmap");
    b.CheckBitmap = in.Image(s, "CheckButton");
    b.RadioBitmap = in.Image(s, "RadioButton");
    b.NormalColour = in.Int(s, "NormalColour", -1);
    b.MouseOverColour = in.Int(s, "MouseOverColour", -1);
    b.PressedColour = in.Int(s, "PressedColour", -1);
    b.RadioButtonFrame = in.Int(s, "RadioButtonFrame", 0);
    b.CheckButtonFrame = in.Int(s, "CheckButtonFrame", 0);
    b.NormalColour2 = in.Rgb(s, "NormalColour2", button_text);
    b.MouseOverColour2 = in.Rgb(s, "MouseOverColour2", button_text);
    b.PressedColour2 = in.Rgb(s, "PressedColour2", button_text);
}

// A colour from three [Personality] integers, or `fallback` unless all
// three are given and not negative.
SkinColour ReadTitleColour(const DefinitionReader& in, const std::string& prefix, SkinColour fallback) {
    const int32_t r = in.Int("Personality", prefix + "R", -1);
    const int32_t g = in.Int("Personality", prefix + "G", -1);
    const int32_t b = in.Int("Personality", prefix + "B", -1);
    if (r < 0 || g < 0 || b < 0) return fallback;
    return (r % 256) + (g % 256) * 256 + (b % 256) * 65536;
}

void ReadTitle(const DefinitionReader& in, TDataSkinTitle& t) {
    const std::string s = "Personality";
    t = TDataSkinTitle();
    t.Name = "Title";
    t.Bitmap = in.Image(s, "TextBack");
    t.LeftWidth = in.Int(s, "TextShift", 0);
    t.TopHeight = in.Int(s, "TextShiftVert", 0);
    t.RightWidth = in.Int(s, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = in.Int(s, "TextAlignment", 0);
    t.Textbackground = in.Int(s, "Textbackground", 0);
    t.TXTBackleft = in.Int(s, "TXTBackleft", 0);
    t.TXTBackRight = in.Int(s, "TXTBackRight", 0);
    t.FontHeight = in.Int("Fonts", "FontHeight", 14);
    t.ActiveText = ReadTitleColour(in, "ActiveText", kTitleColourNotSet);
    t.InActiveText = ReadTitleColour(in, "InActiveText", kTitleColourNotSet);
}

std::unique_ptr<TDataSkinBorder> ReadProgress(const DefinitionReader& in) {
    const std::string s = "Progress";
    if (!in.NamesImage(s, "Bitmap")) return nullptr;
    auto p = std::make_unique<TDataSkinBorder>();
    p->Name = s;
    p->Bitmap = in.Image(s, "Bitmap");
    p->Bitmap2 = in.Image(s, "Chunk");
    p->Style = in.Int(s, "Style", 0);
    p->LeftWidth = in.Int(s, "LeftWidth", 0);
    p->RightWidth = in.Int(s, "RightWidth", 0);
    p->TopHeight = in.Int(s, "TopHeight", 0);
    p->BottomHeight = in.Int(s, "BottomHeight", 0);
    p->Trans = in.Int(s, "Trans", 0);
    p->Tile = in.Int(s, "Tile", 0);
    return p;
}

std::unique_ptr<TDataSkinObject> ReadMenuBar(const DefinitionReader& in) {
    const std::string s = "Personality";
    if (!in.NamesImage(s, "menuBar")) return nullptr;
    auto m = std::make_unique<TDataSkinObject>();
    m->Name = "MenuBar";
    m->Bitmap = in.Image(s, "menuBar");
    m->TopHeight = 0;
    m->BottomHeight = 0;
    m->Tile = in.Int(s, "TileMenu", 0);
    m->LeftWidth = in.Int(s, "TileLeftMenu", 1);
    m->RightWidth = in.Int(s, "TileRightMenu", 1);
    return m;
}

// The glyph count of a check or radio strip that does not state it.
int32_t GlyphFrames(const SkinBitmap& strip) {
    const int glyph = strip.height < 16 ? 13 : 16;
    return std::max(strip.width / glyph, 4);
}

void SetFrames(TDataSkinObject* element, int32_t frames) {
    if (element) element->FrameCount = frames;
}

}  // namespace

SkinColour ParseRgbText(const std::string& raw, SkinColour fallback) {
    size_t begin = 0, end = raw.size();
    while (begin < end && IsBlankOrControl(raw[begin])) begin++;
    while (end > begin && IsBlankOrControl(raw[end - 1])) end--;
    if (begin == end) return fallback;

    // Digits build a number; any other character stores it as the next
    // component. A number still open at the end counts only as the third.
    // Numbers after the third are ignored.
    uint32_t parts[3] = {0, 0, 0};
    int stored = 0;
    bool building = false;
    uint32_t number = 0;
    for (size_t i = begin; i < end; i++) {
        const char c = raw[i];
        if (c >= '0' && c <= '9') {
            number = (number * 10 + (c - '0')) % 256;
            building = true;
        } else if (building) {
            if (stored < 3) parts[stored++] = number;
            building = false;
            number = 0;
        }
    }
    if (building && stored == 2) parts[stored++] = number;
    return static_cast<SkinColour>(parts[0] + parts[1] * 256 + parts[2] * 65536);
}

void TSkinData::ReadDefinition(const SkinIniText& ini, const TSkinReader& package) {
    const DefinitionReader in(ini, package);
    SkinName = in.Text("TitlebarSkin", "SkinName");
    ReadBorders(in, Borders);
    ReadColours(in, Colours, ExtraColours);
    ReadTitleButtons(in, TitleButtons);
    const SkinColour button_text = Colours.ButtonText;
    ReadButtons(in, Buttons, button_text);
    ReadTitle(in, Title);
    Progress = ReadProgress(in);
    MenuBar = ReadMenuBar(in);

    GroupBoxEdge = in.Plain("GroupBoxEdge", button_text);
    Toolbars = in.Plain("Toolbars", button_text);
    Tabs = in.Bordered("Tabs", "Border", button_text);
    StatusBarEdges = in.Plain("StatusBarEdges", button_text);
    ComboButton = in.Plain("ComboButton", button_text);
    SunkEdge = in.Plain("SunkEdge", button_text);
    ExtraImages = in.Plain("ExtraImages", button_text);
    Headerbar = in.Plain("Headerbar", button_text);
    MenuItem = in.Plain("MenuItem", button_text);
    MenuBackground = in.Plain("MenuBackground", button_text);
    Scrollbar = in.Plain("Scrollbar", button_text);
    HorzScroll = in.Plain("HorzScroll", button_text);
    VertScroll = in.Plain("VertScroll", button_text);
    HorzScrollThumb = in.Plain("HorzScrollThumb", button_text);
    VertScrollThumb = in.Plain("VertScrollThumb", button_text);
    UpDownHorz = in.Bordered("UpDown.Horz", "GlyphImage", button_text);
    UpDownVert = in.Bordered("UpDown.Vert", "GlyphImage", button_text);

    Buttons.FrameCount = 5;
    Title.FrameCount = 2;
    SetFrames(Progress.get(), 2);
    SetFrames(MenuBar.get(), 2);
    SetFrames(GroupBoxEdge.get(), 2);
    SetFrames(Toolbars.get(), 5);
    SetFrames(Tabs.get(), 5);
    SetFrames(StatusBarEdges.get(), 3);
    SetFrames(ComboButton.get(), 4);
    SetFrames(SunkEdge.get(), 4);
    SetFrames(ExtraImages.get(), 5);
    SetFrames(Headerbar.get(), 5);
    SetFrames(MenuItem.get(), 5);
    SetFrames(MenuBackground.get(), 1);
    SetFrames(Scrollbar.get(), 23);
    SetFrames(HorzScroll.get(), 4);
    SetFrames(VertScroll.get(), 4);
    SetFrames(UpDownHorz.get(), 8);
    SetFrames(UpDownVert.get(), 8);
    SetFrames(HorzScrollThumb.get(), AtLeastOne(in.Int("HorzScrollThumb", "FrameCount", 3)));
    SetFrames(VertScrollThumb.get(), AtLeastOne(in.Int("VertScrollThumb", "FrameCount", 3)));
    if (Buttons.RadioButtonFrame == 0) Buttons.RadioButtonFrame = GlyphFrames(Buttons.RadioBitmap);
    if (Buttons.CheckButtonFrame == 0) Buttons.CheckButtonFrame = GlyphFrames(Buttons.CheckBitmap);
    Buttons.RadioButtonFrame = AtLeastOne(Buttons.RadioButtonFrame);
    Buttons.CheckButtonFrame = AtLeastOne(Buttons.CheckButtonFrame);

    empty_ = false;
    if (OnDefinitionRead) OnDefinitionRead(*this);
}
