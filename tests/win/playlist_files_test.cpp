// The dialogs of the playlist: opening media files and list files, saving
// the list with the overwrite question. The real dialogs run; a timer fills
// them in and answers them.
#include "playlist_test_support.h"

using app_test::CapturedErrors;
using app_test::MainWindowTest;
using namespace playlist_test;

namespace {

// Answers the file dialog titled `title` with `path`, then (when `answer`
// is IDYES or IDNO) the overwrite question.
class DialogAnswers {
public:
    DialogAnswers(std::wstring title, std::wstring path, int answer = 0)
        : title_(std::move(title)), path_(std::move(path)), answer_(answer),
          actor_([this] { return Act(); }) {}

    bool FileDialogAnswered() const { return file_done_; }
    bool QuestionAsked() const { return question_; }

private:
    bool Act() {
        if (!file_done_) {
            HWND dialog = FindThreadWindow(L"#32770", title_.c_str());
            if (!dialog) return false;
            SetDlgItemTextW(dialog, cmb13, path_.c_str());
            SetDlgItemTextW(dialog, edt1, path_.c_str());
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            file_done_ = true;
            return answer_ == 0;
        }
        HWND box = FindThreadWindow(L"#32770", L"信息提示");
        if (!box) return false;
        wchar_t text[128] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 128);
        question_ = std::wstring(text) == L"文件已存在是否替换？";
        PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer_), 0);
        return true;
    }

    static constexpr int cmb13 = 0x047C;
    static constexpr int edt1 = 0x0480;
    std::wstring title_, path_;
    int answer_;
    bool file_done_ = false;
    bool question_ = false;
    ModalActor actor_;
};

class PlaylistFilesTest : public MainWindowTest {
protected:
    std::wstring Path(const std::wstring& name) const { return (folder_ / name).wstring(); }
};

}  // namespace

TEST_F(PlaylistFilesTest, SavedListHoldsThePathsInTheAnsiCodePageAndReadsBack) {
    Tfrmmain& form = MakeForm();
    std::vector<std::wstring> paths = {L"C:\\m\\a.mp3", L"D:\\歌曲\\第一首.swf", L"rel\\c.wav"};
    for (const std::wstring& path : paths) form.AppendEntry(path);
    form.AppendFoundEntry(L"C:\\s\\x.swf", L"x.swf");
    paths.push_back(L"C:\\s\\x.swf");
    std::wstring list = Path(L"saved.lis");

    {
        DialogAnswers answers(L"保存列表文件", list);
        form.N45Click();
        EXPECT_TRUE(answers.FileDialogAnswered());
    }
    std::string expected;
    for (const std::wstring& path : paths) expected += WideToAnsi(path) + "\r\n";
    EXPECT_EQ(ReadBytes(list), expected);

    // Read back: the same paths, labels in the stem form again.
    form.N47Click();
    form.LoadPlaylistFile(list);
    std::vector<std::wstring> read_back;
    for (const std::wstring& path : paths) read_back.push_back(AnsiToWide(WideToAnsi(path)));
    EXPECT_EQ(MemoLines(form), read_back);
    EXPECT_EQ(Labels(form).back(), L"4.x");

    // An empty playlist gives an empty file.
    form.N47Click();
    form.SavePlaylistFile(Path(L"empty.lis"));
    EXPECT_EQ(ReadBytes(Path(L"empty.lis")), "");
}

TEST_F(PlaylistFilesTest, AnExistingListIsReplacedOnlyAfterYes) {
    Tfrmmain& form = MakeForm();
    form.AppendEntry(L"C:\\m\\new.mp3");
    std::wstring list = Path(L"old.lis");
    WriteBytes(list, "C:\\m\\old.mp3\r\n");

    {
        DialogAnswers answers(L"保存列表文件", list, IDNO);
        form.N45Click();
        EXPECT_TRUE(answers.QuestionAsked());
    }
    EXPECT_EQ(ReadBytes(list), "C:\\m\\old.mp3\r\n");

    {
        DialogAnswers answers(L"保存列表文件", list, IDYES);
        form.N45Click();
        EXPECT_TRUE(answers.QuestionAsked());
    }
    EXPECT_EQ(ReadBytes(list), "C:\\m\\new.mp3\r\n");
}

