#pragma once
// The game reads its files relative to the current directory, so tests run in a
// run directory: the shipped one, or a fresh temporary one where a test writes
// its own files by the game's names ("Objects\stone1.odf"), or one the test
// made. The directory the test started in comes back, and a temporary one is
// removed, when it ends.
#include <filesystem>
#include <string>
#include <string_view>

class RunDirectory {
  public:
    enum Kind { Shipped, Fresh };

    explicit RunDirectory(Kind kind);
    // Enters a directory the test made; the test removes it.
    explicit RunDirectory(const std::filesystem::path& existing);
    ~RunDirectory();
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;

    const std::filesystem::path& root() const { return root_; }

    // Writes a file named the game's way, creating its folder.
    static void write(std::string gameName, std::string_view bytes);

  private:
    std::filesystem::path previous_;
    std::filesystem::path root_;
    bool temporary_ = false;
};

// The shipped run directory (data/).
std::filesystem::path shippedRunDirectory();
