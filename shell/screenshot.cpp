#include "shell/screenshot.hpp"

#include "framework/display.hpp"
#include "framework/platform.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/bitmap_writer.hpp"
#if TESSARON_PNG
#include "gfx/png_writer.hpp"
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int maxShots = 9999;

#if TESSARON_PNG
constexpr const char* shotName = "shot%04d.png";

bool saveShot(const fs::path& path, const PresentedFrame& frame) {
    return savePng(path.string(), frame.pixels, frame.width, frame.height, frame.bytesPerLine);
}
#else
// A game built without libpng keeps its screenshots as 24-bit BMP files.
constexpr const char* shotName = "shot%04d.bmp";

bool saveShot(const fs::path& path, const PresentedFrame& frame) {
    Bitmap shot = makeBitmap(static_cast<i32>(frame.width), static_cast<i32>(frame.height), 24);
    for (u32 y = 0; y < frame.height; ++y)
        std::copy_n(frame.pixels + static_cast<size_t>(y) * frame.bytesPerLine, frame.width * 3,
                    shot.row(static_cast<i32>(y)));
    return saveBitmap(path.string(), shot);
}
#endif

// The screenshots' folder; empty when neither XDG_DATA_HOME nor HOME says where.
fs::path screenshotFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data) return fs::path(data) / "tessaron3d" / "screenshots";
    const char* home = std::getenv("HOME");
    if (home && *home) return fs::path(home) / ".local" / "share" / "tessaron3d" / "screenshots";
    return {};
}

} // namespace

void SaveScreenshot() {
    std::vector<u8> scratch;
    const PresentedFrame frame = CurrentFrame(scratch);
    if (frame.width == 0) return; // nothing drawn yet
    const fs::path folder = screenshotFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "Screenshot not saved: neither XDG_DATA_HOME nor HOME is set\n");
        return;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "Screenshot not saved: cannot make the folder %s (%s)\n", folder.c_str(),
                     error.message().c_str());
        return;
    }
    for (int number = 1; number <= maxShots; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, shotName, number);
        const fs::path path = folder / name;
        if (fs::exists(path, error)) continue;
        if (!saveShot(path, frame)) {
            std::fprintf(stderr, "Screenshot not saved: cannot write %s\n", path.c_str());
            return;
        }
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        return;
    }
    std::fprintf(stderr, "Screenshot not saved: %s holds %d screenshots already\n", folder.c_str(), maxShots);
}
