// Appending a large playlist to the main window: 100,000 entries go into
// ListBox1 and the path list in one batch, as loading a playlist file does.
// With a skin package the main window wears it while the entries go in.
//   playlist_append_bench.exe [ENTRIES] [SKIN.fac]
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/error_box_win.h"
#include "app/forms_win.h"
#include "app/frmmain_win.h"
#include "skin/skin_manage_win.h"

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "corvella-append-bench";
    std::filesystem::create_directories(folder);
    if (argc > 2) {
        // The main window loads the skin named in its "config.ini".
        const std::filesystem::path package(argv[2]);
        std::filesystem::create_directories(folder / "skins");
        std::filesystem::copy_file(package, folder / "skins" / package.filename(),
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(folder / "config.ini") << "[mydata]\nskinfile=" << package.filename().string() << "\n";
    }
    SetErrorBoxSink([](const std::wstring& text) { std::fwprintf(stderr, L"error: %ls\n", text.c_str()); });

    Tfrmmain::Options options;
    options.program_folder = folder.wstring();
    options.ends_program = false;
    Tfrmmain form(options);
    Forms().frmmain = &form;
    form.Create();
    form.Show();
    // The skin goes on by a 250 ms timer after the first activation.
    for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
         std::chrono::steady_clock::now() < until;) {
        MSG pending;
        while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&pending);
        Sleep(10);
    }

    std::vector<std::wstring> paths;
    paths.reserve(entries);
    for (int i = 0; i < entries; ++i)
        paths.push_back(L"C:\\music\\folder" + std::to_wstring(i / 100) + L"\\song" + std::to_wstring(i) + L".mp3");

    auto start = std::chrono::steady_clock::now();
    form.AppendEntries(paths);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("appended %d entries to ListBox1 in %.2f s (list holds %d; %zu skinned windows)\n", entries, seconds,
                form.ListEntryCount(), TSkinManage::Instance().SkinnedCount());
    Forms() = {};
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