TEST_F(PlaylistFilesTest, OpenListAppendsInsideTheZOrderBracket) {
    Tfrmmain& form = MakeForm();
    form.AppendEntry(L"C:\\m\\first.mp3");
    std::wstring pls = Path(L"list.pls");
    WriteBytes(pls, "[playlist]\nFile1=C:\\a.mp3\nTitle1=A\nLength1=10\nFile2=C:\\b.mp3\nTitle2=B\n"
                    "Length2=20\nNumberOfEntries=2\nVersion=2\n");
    trace_.clear();
    {
        DialogAnswers answers(L"打开列表文件", pls);
        form.ClickMenuItem(L"N32");
        EXPECT_TRUE(answers.FileDialogAnswered());
    }
    EXPECT_EQ(MemoLines(form), (std::vector<std::wstring>{L"C:\\m\\first.mp3", L"C:\\a.mp3", L"C:\\b.mp3"}));
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.first", L"2.a", L"3.b"}));
    // ".pls" lists are not played; the z-order comes back to the user's choice.
    EXPECT_EQ(trace_, (std::vector<std::string>{"not topmost", "topmost", "not topmost"}));

    // A list file that cannot be read is reported; the bracket still closes.
    trace_.clear();
    {
        DialogAnswers answers(L"打开列表文件", Path(L"missing.lis"));
        form.N44Click();
    }
    EXPECT_EQ(CapturedErrors().size(), 1u);
    EXPECT_EQ(Labels(form).size(), 3u);
    EXPECT_EQ(trace_, (std::vector<std::string>{"not topmost", "topmost", "not topmost"}));
}

TEST_F(PlaylistFilesTest, OpenFilesAppendsWhateverWasChosenAndPlaysIt) {
    Tfrmmain& form = MakeForm();
    std::wstring movie = Path(L"corvella.SWF");
    trace_.clear();
    {
        DialogAnswers answers(L"打开Flash文件", movie);
        form.ClickMenuItem(L"N55");
        EXPECT_TRUE(answers.FileDialogAnswered());
    }
    EXPECT_EQ(MemoLines(form), (std::vector<std::wstring>{movie}));
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.corvella"}));
    EXPECT_EQ(Selection(form), 0);
    EXPECT_EQ(CountOf(trace_, "play file"), 1);

    // Chosen again from the playlist's menu: a second entry, selected.
    {
        DialogAnswers answers(L"打开Flash文件", movie);
        form.ClickMenuItem(L"N42");
    }
    EXPECT_EQ(Labels(form), (std::vector<std::wstring>{L"1.corvella", L"2.corvella"}));
    EXPECT_EQ(Selection(form), 1);
    EXPECT_EQ(CountOf(trace_, "play file"), 2);
}

// A list in a folder whose name the ANSI code page cannot spell: relative
// entries of ".m3u" and ".pls" files are joined to that folder whole, and
// absolute ones stay as written.
TEST_F(PlaylistFilesTest, RelativeEntriesJoinAFolderNameOutsideTheAnsiCodePage) {
    Tfrmmain& form = MakeForm();
    std::filesystem::path folder = folder_ / L"ลิสต์ 목록";
    std::filesystem::create_directories(folder);
    WriteBytes(folder / L"a.m3u", "#EXTM3U\r\n#EXTINF:1,A\r\nsongs\\one.mp3\r\nD:\\abs\\two.mp3\r\n");
    WriteBytes(folder / L"b.pls", "[playlist]\r\nNumberOfEntries=1\r\nFile1=three.mp3\r\n");

    form.LoadPlaylistFile((folder / L"a.m3u").wstring());
    form.LoadPlaylistFile((folder / L"b.pls").wstring());

    std::wstring prefix = folder.wstring() + L"\\";
    EXPECT_EQ(MemoLines(form), (std::vector<std::wstring>{prefix + L"songs\\one.mp3", L"D:\\abs\\two.mp3",
                                                           prefix + L"three.mp3"}));
    EXPECT_EQ(MemoLines(form, L"Memo2"), (std::vector<std::wstring>{prefix + L"three.mp3"}));
}
