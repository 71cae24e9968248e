#include "base/data_file.hpp"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

std::vector<std::string> splitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

// The entry of `dir` whose name equals `component` without regard to case; an
// exact match wins over a case-folded one. Empty when there is none.
std::string matchInDirectory(const std::string& dir, const std::string& component) {
    if (exists(dir + component)) return component;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return {};
    std::string found;
    while (const dirent* entry = ::readdir(d)) {
        if (::strcasecmp(entry->d_name, component.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

} // namespace

std::string toSlashPath(std::string_view name) {
    std::string path(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string findDataFile(std::string_view name) {
    const std::string path = toSlashPath(name);
    if (path.empty()) return {};
    if (exists(path)) return path;

    // Walk the components, folding case where the exact name is missing.
    std::string resolved = path.front() == '/' ? "/" : "";
    const std::vector<std::string> parts = splitComponents(path);
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string match = (part == "." || part == "..") ? part : matchInDirectory(resolved, part);
        if (match.empty()) return {};
        resolved += match;
        if (i + 1 < parts.size()) resolved += '/';
    }
    return exists(resolved) ? resolved : std::string{};
}

std::FILE* openDataFile(std::string_view name, const char* mode) {
    const std::string path = findDataFile(name);
    if (path.empty()) return nullptr;
    return std::fopen(path.c_str(), mode);
}
