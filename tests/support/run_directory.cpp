#include "tests/support/run_directory.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

RunDirectory::RunDirectory(Kind kind)
    : previous_(std::filesystem::current_path()), temporary_(kind == Fresh) {
    if (kind == Shipped) {
        root_ = shippedRunDirectory();
    } else {
        std::string pattern = std::filesystem::temp_directory_path() / "tessaron-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("no temporary run directory");
            std::abort();
        }
        root_ = pattern;
    }
    std::filesystem::current_path(root_);
}

RunDirectory::RunDirectory(const std::filesystem::path& existing)
    : previous_(std::filesystem::current_path()), root_(existing) {
    std::filesystem::current_path(root_);
}

RunDirectory::~RunDirectory() {
    std::filesystem::current_path(previous_);
    if (temporary_) std::filesystem::remove_all(root_);
}

void RunDirectory::write(std::string gameName, std::string_view bytes) {
    std::replace(gameName.begin(), gameName.end(), '\\', '/');
    const std::filesystem::path file(gameName);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::filesystem::path shippedRunDirectory() {
    return TESSARON_DATA_DIR;
}
