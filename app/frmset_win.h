// The settings dialog: the automatic "Play" skip and the two frame counts
// of the playback settings. Created hidden at start; showing it fills the
// controls from the main window's values in memory, "设置" applies and saves
// them, "返回" leaves them; closing it gives the main window its z-order back.
#pragma once

#include <windows.h>

class Tfrmset {
public:
    static constexpr const wchar_t* kClassName = L"Tfrmset";
    static constexpr int kClientWidth = 386;
    static constexpr int kClientHeight = 258;

    Tfrmset() = default;
    ~Tfrmset();
    Tfrmset(const Tfrmset&) = delete;
    Tfrmset& operator=(const Tfrmset&) = delete;

    void Create();   // hidden
    HWND Window() const { return window_; }

    // Controls by their names.
    HWND CheckBox1() const { return check_box1_; }
    HWND SpinEdit1() const { return spin_edit1_; }
    HWND SpinEdit2() const { return spin_edit2_; }
    HWND BitBtn1() const { return bit_btn1_; }
    HWND BitBtn2() const { return bit_btn2_; }

    bool SkipChecked() const;
    void SetSkipChecked(bool checked);

    void FormShow();
    void BitBtn1Click();
    void BitBtn2Click();
    void FormClose();

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    void CreateControls();
    HWND AddControl(const wchar_t* window_class, const wchar_t* text, DWORD style, int left, int top, int width,
                    int height, int id);
    HWND AddSpinEdit(int top, int id);
    void Step(HWND edit, int delta);

    HWND window_ = nullptr;
    HWND check_box1_ = nullptr;
    HWND spin_edit1_ = nullptr;
    HWND spin_edit2_ = nullptr;
    HWND bit_btn1_ = nullptr;
    HWND bit_btn2_ = nullptr;
};
