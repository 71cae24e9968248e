// Writes the text fuzzers' seeds from the shipped run directory:
// DIR/token, DIR/textures, DIR/definition and DIR/level, one file per shipped
// file, with the leading byte each target reads first where it has one.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

// Whether a definition's header (after its comment lines) names kind 1, a box.
bool isBoxKind(const std::string& body) {
    for (size_t at = 0; (at = body.find_first_not_of(" \t\r\n\f", at)) != std::string::npos;) {
        if (body[at] != '/') return body.compare(at, 2, "1 ") == 0;
        at = body.find('\n', at);
    }
    return false;
}

// The definition target's first byte: the name's index, bit 3 for a second corner.
char definitionSelector(const std::string& name, const std::string& body) {
    const std::string names[] = {"fuzz", "car", "hq", "tree", "flag", "bush", "shot", "mine"};
    int index = 0;
    for (int i = 0; i < 8; ++i)
        if (names[i] == name) index = i;
    return static_cast<char>(index | (isBoxKind(body) ? 8 : 0));
}

// A token-reader seed: an operation script (see fuzzTokenReader), then the file.
std::string scripted(const std::string& script, const std::string& file) {
    return static_cast<char>(script.size() - 1) + script + file;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_text_fuzz_seeds DIR\n";
        return 2;
    }
    const fs::path data = TESSARON_CONTENT_DIR, out = argv[1];
    // Operations: 0 getint, 1 gethex, 2 getstring, 3 skipBlanks, 4 getint after
    // skipBlanks, 5 getstring after skipBlanks.
    const std::string textures = readWhole(data / "textures.dat");
    bool ok = write(out / "textures" / "textures.dat", textures);
    ok = ok && write(out / "token" / "textures.dat",
                     scripted(std::string("\0\3\0\0\1\1\3\1", 8), textures.substr(0, 4000)));
    for (const auto& entry : fs::directory_iterator(data / "Levels")) {
        const std::string text = readWhole(entry.path());
        ok = ok && write(out / "level" / entry.path().filename(), text);
        ok = ok && write(out / "token" / entry.path().filename(),
                         scripted(std::string("\2\0\0\0\1\1\5\0", 8), text));
    }
    for (const auto& entry : fs::directory_iterator(data / "Objects")) {
        const std::string text = readWhole(entry.path());
        const std::string name = entry.path().stem().string();
        ok = ok && write(out / "definition" / entry.path().filename(), definitionSelector(name, text) + text);
        ok = ok &&
             write(out / "token" / entry.path().filename(), scripted(std::string("\0\0\3\4\0\0", 6), text));
    }
    return ok ? 0 : 1;
}
