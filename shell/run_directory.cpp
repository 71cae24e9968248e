#include "shell/run_directory.hpp"

#include "base/data_file.hpp"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

#ifndef TESSARON_DATA_FROM_BINARY
#define TESSARON_DATA_FROM_BINARY "../data"
#endif

namespace {

fs::path executableDirectory(const char* argv0) {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) self = fs::absolute(argv0, error);
    return self.parent_path();
}

} // namespace

void enterRunDirectory(const char* argv0) {
    if (!findDataFile("textures.dat").empty()) return;
    const fs::path bin = executableDirectory(argv0 ? argv0 : "");
    // Beside the build, then an installed layout (bin/ next to share/tessaron3d/).
    for (const fs::path& candidate : {bin / TESSARON_DATA_FROM_BINARY, bin / "../share/tessaron3d"}) {
        std::error_code error;
        if (fs::exists(candidate / "textures.dat", error)) {
            fs::current_path(candidate, error);
            return;
        }
    }
}
