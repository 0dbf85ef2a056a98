#include "skin/control_paint.h"
#include "skin/skin_controls_win.h"
#include "skin/skin_gdi_win.h"
#include "skin/win_skin_form_win.h"

namespace {

constexpr int kGlyphSize = 16;
constexpr int kGlyphSpacing = 4;

HFONT FontOf(HWND control) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

COLORREF CaptionColour(const TSkinData& skin, int frame, bool enabled) {
    if (!enabled) return GetSysColor(COLOR_BTNSHADOW);
    const TDataSkinButton& b = skin.Buttons;
    const SkinColour pick = frame == 4 ? b.MouseOverColour2 : frame == 2 ? b.PressedColour2 : b.NormalColour2;
    return SkinColorRef(pick, SkinColorRef(skin.Colours.ButtonText, GetSysColor(COLOR_BTNTEXT)));
}

}  // namespace

SkinBitmap FaceBitmap(const TSkinData& skin, int w, int h) {
    SkinBitmap face;
    if (w > 0 && h > 0) face.Resize(w, h, SkinPixel(skin.Colours.ButtonFace));
    return face;
}

// --- TSkinBitButton -----------------------------------------------------------

void TSkinBitButton::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    TSkinControl::AfterMessage(message, wparam, lparam);
    if (message == WM_MOUSEMOVE && BecomeHot()) Repaint();
}

int TSkinBitButton::FaceFrame(bool pressed) const { return ButtonFaceFrame(pressed, Focused, Hot, Enabled); }

bool TSkinBitButton::DrawItem(const DRAWITEMSTRUCT& item) {
    if (skin_->Buttons.Bitmap.Empty()) return false;
    Focused = (item.itemState & ODS_FOCUS) != 0;
    Enabled = (item.itemState & ODS_DISABLED) == 0;
    PaintFace(item, FaceFrame((item.itemState & ODS_SELECTED) != 0), true);
    return true;
}

void TSkinBitButton::PaintFace(const DRAWITEMSTRUCT& item, int frame, bool caption_shown) {
    const int w = item.rcItem.right - item.rcItem.left, h = item.rcItem.bottom - item.rcItem.top;
    SkinBitmap face = FaceBitmap(*skin_, w, h);
    if (face.Empty()) return;
    const TDataSkinButton& element = skin_->Buttons;
    if (frame != 0) DrawElement(face, element, frame, ElementFrames(element, 5), {0, 0, w, h});
    Text = [&] {
        const int length = GetWindowTextLengthW(control_);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(control_, text.data(), length + 1)));
        return text;
    }();
    const std::wstring text = caption_shown ? Text : std::wstring();
    const bool enabled = Enabled;
    const COLORREF colour = CaptionColour(*skin_, frame, enabled);
    HFONT font = FontOf(control_);
    DrawWithGdi(face, [&](HDC mem) {
        HGDIOBJ old = SelectObject(mem, font);
        SIZE size{};
        if (!text.empty()) GetTextExtentPoint32W(mem, text.c_str(), static_cast<int>(text.size()), &size);
        const int g = Glyph ? kGlyphSize : 0;
        GlyphLayout layout = PlaceGlyphAndCaption(w, h, g, g, size.cx, size.cy, kGlyphSpacing);
        const int shift = frame == 2 ? 1 : 0;
        if (Glyph) {
            RECT r{layout.glyph.left + shift, layout.glyph.top + shift, layout.glyph.right + shift,
                   layout.glyph.bottom + shift};
            Glyph(mem, r, enabled);
        }
        if (!text.empty()) {
            SetBkMode(mem, TRANSPARENT);
            SetTextColor(mem, colour);
            RECT r{layout.caption.left + shift, 0 + shift, layout.caption.right + shift + 1, h + shift};
            DrawTextW(mem, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        SelectObject(mem, old);
    });
    BlitSkinBitmap(item.hDC, item.rcItem.left, item.rcItem.top, face);
}

// --- TSkinSpeedButton ---------------------------------------------------------

int TSkinSpeedButton::FaceFrame(bool pressed) const { return SpeedButtonFaceFrame(pressed, Down, Hot, Enabled); }

bool TSkinSpeedButton::DrawItem(const DRAWITEMSTRUCT& item) {
    if (skin_->Buttons.Bitmap.Empty()) return false;
    Enabled = (item.itemState & ODS_DISABLED) == 0;
    // A flat button with a picture shows the picture in place of its caption.
    PaintFace(item, FaceFrame((item.itemState & ODS_SELECTED) != 0), !Glyph);
    return true;
}

// --- TSkinCheckBox and TSkinRadioButton ----------------------------------------

int TSkinCheckBox::GlyphFrames() const {
    return skin_->Buttons.CheckButtonFrame > 0 ? skin_->Buttons.CheckButtonFrame : 4;
}

int TSkinRadioButton::GlyphFrames() const {
    return skin_->Buttons.RadioButtonFrame > 0 ? skin_->Buttons.RadioButtonFrame : 4;
}

void TSkinCheckBox::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    TSkinControl::AfterMessage(message, wparam, lparam);
    switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_CLICK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYUP:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED:
        PaintOver(nullptr);
        break;
    case WM_MOUSEMOVE:
        BecomeHot();
        break;
    default:
        break;
    }
}

void TSkinCheckBox::Draw(HDC dc, const RECT& rect) {
    const SkinBitmap& image = GlyphImage();
    const int frames = GlyphFrames();
    if (image.Empty() || frames <= 0) return;
    const int gw = image.width / frames, gh = image.height;
    const bool text_left = (GetWindowLongPtrW(control_, GWL_STYLE) & BS_LEFTTEXT) != 0;
    RECT client;
    GetClientRect(control_, &client);
    const SkinRect place = CheckGlyphPlace(client.right, client.bottom, gw, gh, text_left);
    SkinBitmap box = FaceBitmap(*skin_, gw, gh);
    if (box.Empty()) return;
    const bool checked = SendMessageW(control_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    DrawImageFrame(box, image, GlyphFrame(checked, Enabled), frames, {0, 0, gw, gh}, true);
    BlitSkinBitmap(dc, rect.left + place.left, rect.top + place.top, box);
}

// --- TSkinBox -----------------------------------------------------------------

void TSkinBox::Attach(HWND control) {
    AttachHandle(control);
    SendMessageW(control, kSkinSetColour, SkinColorRef(skin_->Colours.ButtonFace, GetSysColor(COLOR_BTNFACE)), 1);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

TSkinBox::~TSkinBox() {
    HWND control = Handle();
    if (control && IsWindow(control)) {
        SendMessageW(control, kSkinSetColour, 0, 0);
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}
