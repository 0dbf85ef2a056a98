#include "app/main_controls.h"

#include <algorithm>

namespace {

using K = ControlKind;

ControlRecord Control(const wchar_t* name, ControlKind kind, const wchar_t* parent,
                      int left, int top, int width, int height,
                      const wchar_t* text = L"", const wchar_t* hint = L"", unsigned flags = 0) {
    ControlRecord c{name, kind, parent, left, top, width, height, text, hint, flags};
    if (kind == K::Edit || kind == K::Memo || kind == K::ListBox) c.color = kColorWindow;
    return c;
}

ControlRecord With(ControlRecord c, ControlAlign align) {
    c.align = align;
    return c;
}

ControlRecord Colored(ControlRecord c, uint32_t color) {
    c.color = color;
    return c;
}

ControlRecord Glyph(ControlRecord c, ControlGlyph glyph) {
    c.glyph = glyph;
    return c;
}

ControlRecord Cursor(ControlRecord c, ControlCursor cursor) {
    c.cursor = cursor;
    return c;
}

ControlRecord Range(ControlRecord c, int max) {
    c.rangeMax = max;
    return c;
}

ControlRecord Label(const wchar_t* name, int left, int top, uint32_t fontColor) {
    ControlRecord c = Control(name, K::Label, L"Panel5", left, top, 409, 17, L"播放文件信息", L"",
                              kLabelFont | kTransparent);
    c.fontColor = fontColor;
    return c;
}

std::vector<ControlRecord> MakeMainWindowControls() {
    const wchar_t* volumeHint = L"总音量";
    return {
        Control(L"flash", K::Flash, L"", 0, 0, 547, 399),
        With(Control(L"Panel1", K::Panel, L"", 0, 399, 547, 120, L"", L"", kBevel), ControlAlign::Bottom),
        With(Control(L"Panel5", K::Panel, L"Panel1", 1, 1, 544, 118), ControlAlign::Left),
        Glyph(Control(L"Image1", K::Image, L"Panel5", 167, 25, 370, 94), ControlGlyph::Gradient),
        Control(L"Shape1", K::Shape, L"Panel5", 171, 29, 359, 86),
        Label(L"PlayFileinfo", 127, 8, kColorAqua),
        Label(L"PlayFileinfo1", 128, 9, kColorBlue),
        Glyph(Control(L"BitBtn1", K::BitBtn, L"Panel5", 1, 2, 120, 29, L"开始", L"单击这里开始。"),
              ControlGlyph::Start),
        Control(L"ListBox1", K::ListBox, L"Panel5", 0, 30, 157, 89, L"", L"文件列表,单击可以播放选中的文件"),
        Control(L"Panel2", K::Panel, L"Panel5", 179, 35, 256, 37),
        Glyph(Control(L"SpeedButton1", K::SpeedButton, L"Panel2", 2, 4, 36, 30, L"||<", L"最前"),
              ControlGlyph::First),
        Glyph(Control(L"SpeedButton2", K::SpeedButton, L"Panel2", 43, 4, 36, 30, L"<<", L"向前"),
              ControlGlyph::Back),
        Glyph(Control(L"SpeedButton3", K::SpeedButton, L"Panel2", 84, 4, 36, 30, L">>", L"向后"),
              ControlGlyph::Forward),
        Glyph(Control(L"SpeedButton4", K::SpeedButton, L"Panel2", 125, 4, 36, 30, L">||", L"最后"),
              ControlGlyph::Last),
        Glyph(Control(L"SpeedButton5", K::SpeedButton, L"Panel2", 167, 4, 36, 30, L"", L"播放"),
              ControlGlyph::Play),
        Glyph(Control(L"SpeedButton6", K::SpeedButton, L"Panel2", 208, 4, 36, 30, L"", L"暂停"),
              ControlGlyph::Pause),
        Control(L"SpeedButton9", K::SpeedButton, L"Panel2", 174, -12, 36, 30, L"音+", L"音量加", kHidden),
        Control(L"SpeedButton10", K::SpeedButton, L"Panel2", 208, -12, 36, 30, L"音-", L"音量减", kHidden),
        Control(L"CheckBox1", K::CheckBox, L"Panel5", 178, 72, 75, 17, L"连续播放", L"选中才可以连续播放"),
        Control(L"RadioButton1", K::RadioButton, L"Panel5", 251, 72, 47, 17, L"顺序", L"",
                kChecked | kDisabled),
        Control(L"RadioButton2", K::RadioButton, L"Panel5", 300, 72, 62, 17, L"随机", L"", kDisabled),
        Control(L"CheckBox2", K::CheckBox, L"Panel5", 360, 72, 74, 17, L"单曲循环",
                L"选中了则只循环播放当前文件", kHintHidden),
        Control(L"CheckBox3", K::CheckBox, L"Panel5", 438, 71, 68, 17, L"跳过Play",
                L"如果选择中则会自动跳过有些文件的“Play”"),
        Cursor(Range(Control(L"ProgressBar1", K::ProgressBar, L"Panel5", 180, 92, 340, 18, L"",
                             L"单击可改变播放进度度"), 1000),
               ControlCursor::HorizontalSplit),
        Cursor(Control(L"Panel7", K::Panel, L"Panel5", 432, 43, 81, 25, L"", L"", kBevel), ControlCursor::Hand),
        Colored(Control(L"Panel8", K::Panel, L"Panel7", 1, 1, 77, 20, L"", volumeHint), kColorSkyBlue),
        With(Colored(Control(L"Panel9", K::Panel, L"Panel8", 0, 0, 77, 20, L"", volumeHint), kColorNavy),
             ControlAlign::Client),
        With(Glyph(Control(L"VolImg", K::Image, L"Panel9", 0, 0, 77, 20, L"", volumeHint, kTransparent),
                   ControlGlyph::VolumeGradient), ControlAlign::Client),
        Cursor(Colored(Control(L"VolLbl", K::Panel, L"Panel5", 472, 40, 38, 30, L"", volumeHint), kColorDesktop),
               ControlCursor::Hand),
        Control(L"byl", K::SpeedButton, L"Panel5", 440, -3, 57, 17, L"改变音量", L"", kHidden),
        Control(L"Edit1", K::Edit, L"Panel5", 383, 6, 54, 21, L"0", L"", kHidden),
        With(Control(L"Panel6", K::Panel, L"Panel1", 545, 1, 1, 118), ControlAlign::Client),
        With(Colored(Control(L"Memo3", K::Memo, L"Panel6", 0, 0, 1, 118, L"", L"",
                             kReadOnly | kNoBorder | kWantTabs | kVerticalScroll), kColorGradientActiveCaption),
             ControlAlign::Client),
        Control(L"Panel3", K::Panel, L"", 128, 48, 761, 281, L"", L"", kHidden | kBevel),
        Control(L"Memo1", K::Memo, L"Panel3", 8, 8, 360, 265),
        Control(L"Memo2", K::Memo, L"Panel3", 392, 8, 360, 265),
        Control(L"Panel4", K::Panel, L"", 0, 144, 540, 65, L"", L"", kHidden | kBevel),
        Control(L"zzcz", K::Label, L"Panel4", 16, 14, 120, 13, L"正在查找"),
        With(Range(Control(L"ProgressBar2", K::ProgressBar, L"Panel4", 1, 48, 538, 16), 100),
             ControlAlign::Bottom),
    };
}

}  // namespace

