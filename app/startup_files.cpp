#include "app/startup_files.h"

#include "app/utf8.h"

#include <fstream>
#include <stdexcept>
#include <system_error>

std::wstring ProgramFolderOf(const std::wstring& exe_path) {
    size_t cut = exe_path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return L"";
    std::wstring folder = exe_path.substr(0, cut);
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

void ReplaceStartupMovie(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    std::error_code ignored;
    if (std::filesystem::exists(file, ignored)) std::filesystem::remove(file, ignored);

    std::string name = Utf8FromWide(file.wstring());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("Cannot create file \"" + name + "\".");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("Cannot write file \"" + name + "\".");
}

std::optional<std::string> ReadTextFileBytes(const std::filesystem::path& file, std::uintmax_t max_bytes) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > max_bytes) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

std::wstring WithCrLf(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r') {
            out += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (c == L'\n') {
            out += L"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}
