// A path in the system's temporary folder that is this test process's own,
// so that two test runs at once (plain and sanitized) never share files.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace testtemp {

inline std::filesystem::path OwnTempPath(const std::string& name) {
    return std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
}

}  // namespace testtemp
