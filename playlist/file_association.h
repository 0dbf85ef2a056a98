// The file types the player registers for itself under HKEY_CLASSES_ROOT,
// as data: the keys and default values to write, in the order they are
// written. The Win32 layer writes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FileTypeAssociation {
    const wchar_t* extension;
    const wchar_t* type_name;
    const wchar_t* description;
};

// ".swf", ".mp3" and ".lis", in the order they are registered.
const std::vector<FileTypeAssociation>& PlayerFileTypes();

// One default (unnamed) REG_SZ value of a key under HKEY_CLASSES_ROOT.
struct RegistryDefaultValue {
    std::wstring key;
    std::wstring value;
};

// The values of one association, in write order: the extension key (one "."
// in front after every "." was removed), the type-name key, its
// "\DefaultIcon" (only when an icon is given) and "\shell\open\command",
// whose value is the command, a blank and "%1" in double quotes. Nothing
// when the extension without dots or the command is empty.
std::vector<RegistryDefaultValue> FileTypeValues(std::wstring_view extension, std::wstring_view type_name,
                                                 std::wstring_view description, std::wstring_view command,
                                                 std::wstring_view icon);

// Every value of the three associations for the program at `program_path`,
// which serves as both the command and the icon.
std::vector<RegistryDefaultValue> PlayerFileTypeValues(std::wstring_view program_path);