const std::vector<ControlRecord>& MainWindowControls() {
    static const std::vector<ControlRecord> controls = MakeMainWindowControls();
    return controls;
}

int FindControl(const std::vector<ControlRecord>& controls, const std::wstring& name) {
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].name == name) return static_cast<int>(i);
    return -1;
}

void AlignChildren(const LayoutRect& area, std::vector<AlignedChild>& children) {
    int left = area.left, top = area.top;
    int right = area.left + std::max(0, area.width);
    int bottom = area.top + std::max(0, area.height);
    // Bottom strips first, then left strips, then the client child takes the rest.
    for (ControlAlign pass : {ControlAlign::Bottom, ControlAlign::Left, ControlAlign::Client}) {
        for (AlignedChild& child : children) {
            if (!child.visible || child.align != pass) continue;
            LayoutRect& r = child.rect;
            if (pass == ControlAlign::Bottom) {
                r.left = left;
                r.width = std::max(0, right - left);
                r.top = std::max(top, bottom - r.height);
                r.height = bottom - r.top;
                bottom = r.top;
            } else if (pass == ControlAlign::Left) {
                r.left = left;
                r.top = top;
                r.height = bottom - top;
                r.width = std::min(r.width, right - left);
                left += r.width;
            } else {
                r = {left, top, right - left, bottom - top};
            }
        }
    }
}
