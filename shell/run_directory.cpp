#include "shell/run_directory.hpp"

#include "base/data_file.hpp"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

// Where the data lies, set by the build: from the binary in the build tree, from
// the binary where it is installed, and where it is installed.
#ifndef TESSARON_DATA_FROM_BINARY
#define TESSARON_DATA_FROM_BINARY "../data"
#endif
#ifndef TESSARON_INSTALLED_DATA_FROM_BINARY
#define TESSARON_INSTALLED_DATA_FROM_BINARY "../share/tessaron3d"
#endif
#ifndef TESSARON_INSTALLED_DATA_DIR
#define TESSARON_INSTALLED_DATA_DIR "/usr/local/share/tessaron3d"
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
    // Beside the binary first, as installed (bin/ next to share/tessaron3d/, wherever
    // the whole tree was moved) or as built; then where the build installs it.
    for (const fs::path& candidate :
         {bin / TESSARON_INSTALLED_DATA_FROM_BINARY, bin / TESSARON_DATA_FROM_BINARY,
          fs::path(TESSARON_INSTALLED_DATA_DIR)}) {
        std::error_code error;
        if (fs::exists(candidate / "textures.dat", error)) {
            fs::current_path(candidate, error);
            return;
        }
    }
}
