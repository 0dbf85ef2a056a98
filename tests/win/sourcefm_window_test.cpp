// The extraction window: its layout, the list it builds from a movie, the
// export through its temporary folder and what closing leaves behind.
#include "sourcefm_test_support.h"

#include <mmsystem.h>
#include <wincodec.h>

using tools_test::CorpusMovie;
using tools_test::Lines;
using tools_test::ReadAll;
using tools_test::TextOf;
using tools_test::ToolsTest;
using tools_test::WriteAll;
namespace fs = std::filesystem;

namespace {

RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring Cell(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

int RowImage(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void SelectRow(HWND list, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// A click of a button as the window receives it.
void Click(HWND window, HWND button) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

DWORD View(HWND list) { return static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE)) & LVS_TYPEMASK; }

// The picture size that the platform's decoder reads from an image file;
// 0 × 0 when it cannot decode it.
SIZE DecodedImageSize(const fs::path& file) {
    SIZE size{0, 0};
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory)))) {
        IWICBitmapDecoder* decoder = nullptr;
        if (SUCCEEDED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                         WICDecodeMetadataCacheOnDemand, &decoder))) {
            IWICBitmapFrameDecode* frame = nullptr;
            UINT width = 0, height = 0;
            if (SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height))) {
                size = {static_cast<LONG>(width), static_cast<LONG>(height)};
            }
            if (frame) frame->Release();
            decoder->Release();
        }
        factory->Release();
    }
    CoUninitialize();
    return size;
}

// The length in milliseconds that MCI reads from a sound file; 0 when it
// cannot open it.
long SoundLength(const fs::path& file) {
    std::wstring open = L"open \"" + file.wstring() + L"\" type mpegvideo alias extracted";
    if (mciSendStringW(open.c_str(), nullptr, 0, nullptr) != 0) return 0;
    wchar_t length[64] = {};
    mciSendStringW(L"set extracted time format milliseconds", nullptr, 0, nullptr);
    mciSendStringW(L"status extracted length", length, 64, nullptr);
    mciSendStringW(L"close extracted", nullptr, 0, nullptr);
    return wcstol(length, nullptr, 10);
}

}  // namespace

TEST_F(ToolsTest, ExtractionWindowLayout) {
    Tsourcefm& window = MakeSourcefm();
    EXPECT_EQ(window.TempFolder, folder_.wstring() + L"\\temp\\");

    struct Expected {
        const wchar_t* name;
        RECT rect;
        const wchar_t* text;
    };
    const Expected controls[] = {
        {L"Label1", {24, 19, 58, 31}, L"查看"},
        {L"BitBtn1", {169, 14, 244, 39}, L"导出文件"},
        {L"BitBtn2", {246, 14, 321, 39}, L"返回"},
        {L"Memo2", {330, 10, 493, 43}, L""},
        {L"ListView1", {21, 48, 494, 265}, L""},
    };
    for (const Expected& c : controls) {
        HWND control = window.Control(c.name);
        ASSERT_TRUE(control) << c.name;
        RECT r = ChildRect(control);
        EXPECT_EQ(r.left, c.rect.left) << c.name;
        EXPECT_EQ(r.top, c.rect.top) << c.name;
        EXPECT_EQ(r.right, c.rect.right) << c.name;
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.name;
        EXPECT_EQ(TextOf(control), c.text) << c.name;
    }
    EXPECT_EQ(ChildRect(window.Control(L"Label2")).top, 270);
    EXPECT_EQ(ChildRect(window.Control(L"Label3")).top, 288);
    EXPECT_EQ(TextOf(window.Control(L"Label3")), L"2.还有些文件里是没有Mp3音乐的.");
    EXPECT_FALSE(IsWindowVisible(window.Control(L"Memo1")));

    HWND combo = window.Control(L"FlatComboBox1");
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    wchar_t item[32] = {};
    SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"大图标");

    HWND list = window.Control(L"ListView1");
    EXPECT_EQ(View(list), static_cast<DWORD>(LVS_REPORT));
    LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & LVS_EDITLABELS);
    EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    const struct {
        const wchar_t* header;
        int width;
        int format;
    } columns[] = {{L"资源名", 150, LVCFMT_LEFT}, {L"TagID", 50, LVCFMT_RIGHT}, {L"ID", 50, LVCFMT_RIGHT},
                   {L"占用块数", 60, LVCFMT_RIGHT}, {L"长度", 100, LVCFMT_RIGHT}};
    for (int i = 0; i < 5; ++i) {
        wchar_t header[32] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = header;
        column.cchTextMax = 32;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(header, columns[i].header);
        EXPECT_EQ(column.cx, columns[i].width) << i;
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[i].format) << i;
    }
    for (auto [which, size] : {std::pair{LVSIL_NORMAL, 32}, std::pair{LVSIL_SMALL, 16}}) {
        auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, which, 0));
        ASSERT_TRUE(images);
        EXPECT_EQ(ImageList_GetImageCount(images), 4);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        EXPECT_EQ(cx, size);
        EXPECT_EQ(cy, size);
    }
}

