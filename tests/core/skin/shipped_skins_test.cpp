// The skins the build makes (assets/skins/*.fac in the build folder, the
// folder ctest runs the tests in) load completely.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/skin_data.h"
#include "skin/skin_reader.h"

namespace fs = std::filesystem;

namespace {

fs::path SkinsFolder() {
    if (const char* dir = std::getenv("CORVELLA_SKINS_DIR")) return dir;
    return fs::current_path() / "assets" / "skins";
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HasKeyColour(const SkinBitmap& b) {
    for (uint32_t p : b.pixels)
        if (p == kSkinKeyColour) return true;
    return false;
}

// An element with an image whose frames (side by side, or stacked) divide it evenly.
void ExpectFrames(const TDataSkinObject* e, const char* what, bool stacked = false) {
    ASSERT_NE(e, nullptr) << what;
    ASSERT_FALSE(e->Bitmap.Empty()) << what;
    ASSERT_GE(e->FrameCount, 1) << what;
    const int length = stacked ? e->Bitmap.height : e->Bitmap.width;
    EXPECT_EQ(length % e->FrameCount, 0) << what << ": " << length << " pixels, " << e->FrameCount << " frames";
}

class ShippedSkin : public testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(ShippedSkin, LoadsIntoTheModelFully) {
    const fs::path path = SkinsFolder() / (std::string(GetParam()) + ".fac");
    ASSERT_TRUE(fs::exists(path)) << path << " is missing: build the corvella_skins target first";
    TSkinData d;
    d.SetPackage(ReadFile(path));
    ASSERT_TRUE(d.LoadPackage()) << d.LastMessage();
    EXPECT_FALSE(d.SkinName.empty());

    // Borders: sides side by side, top and bottom stacked; shaped corners.
    ExpectFrames(&d.Borders[kBorderLeft], "Left");
    ExpectFrames(&d.Borders[kBorderRight], "Right");
    ExpectFrames(&d.Borders[kBorderTop], "Top", true);
    ExpectFrames(&d.Borders[kBorderBottom], "Bottom", true);
    EXPECT_EQ(d.Borders[kBorderTop].Bitmap.height / d.Borders[kBorderTop].FrameCount,
              d.Borders[kBorderLeft].TopHeight);
    EXPECT_TRUE(HasKeyColour(d.Borders[kBorderLeft].Bitmap));
    EXPECT_TRUE(HasKeyColour(d.Borders[kBorderRight].Bitmap));
    EXPECT_EQ(d.Borders[kBorderLeft].Trans, 1);

    // Title buttons: close, maximize, restore, minimize twice (beside
    // maximize, or next to close without a maximize box), the system menu
    // (icon, no image) and the three child-window buttons. The caption
    // buttons have an inactive frame.
    bool actions[4] = {};
    int with_image = 0, minimize_visibility = 0;
    for (const TDataSkinSysButton& b : d.TitleButtons) {
        if (b.Action >= 0 && b.Action < 4) actions[b.Action] = true;
        if (b.Action == 2) minimize_visibility |= 1 << b.Visibility;
        if (b.Action >= 0 && b.Action <= 2) EXPECT_EQ(b.FrameCount, 4) << b.Name;
        if (!b.Bitmap.Empty()) {
            with_image++;
            EXPECT_EQ(b.Bitmap.width % b.FrameCount, 0) << b.Name;
            if (b.Visibility != 100) {
                EXPECT_TRUE(HasKeyColour(b.Bitmap)) << b.Name;
            }
        }
    }
    EXPECT_TRUE(actions[0] && actions[1] && actions[2] && actions[3]);
    EXPECT_EQ(minimize_visibility, (1 << 6) | (1 << 7));
    EXPECT_EQ(d.TitleButtons.size(), 9u);
    EXPECT_EQ(with_image, 8);

    ExpectFrames(&d.Buttons, "Buttons");
    EXPECT_FALSE(d.Buttons.CheckBitmap.Empty());
    EXPECT_FALSE(d.Buttons.RadioBitmap.Empty());
    EXPECT_EQ(d.Buttons.CheckBitmap.width % d.Buttons.CheckButtonFrame, 0);
    EXPECT_EQ(d.Buttons.RadioBitmap.width % d.Buttons.RadioButtonFrame, 0);
    EXPECT_GE(d.Buttons.RadioButtonFrame, 4);

    ExpectFrames(d.Progress.get(), "Progress");
    EXPECT_FALSE(d.Progress->Bitmap2.Empty());
    ExpectFrames(d.MenuBar.get(), "MenuBar", true);
    ExpectFrames(d.GroupBoxEdge.get(), "GroupBoxEdge");
    ExpectFrames(d.Toolbars.get(), "Toolbars");
    ExpectFrames(d.Tabs.get(), "Tabs");
    EXPECT_FALSE(d.Tabs->Bitmap2.Empty());
    ExpectFrames(d.StatusBarEdges.get(), "StatusBarEdges");
    ExpectFrames(d.ComboButton.get(), "ComboButton");
    ExpectFrames(d.SunkEdge.get(), "SunkEdge");
    ExpectFrames(d.ExtraImages.get(), "ExtraImages");
    ExpectFrames(d.Headerbar.get(), "Headerbar");
    ExpectFrames(d.MenuItem.get(), "MenuItem");
    ExpectFrames(d.MenuBackground.get(), "MenuBackground");
    ExpectFrames(d.Scrollbar.get(), "Scrollbar");
    ExpectFrames(d.HorzScroll.get(), "HorzScroll");
    ExpectFrames(d.VertScroll.get(), "VertScroll");
    ExpectFrames(d.HorzScrollThumb.get(), "HorzScrollThumb");
    ExpectFrames(d.VertScrollThumb.get(), "VertScrollThumb");
    ExpectFrames(d.UpDownHorz.get(), "UpDownHorz");
    ExpectFrames(d.UpDownVert.get(), "UpDownVert");
    EXPECT_FALSE(d.UpDownHorz->Bitmap2.Empty());
    EXPECT_FALSE(d.UpDownVert->Bitmap2.Empty());

    // Colours are the skin's own, not the system's.
    EXPECT_GE(d.Colours.ButtonFace, 0);
    EXPECT_GE(d.Colours.TitleTextActive, 0);
    EXPECT_EQ(d.Colours.Menubar, d.Colours.ButtonFace);
    EXPECT_NE(d.Title.ActiveText, kTitleColourNotSet);
}

// Every bitmap a definition names is in the package, and the package
// holds nothing else.
TEST_P(ShippedSkin, PackageHoldsWhatTheDefinitionNames) {
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadPackage(ReadFile(SkinsFolder() / (std::string(GetParam()) + ".fac"))));
    std::vector<uint8_t> ini;
    ASSERT_EQ(reader.ExtractFirstMatching(".ini", ini), "skin.ini");
    const std::string text(ini.begin(), ini.end());
    for (int i = 1; i < reader.Count(); i++)
        EXPECT_NE(text.find("=" + reader.Names()[i]), std::string::npos) << reader.Names()[i] << " is not used";
}

// The control skinners leave the key colour out only where Trans is 1: an
// element whose image holds key-colour pixels without it would show them.
TEST_P(ShippedSkin, ElementsWithKeyColourAreDrawnTransparent) {
    TSkinData d;
    d.SetPackage(ReadFile(SkinsFolder() / (std::string(GetParam()) + ".fac")));
    ASSERT_TRUE(d.LoadPackage()) << d.LastMessage();
    const std::pair<const TDataSkinObject*, const char*> elements[] = {
        {&d.Buttons, "Buttons"}, {d.Progress.get(), "Progress"}, {d.Tabs.get(), "Tabs"},
        {d.Scrollbar.get(), "Scrollbar"}, {d.HorzScroll.get(), "HorzScroll"}, {d.VertScroll.get(), "VertScroll"},
        {d.HorzScrollThumb.get(), "HorzScrollThumb"}, {d.VertScrollThumb.get(), "VertScrollThumb"},
        {d.UpDownHorz.get(), "UpDown.Horz"}, {d.UpDownVert.get(), "UpDown.Vert"}, {d.MenuItem.get(), "MenuItem"},
        {d.Headerbar.get(), "Headerbar"}, {d.StatusBarEdges.get(), "StatusBarEdges"},
        {d.ComboButton.get(), "ComboButton"},
    };
    for (const auto& [e, name] : elements)
        if (e && HasKeyColour(e->Bitmap)) EXPECT_EQ(e->Trans, 1) << name;
    // Up-down glyphs and progress chunks are drawn with the element's Trans.
    for (const TDataSkinBorder* e : {d.UpDownHorz.get(), d.UpDownVert.get(), d.Progress.get()})
        if (e && HasKeyColour(e->Bitmap2)) EXPECT_EQ(e->Trans, 1) << "second image";
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkin, testing::Values("graphite", "harbor", "obsidian"));
