#include "app/caption_table.h"

#include "app/main_controls.h"
#include "app/main_menus.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const CaptionRow& Row(const std::wstring& name) {
    for (const CaptionRow& row : CaptionTable())
        if (name == row.name) return row;
    static const CaptionRow none{L"", CaptionProperty::Caption, L"", L""};
    ADD_FAILURE() << "no row";
    return none;
}

std::wstring DesignCaption(const std::wstring& name) {
    if (int i = FindMenuItem(PopupMenu1Items(), name); i >= 0) return PopupMenu1Items()[i].caption;
    if (int i = FindMenuItem(PopupMenu2Items(), name); i >= 0) return PopupMenu2Items()[i].caption;
    return MainWindowControls()[FindControl(MainWindowControls(), name)].text;
}

}  // namespace

TEST(CaptionTable, EveryRowNamesOneMenuItemOrControlOnce) {
    std::set<std::wstring> names;
    for (const CaptionRow& row : CaptionTable()) {
        EXPECT_TRUE(names.insert(row.name).second) << "twice";
        bool item = FindMenuItem(PopupMenu1Items(), row.name) >= 0 || FindMenuItem(PopupMenu2Items(), row.name) >= 0;
        bool control = FindControl(MainWindowControls(), row.name) >= 0;
        EXPECT_TRUE(item != control) << row.name;
        if (row.property == CaptionProperty::Hint) {
            EXPECT_TRUE(control);
        }
    }
    EXPECT_EQ(CaptionTable().size(), 64u);
}

TEST(CaptionTable, TransportHintsStayChinese) {
    std::set<std::wstring> hinted;
    for (const CaptionRow& row : CaptionTable()) {
        if (row.property != CaptionProperty::Hint) continue;
        hinted.insert(row.name);
        EXPECT_EQ(std::wstring(row.chinese), std::wstring(row.english));
    }
    EXPECT_EQ(hinted, (std::set<std::wstring>{L"SpeedButton1", L"SpeedButton2", L"SpeedButton3", L"SpeedButton4",
                                              L"SpeedButton5", L"SpeedButton6"}));
    // The fast buttons' design hints are replaced by the menu's words.
    EXPECT_EQ(std::wstring(Row(L"SpeedButton2").chinese), L"快退");
    EXPECT_EQ(std::wstring(Row(L"SpeedButton3").chinese), L"快进");
}

TEST(CaptionTable, FiveEnglishCaptionsEndInABlank) {
    std::set<std::wstring> blank;
    for (const CaptionRow& row : CaptionTable()) {
        std::wstring english = row.english;
        if (!english.empty() && english.back() == L' ') blank.insert(row.name);
        std::wstring chinese = row.chinese;
        EXPECT_TRUE(chinese.empty() || chinese.back() != L' ');
    }
    EXPECT_EQ(blank, (std::set<std::wstring>{L"N56", L"N59", L"N9", L"N10", L"N11"}));
    EXPECT_EQ(std::wstring(Row(L"N56").english), L"Track ");
}

TEST(CaptionTable, ChineseTextsDifferFromTheDesignWhereTheyShould) {
    EXPECT_EQ(DesignCaption(L"N55"), L"打开文件...");
    EXPECT_EQ(std::wstring(Row(L"N55").chinese), L"打开文件");
    EXPECT_EQ(DesignCaption(L"N3"), L"窗口");
    EXPECT_EQ(std::wstring(Row(L"N3").chinese), L"窗口(有控制面板)");
    EXPECT_EQ(DesignCaption(L"N34"), L"中文");
    EXPECT_EQ(std::wstring(Row(L"N34").chinese), L"简体中文");
    // Controls whose design caption the Chinese column repeats.
    for (const wchar_t* same : {L"BitBtn1", L"CheckBox1", L"CheckBox3", L"RadioButton1", L"N5", L"N28"})
        EXPECT_EQ(DesignCaption(same), std::wstring(Row(same).chinese)) << same;
}

TEST(CaptionTable, OnlyTheTwoCodesWriteText) {
    const CaptionRow& row = Row(L"N28");
    EXPECT_EQ(std::wstring(CaptionFor(row, kLanguageChinese)), L"退出");
    EXPECT_EQ(std::wstring(CaptionFor(row, kLanguageEnglish)), L"Quit");
    for (int code : {0, 3, -1}) EXPECT_EQ(CaptionFor(row, code), nullptr);
}
