#include "app/startup_movie_win.h"

#include <windows.h>

#include <stdexcept>

std::vector<uint8_t> LoadStartupMovieResource() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceExW(module, L"SWFFILE", L"FLASH",
                                     MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw std::runtime_error("Resource FLASH not found.");
    auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, resource));
}