TEST_F(ToolsTest, OpeningListsTheRowsOfTheExtractorAndItsInformation) {
    Tfrmmain& form = MakeForm();
    Tsourcefm& window = MakeSourcefm();
    fs::path movie = CorpusMovie("jpexs__gfx__test_sounds.swf");
    REQUIRE_CORPUS(movie);
    AddEntry(form, movie.wstring());
    window.SwfPath = movie.wstring();
    form.ClickMenuItem(L"swfToMp31");
    EXPECT_TRUE(IsWindowVisible(window.Window()));
    EXPECT_TRUE(IsTopmost(window.Window()));

    swf::SwfExtractor reference;
    reference.init(movie);
    flash::ExtractionRows rows;
    rows.Build(reference);
    HWND list = window.Control(L"ListView1");
    ASSERT_EQ(RowCount(list), static_cast<int>(rows.Rows().size()));
    ASSERT_EQ(RowCount(list), 3);   // two sounds, then the movie's soundtrack
    for (int i = 0; i < RowCount(list); ++i) {
        const swf::ResourceRow& row = rows.Rows()[static_cast<size_t>(i)];
        EXPECT_EQ(Cell(list, i, 0), swf::Utf8Path(row.caption).wstring());
        EXPECT_EQ(Cell(list, i, 1), std::to_wstring(row.tag_id));
        EXPECT_EQ(Cell(list, i, 2), std::to_wstring(row.code));
        EXPECT_EQ(Cell(list, i, 3), std::to_wstring(row.blocks));
        EXPECT_EQ(Cell(list, i, 4), std::to_wstring(row.length));
        EXPECT_EQ(RowImage(list, i), row.icon);
    }
    EXPECT_EQ(Cell(list, 0, 0), L"18_4流.MP3");
    EXPECT_EQ(Cell(list, 0, 3), L"45");
    EXPECT_EQ(Cell(list, 2, 0), L"soundtrack.WAV");

    std::vector<std::wstring> information = Lines(TextOf(window.Control(L"Memo1")));
    ASSERT_EQ(information.size(), reference.InfoLines().size());
    EXPECT_EQ(information[0], L"标志：CWS");
    EXPECT_TRUE(Memo2Lines().empty());
}

TEST_F(ToolsTest, OpeningIsRefusedWithoutAFlashMovieAndReportsAnUnreadableFile) {
    Tfrmmain& form = MakeForm();
    Tsourcefm& window = MakeSourcefm();
    window.SwfPath = CorpusMovie("jpexs__gfx__test_sounds.swf").wstring();
    form.ClickMenuItem(L"swfToMp31");   // empty playlist
    EXPECT_FALSE(IsWindowVisible(window.Window()));

    AddEntry(form, L"C:\\music\\song.mp3");
    form.MediaMode = true;
    form.ClickMenuItem(L"swfToMp31");
    EXPECT_FALSE(IsWindowVisible(window.Window()));
    EXPECT_TRUE(app_test::CapturedErrors().empty());

    form.MediaMode = false;
    window.SwfPath = (folder_ / "gone.swf").wstring();
    form.ClickMenuItem(L"swfToMp31");
    EXPECT_FALSE(IsWindowVisible(window.Window()));
    ASSERT_EQ(app_test::CapturedErrors().size(), 1u);
    EXPECT_NE(app_test::CapturedErrors()[0].find(L"gone.swf"), std::wstring::npos);
}

