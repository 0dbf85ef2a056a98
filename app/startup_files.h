// The files the main window touches beside the executable at start-up.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The folder of the executable at exe_path, without a trailing separator.
std::wstring ProgramFolderOf(const std::wstring& exe_path);

// Writes the start-up movie to file afresh: an old file is deleted first,
// then bytes are written whole. Throws std::runtime_error (UTF-8 text
// naming the file) when the file cannot be created or written.
void ReplaceStartupMovie(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

// The bytes of a text file to show, or nothing when it cannot be read or is
// larger than max_bytes.
std::optional<std::string> ReadTextFileBytes(const std::filesystem::path& file,
                                             std::uintmax_t max_bytes = 16u << 20);

// Line breaks as a multi-line edit field wants them: every "\n" and every
// lone "\r" becomes "\r\n".
std::wstring WithCrLf(const std::wstring& text);
