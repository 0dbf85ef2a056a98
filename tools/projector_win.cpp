#include "tools/projector_win.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "app/utf8.h"
#include "tools/projector_trailer.h"
#include "tools/win_error_win.h"

namespace {

class File {
public:
    File(const std::wstring& path, DWORD access, DWORD creation) {
        handle_ = CreateFileW(path.c_str(), access, 0, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) ThrowLastError(L"Cannot open file \"" + path + L"\"");
    }
    ~File() { CloseHandle(handle_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

void WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr) || written != size) ThrowLastError(L"Write error");
}

// Copies the whole of source to output; returns the number of bytes copied.
uint64_t CopyAll(HANDLE source, HANDLE output) {
    std::vector<char> buffer(1 << 16);
    uint64_t total = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(source, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            ThrowLastError(L"Read error");
        if (got == 0) return total;
        WriteAll(output, buffer.data(), got);
        total += got;
    }
}

}  // namespace

void SaveResourceToFile(const wchar_t* name, const wchar_t* type, const std::wstring& path) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceExW(module, type, name, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    if (!info) info = FindResourceW(module, name, type);
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) throw std::runtime_error("Resource " + Utf8FromWide(name) + " not found");
    File out(path, GENERIC_WRITE, CREATE_ALWAYS);
    WriteAll(out.get(), bytes, SizeofResource(module, info));
}

void BuildProjectorExe(const std::wstring& swf_path, const std::wstring& output_path,
                       const std::wstring& projector_path) {
    File out(output_path, GENERIC_WRITE, CREATE_ALWAYS);
    {
        File projector(projector_path, GENERIC_READ, OPEN_EXISTING);
        CopyAll(projector.get(), out.get());
    }
    File swf(swf_path, GENERIC_READ, OPEN_EXISTING);
    uint64_t size = CopyAll(swf.get(), out.get());
    std::string trailer = ProjectorTrailer(size);
    WriteAll(out.get(), trailer.data(), static_cast<DWORD>(trailer.size()));
}
