// corvella-cli render: draws one frame of a movie into a PNG file.
#include "cli/commands.h"

#include "flash/movie_loader.h"
#include "flash/player.h"
#include "flash/renderer.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#ifndef _WIN32
#include <png.h>
#endif

const char* const kRenderUsage =
    "  corvella-cli render FILE.swf --frames N --out OUT.png [--size WxH] [--quality low|medium|high]\n"
    "                            draws the stage as shown after N frames (1: the first\n"
    "                            frame) into a PNG image, by default at the stage size\n"
    "                            and in high quality (smoothed edges)\n";

namespace {

bool ParseCount(const std::string& text, int* value) {
    char* end = nullptr;
    long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < 1 || n > 1000000) return false;
    *value = static_cast<int>(n);
    return true;
}

bool ParseSize(const std::string& text, int* width, int* height) {
    size_t x = text.find('x');
    if (x == std::string::npos) return false;
    return ParseCount(text.substr(0, x), width) && ParseCount(text.substr(x + 1), height) &&
           *width <= 16384 && *height <= 16384;
}

#ifndef _WIN32
bool WritePng(const std::string& path, const flash::Canvas& canvas) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.width), static_cast<png_uint_32>(canvas.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(canvas.width) * 3);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            uint32_t p = canvas.At(x, y);
            row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(p >> 16);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(p >> 8);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}
#endif

}  // namespace

int RunRenderCommand(const CliArgs& args) {
    std::string input, output;
    int frames = 0, width = 0, height = 0;
    bool quality_ok = true;
    flash::Quality quality = flash::Quality::High;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool has_value = i + 1 < args.size();
        if (arg == "--frames" && has_value) {
            if (!ParseCount(args[++i], &frames)) frames = -1;
        } else if (arg == "--out" && has_value) {
            output = args[++i];
        } else if (arg == "--quality" && has_value) {
            const std::string& name = args[++i];
            quality = name == "low" ? flash::Quality::Low : name == "medium" ? flash::Quality::Medium : flash::Quality::High;
            quality_ok = name == "low" || name == "medium" || name == "high";
        } else if (arg == "--size" && has_value) {
            if (!ParseSize(args[++i], &width, &height)) width = -1;
        } else if (input.empty() && !arg.empty() && arg[0] != '-') {
            input = arg;
        } else {
            input.clear();
            break;
        }
    }
    if (input.empty() || output.empty() || frames <= 0 || width < 0 || !quality_ok) {
        std::fputs("usage:\n", stderr);
        std::fputs(kRenderUsage, stderr);
        return 2;
    }

    flash::Player player;
    try {
        player.Load(std::make_shared<flash::Movie>(flash::LoadMovieFile(input)));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "render: %s: %s\n", input.c_str(), error.what());
        return 1;
    }
    for (int i = 1; i < frames; ++i) player.Advance();

    const flash::Movie& movie = *player.movie();
    flash::Canvas canvas;
    canvas.Resize(width ? width : movie.StageWidth(), height ? height : movie.StageHeight());
    flash::Renderer renderer;
    renderer.Render(player, flash::View{}, quality, canvas);
#ifdef _WIN32
    (void)output;
    std::fputs("render: PNG output is not available in this build\n", stderr);
    return 1;
#else
    if (!WritePng(output, canvas)) {
        std::fprintf(stderr, "render: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
#endif
}
