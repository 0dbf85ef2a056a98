#include "app/main_menus.h"

#include "app/shortcut.h"

namespace {

constexpr int kCtrl = kShortcutCtrl;
constexpr int kAlt = kShortcutAlt;

MenuItemRecord Item(const wchar_t* name, const wchar_t* caption, int depth, int shortcut = 0) {
    MenuItemRecord item;
    item.name = name;
    item.caption = caption;
    item.depth = depth;
    item.shortcut = shortcut;
    return item;
}

MenuItemRecord Radio(const wchar_t* name, const wchar_t* caption, int group, bool checked = false) {
    MenuItemRecord item = Item(name, caption, 1);
    item.radioGroup = group;
    item.checked = checked;
    return item;
}

MenuItemRecord Separator(int depth) {
    MenuItemRecord item;
    item.caption = L"-";
    item.depth = depth;
    return item;
}

MenuItemRecord Hidden(MenuItemRecord item) {
    item.hidden = true;
    return item;
}

std::vector<MenuItemRecord> MakePopupMenu1() {
    return {
        Item(L"N55", L"打开文件...", 0, kCtrl + 'O'),
        Item(L"N32", L"打开列表...", 0, kCtrl + 'L'),
        Separator(0),
        Item(L"N38", L"查找文件", 0),
        Item(L"IE1", L"IE临时文件夹", 1),
        Item(L"N39", L"选择查找路径...", 1),
        Separator(1),
        Item(L"N41", L"停止查找", 1),
        Separator(0),
        Item(L"N6", L"播放控制", 0),
        Item(L"N16", L"播放", 1, kCtrl + 'P'),
        Item(L"N17", L"暂停", 1, kCtrl + 'S'),
        Separator(1),
        Item(L"N12", L"快进", 1),
        Item(L"N13", L"快退", 1),
        Item(L"N14", L"最前", 1),
        Item(L"N15", L"最后", 1),
        Separator(1),
        Radio(L"N20", L"顺序连续播放", 1),
        Radio(L"N19", L"随机连续播放", 1),
        Item(L"N2", L"窗口控制", 0),
        Item(L"N5", L"全屏", 1, kCtrl + 'F'),
        Item(L"N3", L"窗口", 1, kAlt + kKeyEnter),
        Hidden(Item(L"N4", L"窗口（无控制面板）", 1)),
        Separator(0),
        Item(L"N30", L"语言", 0),
        Radio(L"N34", L"中文", 2, true),
        Radio(L"N31", L"英文", 2),
        Item(L"N7", L"设置墙纸", 0),
        Radio(L"N9", L"居中", 3),
        Radio(L"N10", L"平铺", 3),
        Radio(L"N11", L"拉伸", 3),
        Item(L"N8", L"抓图", 0, kKeyF12),
        Separator(0),
        Item(L"N50", L"画面品质", 0),
        Radio(L"N51", L"高", 4, true),
        Radio(L"N52", L"中", 4),
        Radio(L"N53", L"低", 4),
        Item(L"N56", L"声道", 0),
        Radio(L"N57", L"左声道", 5),
        Radio(L"N58", L"右声道", 5),
        Radio(L"N59", L"立体音", 5),
        Item(L"N49", L"缩放", 0),
        Item(L"N60", L"放大", 1),
        Item(L"N61", L"缩小", 1),
        Item(L"N62", L"原始大小", 1),
        Separator(0),
        Item(L"N18", L"窗口最前", 0),
        Item(L"N1", L"更换皮肤...", 0),
        Separator(0),
        Item(L"N36", L"设置...", 0),
        Item(L"N27", L"帮助", 0, kKeyF1),
        Item(L"N26", L"关于...", 0),
        Separator(0),
        Item(L"N28", L"退出", 0),
    };
}

std::vector<MenuItemRecord> MakePopupMenu2() {
    return {
        Item(L"N42", L"打开文件...", 0),
        Item(L"N43", L"从列表中删除文件", 0),
        Item(L"swfToExe1", L"swfToExe...", 0),
        Item(L"swfToMp31", L"swfToMp3...", 0),
        Separator(0),
        Item(L"N44", L"打开列表", 0),
        Item(L"N45", L"保存列表", 0),
        Item(L"N47", L"清空列表", 0),
    };
}

// The submenu (or top level) that the item at index sits in, as the index
// of the item that opens it; -1 for the top level.
int ParentOf(const std::vector<MenuItemRecord>& items, int index) {
    int depth = items[index].depth;
    for (int i = index - 1; i >= 0; --i)
        if (items[i].depth < depth) return i;
    return -1;
}

}  // namespace

const std::vector<MenuItemRecord>& PopupMenu1Items() {
    static const std::vector<MenuItemRecord> items = MakePopupMenu1();
    return items;
}

const std::vector<MenuItemRecord>& PopupMenu2Items() {
    static const std::vector<MenuItemRecord> items = MakePopupMenu2();
    return items;
}

int FindMenuItem(const std::vector<MenuItemRecord>& items, const std::wstring& name) {
    if (name.empty()) return -1;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].name == name) return static_cast<int>(i);
    return -1;
}

bool HasSubmenu(const std::vector<MenuItemRecord>& items, int index) {
    size_t next = static_cast<size_t>(index) + 1;
    return index >= 0 && next < items.size() && items[next].depth > items[index].depth;
}

std::vector<int> MenuChildren(const std::vector<MenuItemRecord>& items, int parent) {
    std::vector<int> children;
    int depth = parent < 0 ? 0 : items[parent].depth + 1;
    for (size_t i = static_cast<size_t>(parent + 1); i < items.size(); ++i) {
        if (items[i].depth < depth) break;
        if (items[i].depth == depth) children.push_back(static_cast<int>(i));
    }
    return children;
}

std::vector<int> RadioGroupMembers(const std::vector<MenuItemRecord>& items, int index) {
    int group = items[index].radioGroup;
    if (group == 0) return {index};
    std::vector<int> members;
    for (int i : MenuChildren(items, ParentOf(items, index)))
        if (items[i].radioGroup == group) members.push_back(i);
    return members;
}
