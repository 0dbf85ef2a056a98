// The two popup menus as data: order, submenus, shortcuts and radio groups.
#include "app/main_menus.h"

#include "app/shortcut.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::vector<std::wstring> Names(const std::vector<MenuItemRecord>& items, const std::vector<int>& indices) {
    std::vector<std::wstring> names;
    for (int i : indices) names.push_back(items[i].IsSeparator() ? L"-" : items[i].name);
    return names;
}

std::vector<std::wstring> Submenu(const std::wstring& parent) {
    const auto& items = PopupMenu1Items();
    return Names(items, MenuChildren(items, FindMenuItem(items, parent)));
}

}  // namespace

TEST(MainMenus, TopLevelOfPopupMenu1InMenuOrder) {
    const auto& items = PopupMenu1Items();
    std::vector<std::wstring> expected = {L"N55", L"N32", L"-",   L"N38", L"-",  L"N6",  L"N2",  L"-",
                                          L"N30", L"N7",  L"N8",  L"-",   L"N50", L"N56", L"N49", L"-",
                                          L"N18", L"N1",  L"-",   L"N36", L"N27", L"N26", L"-",   L"N28"};
    EXPECT_EQ(Names(items, MenuChildren(items, -1)), expected);
}

TEST(MainMenus, SubmenusHoldTheirItems) {
    EXPECT_EQ(Submenu(L"N38"), (std::vector<std::wstring>{L"IE1", L"N39", L"-", L"N41"}));
    EXPECT_EQ(Submenu(L"N6"), (std::vector<std::wstring>{L"N16", L"N17", L"-", L"N12", L"N13", L"N14", L"N15",
                                                        L"-", L"N20", L"N19"}));
    EXPECT_EQ(Submenu(L"N2"), (std::vector<std::wstring>{L"N5", L"N3", L"N4"}));
    EXPECT_EQ(Submenu(L"N30"), (std::vector<std::wstring>{L"N34", L"N31"}));
    EXPECT_EQ(Submenu(L"N7"), (std::vector<std::wstring>{L"N9", L"N10", L"N11"}));
    EXPECT_EQ(Submenu(L"N50"), (std::vector<std::wstring>{L"N51", L"N52", L"N53"}));
    EXPECT_EQ(Submenu(L"N56"), (std::vector<std::wstring>{L"N57", L"N58", L"N59"}));
    EXPECT_EQ(Submenu(L"N49"), (std::vector<std::wstring>{L"N60", L"N61", L"N62"}));
    const auto& items = PopupMenu1Items();
    EXPECT_TRUE(HasSubmenu(items, FindMenuItem(items, L"N38")));
    EXPECT_FALSE(HasSubmenu(items, FindMenuItem(items, L"N8")));
    EXPECT_FALSE(HasSubmenu(items, FindMenuItem(items, L"N28")));
}

TEST(MainMenus, ShortcutsAreStoredInTheToolkitEncoding) {
    const auto& items = PopupMenu1Items();
    auto shortcut = [&](const wchar_t* name) { return items[FindMenuItem(items, name)].shortcut; };
    EXPECT_EQ(shortcut(L"N55"), 16463);
    EXPECT_EQ(shortcut(L"N32"), 16384 + 'L');
    EXPECT_EQ(shortcut(L"N16"), 16384 + 'P');
    EXPECT_EQ(shortcut(L"N17"), 16384 + 'S');
    EXPECT_EQ(shortcut(L"N5"), 16384 + 'F');
    EXPECT_EQ(shortcut(L"N3"), 32781);
    EXPECT_EQ(shortcut(L"N8"), 0x7B);
    EXPECT_EQ(shortcut(L"N27"), 0x70);
    int with_shortcut = 0;
    for (const MenuItemRecord& item : items) with_shortcut += item.shortcut != 0;
    EXPECT_EQ(with_shortcut, 8);
    for (const MenuItemRecord& item : PopupMenu2Items()) EXPECT_EQ(item.shortcut, 0);
}

TEST(MainMenus, RadioGroupsStayInsideTheirSubmenu) {
    const auto& items = PopupMenu1Items();
    auto group = [&](const wchar_t* name) { return Names(items, RadioGroupMembers(items, FindMenuItem(items, name))); };
    EXPECT_EQ(group(L"N20"), (std::vector<std::wstring>{L"N20", L"N19"}));
    EXPECT_EQ(group(L"N31"), (std::vector<std::wstring>{L"N34", L"N31"}));
    EXPECT_EQ(group(L"N10"), (std::vector<std::wstring>{L"N9", L"N10", L"N11"}));
    EXPECT_EQ(group(L"N53"), (std::vector<std::wstring>{L"N51", L"N52", L"N53"}));
    EXPECT_EQ(group(L"N59"), (std::vector<std::wstring>{L"N57", L"N58", L"N59"}));
    // The zoom items and stay on top are plain items.
    EXPECT_EQ(group(L"N60"), (std::vector<std::wstring>{L"N60"}));
    EXPECT_EQ(group(L"N18"), (std::vector<std::wstring>{L"N18"}));
}

TEST(MainMenus, DesignStateOfChecksAndHiddenItems) {
    const auto& items = PopupMenu1Items();
    std::set<std::wstring> checked, hidden;
    for (const MenuItemRecord& item : items) {
        if (item.checked) checked.insert(item.name);
        if (item.hidden) hidden.insert(item.name);
    }
    EXPECT_EQ(checked, (std::set<std::wstring>{L"N34", L"N51"}));
    EXPECT_EQ(hidden, (std::set<std::wstring>{L"N4"}));
}

TEST(MainMenus, NamesAreUniqueAcrossBothMenus) {
    std::set<std::wstring> names;
    for (const auto* menu : {&PopupMenu1Items(), &PopupMenu2Items()})
        for (const MenuItemRecord& item : *menu)
            if (!item.IsSeparator()) {
                EXPECT_TRUE(names.insert(item.name).second);
            }
    EXPECT_EQ(FindMenuItem(PopupMenu1Items(), L""), -1);
    EXPECT_EQ(FindMenuItem(PopupMenu1Items(), L"N99"), -1);
}

TEST(MainMenus, PopupMenu2InMenuOrder) {
    const auto& items = PopupMenu2Items();
    EXPECT_EQ(Names(items, MenuChildren(items, -1)),
              (std::vector<std::wstring>{L"N42", L"N43", L"swfToExe1", L"swfToMp31", L"-", L"N44", L"N45", L"N47"}));
    EXPECT_EQ(items[FindMenuItem(items, L"N43")].caption, L"从列表中删除文件");
}
