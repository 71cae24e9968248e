#include "shell/screenshot.hpp"

#include "framework/display.hpp"
#include "framework/platform.hpp"
#include "gfx/png_writer.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int maxShots = 9999;

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
        std::fprintf(stderr, "Screenshot not saved: cannot make the folder %s (%s)\n",
                     folder.c_str(), error.message().c_str());
        return;
    }
    for (int number = 1; number <= maxShots; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, "shot%04d.png", number);
        const fs::path path = folder / name;
        if (fs::exists(path, error)) continue;
        if (!savePng(path.string(), frame.pixels, frame.width, frame.height, frame.bytesPerLine)) {
            std::fprintf(stderr, "Screenshot not saved: cannot write %s\n", path.c_str());
            return;
        }
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        return;
    }
    std::fprintf(stderr, "Screenshot not saved: %s holds %d screenshots already\n", folder.c_str(), maxShots);
}
