#include "playlist/file_association.h"

const std::vector<FileTypeAssociation>& PlayerFileTypes() {
    // The descriptions are "Flash文件", "Mp3文件" and "Flash文件列表".
    static const std::vector<FileTypeAssociation> types = {
        {L".swf", L"FlashFile", L"Flash\u6587\u4EF6"},
        {L".mp3", L"Mp3File", L"Mp3\u6587\u4EF6"},
        {L".lis", L"FlashFileList", L"Flash\u6587\u4EF6\u5217\u8868"},
    };
    return types;
}

std::vector<RegistryDefaultValue> FileTypeValues(std::wstring_view extension, std::wstring_view type_name,
                                                 std::wstring_view description, std::wstring_view command,
                                                 std::wstring_view icon) {
    std::wstring bare;
    for (wchar_t c : extension)
        if (c != L'.') bare += c;
    if (bare.empty() || command.empty()) return {};
    std::wstring type(type_name);
    std::vector<RegistryDefaultValue> values;
    values.push_back({L"." + bare, type});
    values.push_back({type, std::wstring(description)});
    if (!icon.empty()) values.push_back({type + L"\\DefaultIcon", std::wstring(icon)});
    values.push_back({type + L"\\shell\\open\\command", std::wstring(command) + L" \"%1\""});
    return values;
}

std::vector<RegistryDefaultValue> PlayerFileTypeValues(std::wstring_view program_path) {
    std::vector<RegistryDefaultValue> all;
    for (const FileTypeAssociation& type : PlayerFileTypes()) {
        std::vector<RegistryDefaultValue> values =
            FileTypeValues(type.extension, type.type_name, type.description, program_path, program_path);
        all.insert(all.end(), values.begin(), values.end());
    }
    return all;
}