TEST_F(ToolsTest, ViewChoiceSwitchesTheListAndSurvivesReopening) {
    Tsourcefm& window = MakeSourcefm();
    HWND combo = window.Control(L"FlatComboBox1");
    HWND list = window.Control(L"ListView1");
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SendMessageW(window.Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(View(list), static_cast<DWORD>(LVS_ICON));

    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    window.FlatComboBox1Change();
    EXPECT_EQ(View(list), static_cast<DWORD>(LVS_SMALLICON));
    ShowWindow(window.Window(), SW_SHOW);
    SendMessageW(window.Window(), WM_CLOSE, 0, 0);
    ShowWindow(window.Window(), SW_SHOW);
    EXPECT_EQ(View(list), static_cast<DWORD>(LVS_SMALLICON));
}

TEST_F(ToolsTest, ExportWithoutSelectionAsksForAResource) {
    Tsourcefm& window = MakeSourcefm();
    window.SwfPath = CorpusMovie("jpexs__gfx__test_images.swf").wstring();
    REQUIRE_CORPUS(window.SwfPath);
    window.init();
    Click(window.Window(), window.Control(L"BitBtn1"));
    EXPECT_EQ(Memo2Lines(), std::vector<std::wstring>{L"请选择要导出的资源!"});
    EXPECT_TRUE(dialogs_.empty());
}

TEST_F(ToolsTest, ExportedJpegAndSoundDecode) {
    Tsourcefm& window = MakeSourcefm();
    fs::path images = CorpusMovie("jpexs__gfx__test_images.swf");
    REQUIRE_CORPUS(images);
    window.SwfPath = images.wstring();
    window.init();
    HWND list = window.Control(L"ListView1");
    ASSERT_EQ(Cell(list, 0, 0), L"6_5.jpg");
    SelectRow(list, 0);
    fs::path picture = folder_ / "picture.jpg";
    dialog_answer_ = picture.wstring();
    window.BitBtn1Click();
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].filter, L"*.jpg文件|*.jpg");
    EXPECT_EQ(dialogs_[0].default_extension, L"jpg");
    EXPECT_EQ(dialogs_[0].file_name, L"jpexs__gfx__test_images0");
    ASSERT_TRUE(fs::exists(picture));
    EXPECT_EQ(fs::file_size(picture), std::stoull(Cell(list, 0, 4)));
    SIZE size = DecodedImageSize(picture);
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    EXPECT_FALSE(fs::exists(temp_ / "6_5.jpg"));   // moved out of the temporary folder
    EXPECT_EQ(Memo2Lines(), std::vector<std::wstring>{L"恭喜您，文件提取成功!"});
    EXPECT_TRUE(IsTopmost(window.Window()));
    EXPECT_TRUE(questions_.empty());

    // A stream sound of the other movie, proposed under the movie's name.
    window.SwfPath = CorpusMovie("jpexs__gfx__test_sounds.swf").wstring();
    window.init();
    window.SwfPath = L"  " + window.SwfPath + L" \t";
    SelectRow(list, 0);
    fs::path sound = folder_ / "stream.MP3";
    dialog_answer_ = sound.wstring();
    window.BitBtn1Click();
    ASSERT_EQ(dialogs_.size(), 2u);
    EXPECT_EQ(dialogs_[1].filter, L"*.MP3文件|*.MP3");
    EXPECT_EQ(dialogs_[1].default_extension, L"MP3");
    EXPECT_EQ(dialogs_[1].file_name, L"jpexs__gfx__test_sounds0");
    ASSERT_TRUE(fs::exists(sound));
    EXPECT_EQ(fs::file_size(sound), std::stoull(Cell(list, 0, 4)));
    EXPECT_GT(SoundLength(sound), 0);
}

