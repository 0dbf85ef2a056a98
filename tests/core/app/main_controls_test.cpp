// The control table of the main window and the alignment of its panels.
#include "app/main_controls.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const ControlRecord& Control(const wchar_t* name) {
    const auto& controls = MainWindowControls();
    int index = FindControl(controls, name);
    EXPECT_GE(index, 0);
    return controls.at(static_cast<size_t>(index));
}

LayoutRect RectOf(const ControlRecord& c) { return {c.left, c.top, c.width, c.height}; }

}  // namespace

TEST(MainControls, EveryParentIsAPanelCreatedBeforeItsChildren) {
    const auto& controls = MainWindowControls();
    std::set<std::wstring> names;
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlRecord& c = controls[i];
        EXPECT_TRUE(names.insert(c.name).second);
        if (c.parent.empty()) continue;
        int parent = FindControl(controls, c.parent);
        ASSERT_GE(parent, 0);
        EXPECT_LT(static_cast<size_t>(parent), i);
        EXPECT_EQ(controls[parent].kind, ControlKind::Panel);
    }
}

TEST(MainControls, AlignedDesignRectanglesAgreeWithTheAlignment) {
    // The form's client area: Panel1 takes the bottom 120 pixels.
    std::vector<AlignedChild> form = {{ControlAlign::Bottom, true, RectOf(Control(L"Panel1"))}};
    AlignChildren({0, 0, kMainClientWidth, kMainClientHeight}, form);
    EXPECT_EQ(form[0].rect, RectOf(Control(L"Panel1")));
    EXPECT_EQ(form[0].rect, (LayoutRect{0, 399, 547, 120}));

    // Inside Panel1's bevel: Panel5 on the left, Panel6 gets the single pixel left over.
    std::vector<AlignedChild> panel1 = {{ControlAlign::Left, true, RectOf(Control(L"Panel5"))},
                                        {ControlAlign::Client, true, RectOf(Control(L"Panel6"))}};
    AlignChildren({1, 1, 545, 118}, panel1);
    EXPECT_EQ(panel1[0].rect, RectOf(Control(L"Panel5")));
    EXPECT_EQ(panel1[1].rect, RectOf(Control(L"Panel6")));
    EXPECT_EQ(panel1[1].rect.width, 1);
}

TEST(MainControls, ClientChildWidensWithTheParent) {
    std::vector<AlignedChild> panel1 = {{ControlAlign::Client, true, {}},
                                        {ControlAlign::Left, true, {0, 0, 544, 10}}};
    AlignChildren({1, 1, 798, 118}, panel1);
    // Strips are placed first whatever their order in the list.
    EXPECT_EQ(panel1[1].rect, (LayoutRect{1, 1, 544, 118}));
    EXPECT_EQ(panel1[0].rect, (LayoutRect{545, 1, 254, 118}));
}

TEST(MainControls, HiddenAndUnalignedChildrenKeepTheirPlace) {
    std::vector<AlignedChild> children = {{ControlAlign::Bottom, false, {5, 6, 7, 8}},
                                          {ControlAlign::None, true, {1, 2, 3, 4}},
                                          {ControlAlign::Client, true, {}}};
    AlignChildren({0, 0, 100, 50}, children);
    EXPECT_EQ(children[0].rect, (LayoutRect{5, 6, 7, 8}));
    EXPECT_EQ(children[1].rect, (LayoutRect{1, 2, 3, 4}));
    EXPECT_EQ(children[2].rect, (LayoutRect{0, 0, 100, 50}));
}

TEST(MainControls, StripsNeverReachOutsideATooSmallParent) {
    std::vector<AlignedChild> children = {{ControlAlign::Bottom, true, {0, 0, 0, 80}},
                                          {ControlAlign::Left, true, {0, 0, 90, 0}},
                                          {ControlAlign::Client, true, {}}};
    AlignChildren({0, 0, 60, 50}, children);
    EXPECT_EQ(children[0].rect, (LayoutRect{0, 0, 60, 50}));
    EXPECT_EQ(children[1].rect, (LayoutRect{0, 0, 60, 0}));
    EXPECT_EQ(children[2].rect, (LayoutRect{60, 0, 0, 0}));

    std::vector<AlignedChild> client = {{ControlAlign::Client, true, {}}};
    AlignChildren({1, 1, -2, -2}, client);   // a panel narrower than its bevel
    EXPECT_EQ(client[0].rect, (LayoutRect{1, 1, 0, 0}));
}

TEST(MainControls, HiddenDisabledAndCheckedAtDesign) {
    std::set<std::wstring> hidden, disabled, checked;
    for (const ControlRecord& c : MainWindowControls()) {
        if (c.Has(kHidden)) hidden.insert(c.name);
        if (c.Has(kDisabled)) disabled.insert(c.name);
        if (c.Has(kChecked)) checked.insert(c.name);
    }
    EXPECT_EQ(hidden, (std::set<std::wstring>{L"SpeedButton9", L"SpeedButton10", L"byl", L"Edit1", L"Panel3",
                                              L"Panel4"}));
    EXPECT_EQ(disabled, (std::set<std::wstring>{L"RadioButton1", L"RadioButton2"}));
    EXPECT_EQ(checked, (std::set<std::wstring>{L"RadioButton1"}));
}

TEST(MainControls, ShadowedLabelPairLiesOnePixelApart) {
    const ControlRecord& front = Control(L"PlayFileinfo1");
    const ControlRecord& shadow = Control(L"PlayFileinfo");
    EXPECT_EQ(front.left - shadow.left, 1);
    EXPECT_EQ(front.top - shadow.top, 1);
    EXPECT_EQ(front.text, shadow.text);
    EXPECT_EQ(shadow.fontColor, kColorAqua);
    EXPECT_EQ(front.fontColor, kColorBlue);
    EXPECT_TRUE(front.Has(kLabelFont));
    // Drawn after the background picture, so the text lies on top of it.
    const auto& controls = MainWindowControls();
    EXPECT_LT(FindControl(controls, L"Image1"), FindControl(controls, L"PlayFileinfo"));
    EXPECT_LT(FindControl(controls, L"Image1"), FindControl(controls, L"Shape1"));
    EXPECT_LT(FindControl(controls, L"Panel7"), FindControl(controls, L"VolLbl"));
}

TEST(MainControls, ColoursUseThePlatformLayout) {
    EXPECT_EQ(kColorSkyBlue, 0xF0CAA6u);
    EXPECT_EQ(kColorAqua, 0xFFFF00u);
    EXPECT_EQ(kColorBlue, 0xFF0000u);
    EXPECT_EQ(kColorNavy, 0x800000u);
}
