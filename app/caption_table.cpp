#include "app/caption_table.h"

namespace {

constexpr CaptionProperty C = CaptionProperty::Caption;
constexpr CaptionProperty H = CaptionProperty::Hint;

}  // namespace

const std::vector<CaptionRow>& CaptionTable() {
    static const std::vector<CaptionRow> table = {
        {L"BitBtn1", C, L"开始", L"Start"},
        {L"N28", C, L"退出", L"Quit"},
        {L"N26", C, L"关于...", L"About..."},
        {L"N27", C, L"帮助...", L"Help..."},
        {L"N36", C, L"设置", L"Set"},
        {L"N1", C, L"更换皮肤", L"Change Skin"},
        {L"N18", C, L"窗口最前", L"On top while playing"},
        {L"N49", C, L"缩放", L"Zoom"},
        {L"N60", C, L"放大", L"Zoom Out"},
        {L"N61", C, L"缩小", L"Zoom In"},
        {L"N62", C, L"原始大小", L"Normal size"},
        {L"N56", C, L"声道", L"Track "},
        {L"N57", C, L"左声道", L"Left track"},
        {L"N58", C, L"右声道", L"Right track"},
        {L"N59", C, L"立体音", L"Stereo "},
        {L"N50", C, L"画面品质", L"Quality"},
        {L"N51", C, L"高", L"High"},
        {L"N52", C, L"中", L"Middle"},
        {L"N53", C, L"低", L"Lower"},
        {L"N8", C, L"抓图", L"Save image"},
        {L"N7", C, L"设置墙纸", L"WallPaper"},
        {L"N9", C, L"居中", L"Centered "},
        {L"N10", C, L"平铺", L"Tile "},
        {L"N11", C, L"拉伸", L"Extend "},
        {L"N30", C, L"语言", L"Language"},
        {L"N34", C, L"简体中文", L"Simple Chinese"},
        {L"N31", C, L"English", L"English"},
        {L"N2", C, L"窗口控制", L"Window cortrol Center"},
        {L"N5", C, L"全屏", L"Full Screen"},
        {L"N3", C, L"窗口(有控制面板)", L"Window(Have Contral)"},
        {L"N4", C, L"窗口(无控制面板)", L"Window(No Have Contral)"},
        {L"N6", C, L"播放控制", L"Play Cortrol"},
        {L"N16", C, L"播放", L"Play"},
        {L"N17", C, L"暂停", L"Pause"},
        {L"N12", C, L"快进", L"REW(>>)"},
        {L"N13", C, L"快退", L"FF(<<)"},
        {L"N14", C, L"最前", L"Begin(||<)"},
        {L"N15", C, L"最后", L"Last(>||)"},
        {L"N20", C, L"顺序播放", L"Order"},
        {L"N19", C, L"随机播放", L"Random"},
        {L"N38", C, L"查找文件", L"Find Files"},
        {L"IE1", C, L"IE临时文件夹", L"Internet Explorer Temp Directory"},
        {L"N39", C, L"选择查询路径", L"Select Directory"},
        {L"N41", C, L"停止查找", L"Stop find file"},
        {L"N55", C, L"打开文件", L"Open File(s)"},
        {L"N42", C, L"打开文件", L"Open Files"},
        {L"N43", C, L"从列表中删除", L"Remove File From List"},
        {L"N44", C, L"打开列表", L"Load List"},
        {L"N32", C, L"打开列表", L"Load List"},
        {L"N45", C, L"保存列表", L"Save List"},
        {L"N47", C, L"清空列表", L"Clear List"},
        {L"SpeedButton1", H, L"最前", L"最前"},
        {L"SpeedButton2", H, L"快退", L"快退"},
        {L"SpeedButton3", H, L"快进", L"快进"},
        {L"SpeedButton4", H, L"最后", L"最后"},
        {L"SpeedButton5", H, L"播放", L"播放"},
        {L"SpeedButton6", H, L"暂停", L"暂停"},
        {L"SpeedButton9", C, L"音+", L"V+"},
        {L"SpeedButton10", C, L"音-", L"V-"},
        {L"CheckBox1", C, L"连续播放", L"Sequential"},
        {L"RadioButton1", C, L"顺序", L"Order"},
        {L"RadioButton2", C, L"随机", L"Random"},
        {L"CheckBox2", C, L"单曲循环", L"Loop"},
        {L"CheckBox3", C, L"跳过Play", L"Skip Play"},
    };
    return table;
}

const wchar_t* CaptionFor(const CaptionRow& row, int code) {
    if (code == kLanguageChinese) return row.chinese;
    if (code == kLanguageEnglish) return row.english;
    return nullptr;
}