TEST_F(ToolsTest, ExportToAnExistingFileAsksFirst) {
    Tsourcefm& window = MakeSourcefm();
    window.SwfPath = CorpusMovie("jpexs__gfx__test_images.swf").wstring();
    REQUIRE_CORPUS(window.SwfPath);
    window.init();
    HWND list = window.Control(L"ListView1");
    SelectRow(list, 1);
    fs::path target = folder_ / "old.bmp";
    WriteAll(target, "mine");
    dialog_answer_ = target.wstring();

    answer_yes_ = false;
    window.BitBtn1Click();
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].first, L"文件已存在，是否要替换？");
    EXPECT_EQ(questions_[0].second, L"提示");
    EXPECT_EQ(ReadAll(target), "mine");
    EXPECT_TRUE(fs::is_empty(temp_));
    EXPECT_TRUE(Memo2Lines().empty());
    EXPECT_FALSE(IsTopmost(window.Window()));

    answer_yes_ = true;
    window.BitBtn1Click();
    EXPECT_EQ(fs::file_size(target), std::stoull(Cell(list, 1, 4)));
    EXPECT_EQ(ReadAll(target).substr(0, 2), "BM");
    EXPECT_EQ(Memo2Lines(), std::vector<std::wstring>{L"恭喜您，文件提取成功!"});
    EXPECT_FALSE(IsTopmost(window.Window()));   // only a new file brings it back on top
}

TEST_F(ToolsTest, UnreadableRowIsRefusedAndAnExistingFileKept) {
    // A movie with one DefineBitsLossless tag whose body is cut short.
    std::string movie = "FWS";
    movie += '\x06';
    std::string body = std::string("\x01\x00\x03\x10\x00\x10\x00", 7);   // id 1, format 3, 16 × 16, no data
    std::string tags;
    tags += static_cast<char>((20 << 6 | static_cast<int>(body.size())) & 0xFF);
    tags += static_cast<char>((20 << 6) >> 8);
    tags += body;
    tags += std::string(2, '\0');   // End
    std::string header = std::string("\x00\x00\x00\x00", 4) + std::string("\x00\x00\x0C\x01\x00", 5);
    movie += header + tags;
    fs::path path = folder_ / "broken.swf";
    WriteAll(path, movie);

    Tsourcefm& window = MakeSourcefm();
    window.SwfPath = path.wstring();
    window.init();
    HWND list = window.Control(L"ListView1");
    ASSERT_EQ(RowCount(list), 1);
    EXPECT_EQ(Cell(list, 0, 4), L"0");
    SelectRow(list, 0);
    fs::path target = folder_ / "keep.bmp";
    WriteAll(target, "mine");
    dialog_answer_ = target.wstring();
    window.BitBtn1Click();
    EXPECT_EQ(questions_.size(), 1u);
    EXPECT_EQ(ReadAll(target), "mine");
    EXPECT_EQ(Memo2Lines(), std::vector<std::wstring>{L"不能提取信息!"});
}

TEST_F(ToolsTest, ClosingDeletesOnlyTheFilesTheExportersWrote) {
    Tfrmmain& form = MakeForm();
    form.SetMenuChecked(L"N18", true);
    Tsourcefm& window = MakeSourcefm();
    window.SwfPath = CorpusMovie("jpexs__gfx__test_images.swf").wstring();
    REQUIRE_CORPUS(window.SwfPath);
    WriteAll(temp_ / "notes.txt", "the user's own");
    WriteAll(temp_ / "6_9.jpg", "looks like ours");
    fs::create_directories(temp_ / "sub");
    WriteAll(temp_ / "sub" / "inner.txt", "x");
    window.init();

    // A copy that fails leaves the exported file in the temporary folder.
    HWND list = window.Control(L"ListView1");
    SelectRow(list, 0);
    dialog_answer_ = (folder_ / "no such folder" / "x.jpg").wstring();
    window.BitBtn1Click();
    EXPECT_EQ(app_test::CapturedErrors().size(), 1u);
    EXPECT_TRUE(fs::exists(temp_ / "6_5.jpg"));
    // The extraction step alone writes into the temporary folder too.
    SelectRow(list, 1);
    EXPECT_EQ(window.ListView1DblClick(), temp_ / "36_6.bmp");

    ShowWindow(window.Window(), SW_SHOW);
    trace_.clear();
    Click(window.Window(), window.Control(L"BitBtn2"));
    EXPECT_FALSE(IsWindowVisible(window.Window()));
    EXPECT_FALSE(fs::exists(temp_ / "6_5.jpg"));
    EXPECT_FALSE(fs::exists(temp_ / "36_6.bmp"));
    EXPECT_EQ(ReadAll(temp_ / "notes.txt"), "the user's own");
    EXPECT_EQ(ReadAll(temp_ / "6_9.jpg"), "looks like ours");
    EXPECT_TRUE(fs::exists(temp_ / "sub" / "inner.txt"));
    EXPECT_EQ(trace_, (std::vector<std::string>{"topmost", "not topmost", "topmost"}));
    EXPECT_TRUE(IsTopmost(form.Window()));
}

