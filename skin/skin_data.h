// TSkinData: the skin data component. It holds one skin package, turns it
// into the skin model and serves the settings the skin manager reads. The
// platform layer hooks in through the callbacks below; nothing here needs
// a window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_objects.h"

class SkinIniText;
class TSkinReader;

enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcFastReport,
};

// A set of TSkinControlType members.
class TSkinControls {
public:
    TSkinControls() = default;
    static TSkinControls All();
    bool Has(TSkinControlType member) const { return (bits_ >> member) & 1; }
    void Include(TSkinControlType member) { bits_ |= 1u << member; }
    void Exclude(TSkinControlType member) { bits_ &= ~(1u << member); }
    bool operator==(const TSkinControls& other) const { return bits_ == other.bits_; }

private:
    uint32_t bits_ = 0;
};

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// Indices of TSkinData::Borders.
enum SkinBorderIndex { kBorderLeft, kBorderRight, kBorderTop, kBorderBottom };

class TSkinData {
public:
    TSkinData();
    ~TSkinData();
    TSkinData(const TSkinData&) = delete;
    TSkinData& operator=(const TSkinData&) = delete;

    // --- Settings ---------------------------------------------------------
    bool Active() const { return active_; }
    // Switching on is refused (false) while no skin is loaded.
    bool SetActive(bool on);
    int32_t DisableTag = 99;
    TSkinControls SkinControls = DefaultSkinControls();
    TSkinFormType SkinFormtype = sfMainform;

    const std::string& SkinFile() const { return skin_file_; }
    // Loads the package file at `path` when one exists there.
    void SetSkinFile(const std::string& path);

    // "(Good)" at design time while a package is held, else "(none)";
    // assigning does nothing.
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {}

    // True at design time: packages are held but not loaded.
    bool Designing = false;

    // --- Events and hooks of the platform layer ---------------------------
    std::function<void(TSkinData& sender, const std::string& class_name, bool& do_skin)> OnFormSkin;
    std::function<void(TSkinData& sender)> OnSkinChanged;
    // Form and control are the platform layer's handles; it may set
    // skinned_control to a skinner of its own or to none.
    std::function<void(TSkinData& sender, void* form, void* control, const std::string& control_class,
                       void*& skinned_control)>
        OnSkinControl;
    // After SetSkinFile ran LoadPackage: the skin-changed request.
    std::function<void(TSkinData& sender, bool loaded)> OnPackageApplied;
    // After a successful SetActive.
    std::function<void(TSkinData& sender, bool on)> OnActiveChanged;
    // After a definition was read completely (the brush is made here).
    std::function<void(TSkinData& sender)> OnDefinitionRead;
    // Shows a message to the user (a plain message box).
    std::function<void(const std::string& text)> OnMessage;

    // --- The package ------------------------------------------------------
    const std::vector<uint8_t>& Package() const { return package_; }
    void SetPackage(std::vector<uint8_t> bytes) { package_ = std::move(bytes); }
    // The "SkinStream" property: an int32 N, then N package bytes.
    // Reading runs LoadPackage at run time when N > 0; false when the
    // property is cut short (the component is then left without package).
    bool ReadSkinStream(const std::vector<uint8_t>& property);
    std::vector<uint8_t> WriteSkinStream() const;
    // Turns the held package into the skin model; true when accepted.
    bool LoadPackage();
    // Why the last LoadPackage failed ("" after a success).
    const std::string& LastMessage() const { return last_message_; }

    // Reads a definition text; bitmaps are taken from `package`.
    void ReadDefinition(const SkinIniText& ini, const TSkinReader& package);

    // --- The skin model ---------------------------------------------------
    // True while no skin is loaded.
    bool Empty() const { return empty_; }
    std::string SkinName;
    TDataSkinBorder Borders[4];
    TDataSkinTitle Title;
    TDataSkinButton Buttons;
    std::vector<TDataSkinSysButton> TitleButtons;
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinObject> Toolbars;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    SkinColours Colours;
    std::vector<SkinColour> ExtraColours;
    // Title-bar icon for windows that have none.
    SkinBitmap IconBitmap;

    static TSkinControls DefaultSkinControls();

private:
    void Refuse(const std::string& message);

    bool active_ = false;
    bool empty_ = true;
    std::string skin_file_;
    std::vector<uint8_t> package_;
    std::string last_message_;
};

// Largest package file SetSkinFile reads.
constexpr uintmax_t kMaxSkinPackageFile = 128u * 1024 * 1024;

// A package without any ".ini" entry.
extern const char* const kNoSkinDefinitionMessage;
