#include "gfx/file_search.hpp"

#include "base/data_file.hpp"
#include "gfx/gfx_state.hpp"

#include <algorithm>
#include <cstdlib>

void setLibraryRoot(std::string_view root) {
    gfx::state.libraryRoot = root;
}

std::string joinLibraryPath(std::string_view root, std::string_view subdirectory, std::string_view name) {
    std::string path(root);
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += subdirectory;
    path += name;
    return path;
}

std::FILE* openLibraryFile(std::string_view name, std::string_view subdirectory) {
    if (std::FILE* f = openDataFile(name)) return f;
    // An unset root is skipped: joined, it would name a path from the file system's root.
    if (!gfx::state.libraryRoot.empty())
        if (std::FILE* f = openDataFile(joinLibraryPath(gfx::state.libraryRoot, subdirectory, name)))
            return f;
    if (const char* env = std::getenv("RGL_ROOT"); env && *env)
        if (std::FILE* f = openDataFile(joinLibraryPath(env, subdirectory, name))) return f;
    return nullptr;
}

std::vector<u8> readAndClose(std::FILE* file, size_t limit) {
    std::vector<u8> bytes;
    u8 chunk[65536];
    while (bytes.size() < limit) {
        const size_t want = std::min(sizeof chunk, limit - bytes.size());
        const size_t got = std::fread(chunk, 1, want, file);
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < want) break;
    }
    std::fclose(file);
    return bytes;
}