// The exported file is copied beside the chosen one and replaces it only
// when whole: a copy that fails leaves the file the user agreed to replace.
TEST_F(ToolsTest, FailedExportKeepsTheFileItWasToReplace) {
    Tsourcefm& window = MakeSourcefm();
    window.SwfPath = CorpusMovie("jpexs__gfx__test_images.swf").wstring();
    REQUIRE_CORPUS(window.SwfPath);
    window.init();
    SelectRow(window.Control(L"ListView1"), 1);
    fs::path target = folder_ / "keep.bmp";
    WriteAll(target, "mine");
    fs::create_directories(folder_ / "keep.bmp.part");   // the copy beside cannot be made
    dialog_answer_ = target.wstring();
    answer_yes_ = true;

    window.BitBtn1Click();
    EXPECT_EQ(ReadAll(target), "mine");
    EXPECT_EQ(app_test::CapturedErrors().size(), 1u);

    fs::remove(folder_ / "keep.bmp.part");
    window.BitBtn1Click();
    EXPECT_EQ(ReadAll(target).substr(0, 2), "BM");
    EXPECT_FALSE(fs::exists(folder_ / "keep.bmp.part"));
}

// A movie with sound offers what it sounds like as the last row: the whole
// movie mixed, exported like the other rows as a WAV file that plays for
// the movie's length.
TEST_F(ToolsTest, SoundtrackRowExportsTheWholeMovieAsAWavFile) {
    Tsourcefm& window = MakeSourcefm();
    fs::path movie = CorpusMovie("jpexs__gfx__test_sounds.swf");
    REQUIRE_CORPUS(movie);
    window.SwfPath = movie.wstring();
    window.init();
    HWND list = window.Control(L"ListView1");
    ASSERT_EQ(RowCount(list), 3);
    EXPECT_EQ(Cell(list, 2, 0), L"soundtrack.WAV");
    EXPECT_EQ(Cell(list, 2, 1), L"-1");
    EXPECT_EQ(RowImage(list, 2), swf::kIconSound);
    EXPECT_EQ(Cell(list, 2, 3), L"48");   // 48 frames at 24 per second
    EXPECT_EQ(Cell(list, 2, 4), std::to_wstring(44 + 2 * 44100 * 4));

    SelectRow(list, 2);
    fs::path sound = folder_ / "movie.WAV";
    dialog_answer_ = sound.wstring();
    window.BitBtn1Click();
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].filter, L"*.WAV文件|*.WAV");
    EXPECT_EQ(dialogs_[0].default_extension, L"WAV");
    EXPECT_EQ(dialogs_[0].file_name, L"jpexs__gfx__test_sounds2");
    ASSERT_TRUE(fs::exists(sound));
    EXPECT_EQ(fs::file_size(sound), std::stoull(Cell(list, 2, 4)));
    EXPECT_FALSE(fs::exists(temp_ / "soundtrack.WAV"));
    EXPECT_EQ(Memo2Lines(), std::vector<std::wstring>{L"恭喜您，文件提取成功!"});
    std::string wav = ReadAll(sound);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 4), "WAVE");
    EXPECT_NE(wav.find_first_not_of('\0', 44), std::string::npos);   // not silence
    EXPECT_NEAR(SoundLength(sound), 2000, 50);

    // A movie without sound has no such row.
    window.SwfPath = CorpusMovie("jpexs__gfx__test_images.swf").wstring();
    window.init();
    for (int i = 0; i < RowCount(list); ++i) EXPECT_NE(Cell(list, i, 0), L"soundtrack.WAV");
}
