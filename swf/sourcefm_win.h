// The resource extraction window: the images and sounds of the movie that
// the player opened last, listed one row each, and the export of the chosen
// row through the window's temporary folder to a file of the user's choice.
// Created hidden at start; closing hides it again.
#pragma once

#include "flash/soundtrack_row.h"
#include "swf/swf_extractor.h"

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

class Tsourcefm {
public:
    static constexpr const wchar_t* kClassName = L"Tsourcefm";
    static constexpr int kClientWidth = 509;
    static constexpr int kClientHeight = 306;

    Tsourcefm() = default;
    ~Tsourcefm();
    Tsourcefm(const Tsourcefm&) = delete;
    Tsourcefm& operator=(const Tsourcefm&) = delete;

    // Creates the window hidden with its controls, then runs FormCreate.
    // program_folder empty: the executable's folder.
    void Create(const std::wstring& program_folder = L"");
    HWND Window() const { return window_; }
    // Controls by name: Label1, FlatComboBox1, BitBtn1, BitBtn2, Memo2,
    // ListView1, Label2, Label3, Memo1. nullptr for another name.
    HWND Control(const std::wstring& name) const;

    // The movie the window reads when it is opened: the Flash movie that the
    // player opened last.
    std::wstring SwfPath;
    // The scratch folder the exporters write into: the program's folder and
    // "temp\". It is expected to exist.
    std::wstring TempFolder;

    // Loads SwfPath (when it is not empty), reads its information and builds
    // the list. Throws swf::SwfFileError when the movie cannot be read.
    void init();
    // Rebuilds the rows of ListView1 from the catalogue, with the
    // soundtrack row last when the movie has any sound.
    void addtolistview();
    const swf::SwfExtractor& Extractor() const { return extractor_; }
    const std::vector<swf::ResourceRow>& Rows() const { return rows_.Rows(); }

    // Window events and handlers.
    void FormCreate();
    void FormShow();
    void FormClose();
    void SpeedButton2Click();
    void FlatComboBox1Change();
    void BitBtn1Click();
    void BitBtn2Click();
    void N1Click();
    // The extraction step of the selected row into TempFolder; returns the
    // file written, or an empty path.
    std::filesystem::path ListView1DblClick();

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void CreateControls();
    void SetUpListView();
    int SelectedRow() const;
    void ShowNewMessages();
    void AddMessage(const std::string& message);
    void ExportSelectedRow(int row);
    void DeleteWrittenFiles();

    HWND window_ = nullptr;
    std::wstring program_folder_;
    std::vector<HWND> controls_;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr;
    swf::SwfExtractor extractor_;
    flash::ExtractionRows rows_;
    size_t messages_shown_ = 0;
    // Files the exporters wrote into TempFolder during this run, by the
    // names they were written under; closing deletes them and nothing else.
    std::vector<std::filesystem::path> written_files_;
};
