// No data file, however damaged, may crash a loader or read out of bounds: each
// one either loads or ends the program with its message and exit code 1 or 255.
// The damaged files are made here from valid ones: cut short, bytes replaced,
// random bytes, random tokens, and a few hand-picked extremes.
#include "base/program_exit.hpp"
#include "run_directory.hpp"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

namespace {

const std::pair<std::string, std::string> validDefinitions[] = {
    {"Objects\\car.odf", "0 0 %\n0 0 0 4000 0 0 4000 3000 0 0 3000 4000 # 1 1000000 %\n"},
    {"Objects\\hq.odf", "0 1 %\n0 0 0 20000 0 0 20000 20000 5000 # 0 1000000 %\n"},
    {"Objects\\flag.odf", "0 0 % 0 0 0 100 0 0 100 100 10000 # 2 1000000 %"},
    {"Objects\\woodwall.odf",
     "1 0 %\n/ front\n0 0 0 1 0 0 1 0 1 0 0 1 # 1 0 %\n1 1 0 0 1 0 0 1 1 # 2 ff %\n"},
    {"Objects\\tree.odf", "3 0 % 0 0 0 400 0 0 400 0 6000 0 0 6000 # 0 00FF00 %"},
    {"Objects\\marker.odf", "2 0 %\n"},
    {"Objects\\mine.odf", "0 0 % 0 0 0 500 0 0 500 500 100 # 0 202020 %"},
    {"Objects\\shot.odf", "0 1 % 0 0 0 100 0 0 100 400 100 # 0 FFFF00 %"},
};

const std::string validLevel = "Malformed\r\n/ 8 x 6 cells\n8 6 2\nFF0000 0000ff\n"
                               "car\n1 100000 100000 0\nhq\n1 200000 100000 0\n"
                               "car\n2 300000 300000 0\nhq\n2 400000 300000 0\n"
                               "flag\n1 5000 7000 0\nwoodwall\n0 0 0 0 524287 1000 30000\n"
                               "tree\n0 70000 70000 0\nmarker\n0 1 2 3\n";
const std::string validTextures = "2 %\n2 2 1 2 #\n100 80 / a comment\n40 20 %\n1 3 0 0 # 1 2 3 %\n";

// Loaded (0), a data error (1) or a corrupt texture file (255). A sanitizer
// finding also ends with 1, so the output must be at most one message line.
bool endsCleanly(int status) {
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return code == 0 || code == 1 || code == 255;
}
const char* const atMostOneMessage = "^(Error: [^\n]*\n)?$";

// The child of a death test ends without the leak checker's pass at exit: the
// world is still held by globals there, and that pass would triple the run time
// of the corpus. Memory errors are still reported the moment they happen.
void endWithoutLeakCheck(int status, void*) {
    std::fflush(nullptr);
    ::_exit(status);
}

void loadAndEnd(bool textures) {
    ::on_exit(endWithoutLeakCheck, nullptr);
    if (textures) {
        std::freopen("/dev/null", "w", stdout); // the corrupt-file message is checked elsewhere
        loadTextures();
    } else {
        loadLevelFile("Levels\\test.lvl");
    }
    exitProgram(0);
}

// Damaged copies of a valid file. Every load is a process of its own, so the
// corpus is sampled: cuts and replaced bytes spread evenly over the file, then
// random bytes and random tokens (half of them after a valid beginning).
std::vector<std::string> damagedCopies(const std::string& valid, unsigned seed) {
    std::vector<std::string> copies;
    const size_t step = valid.size() / 24 + 1;
    const std::string replacements("%#/\xff\r\f x9-\0", 12);
    for (size_t i = seed % step; i < valid.size(); i += step) {
        copies.push_back(valid.substr(0, i));
        copies.push_back(valid);
        const size_t at = std::min(i + 1, valid.size() - 1);
        copies.back()[at] = replacements[(at * 5 + seed) % replacements.size()];
    }
    std::mt19937 random(seed);
    for (int n = 0; n < 6; ++n) {
        std::string& bytes = copies.emplace_back(random() % 400 + 1, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
    }
    const char* tokens[] = {"0",           "1",          "3",        "65535", "65536", "4294967295",
                            "99999999999", "ff",         "%",        "#",     "/",     "\n",
                            " ",           "\r\n",       "\f",       "car\n", "hq\n",  "flag\n",
                            "tree\n",      "woodwall\n", "marker\n", "x"};
    for (int n = 0; n < 10; ++n) {
        std::string& text =
            copies.emplace_back(n % 2 ? valid.substr(0, random() % valid.size()) : std::string());
        for (int k = random() % 60; k > 0; --k) text += tokens[random() % std::size(tokens)];
    }
    return copies;
}

class MalformedInputTest : public WorldFiles {
  protected:
    void SetUp() override {
        WorldFiles::SetUp();
        for (const auto& [name, text] : validDefinitions) write(name, text);
        write("textures.dat", validTextures);
        write("Levels\\test.lvl", validLevel);
        loadTextures(); // levels are loaded with textured polygons
    }
    // Writes each damaged file in turn and loads it in a process of its own,
    // then puts the valid file back.
    static void expectEachEndsCleanly(const std::string& name, const std::vector<std::string>& files,
                                      const std::string& valid) {
        for (const std::string& text : files) {
            SCOPED_TRACE(name + ": " + testing::PrintToString(text));
            write(name, text);
            EXPECT_EXIT(loadAndEnd(name == "textures.dat"), endsCleanly, atMostOneMessage);
        }
        write(name, valid);
    }
};

} // namespace

TEST_F(MalformedInputTest, TheValidFilesLoad) {
    EXPECT_EQ(world::state.textureTable.size(), 3u);
    loadLevelFile("Levels\\test.lvl");
    EXPECT_EQ(world::state.worldObjects.size(), 7u);
    EXPECT_EQ(world::state.flagCount, 1);
}

TEST_F(MalformedInputTest, DamagedTexturesLevelsAndDefinitions) {
    expectEachEndsCleanly("textures.dat", damagedCopies(validTextures, 1), validTextures);
    expectEachEndsCleanly("Levels\\test.lvl", damagedCopies(validLevel, 2), validLevel);
    unsigned seed = 3;
    for (const auto& [name, valid] : validDefinitions)
        expectEachEndsCleanly(name, damagedCopies(valid, seed++), valid);
}

// Extreme textures and refused headers are checked by their messages elsewhere.
TEST_F(MalformedInputTest, ExtremeNumbers) {
    write("Objects\\stone.odf", "0 0 % 4294967295 4294967295 4294967295 1 1 1 0 0 0 # 4294967295 ffffffff %");
    const std::string players = "2\nFF0000 0000FF\ncar\n1 100000 100000 0\nhq\n1 200000 100000 0\n"
                                "car\n2 300000 300000 0\nhq\n2 400000 300000 0\n";
    const std::string level = "T\n8 8 " + players;
    expectEachEndsCleanly("Levels\\test.lvl",
                          {
                              // The widest grid allowed with a wall over all of it; sizes and
                              // player counts narrowed to sixteen bits.
                              "T\n65535 16 0\nwoodwall\n0 0 0 0 4294967295 4294967295 4294967295\n",
                              "T\n65536 65537 0\n",
                              "T\n4 4 65535\n1 2 3\n",
                              "T\n4 4 65537\nFF\n",
                              // Objects at the far corner of the world and at the origin.
                              level + "stone\n0 4294967295 4294967295 4294967295\n"
                                      "car\n2 4294967295 4294967295 0\nflag\n0 4294967295 0 0\n",
                              level + "tree\n0 0 0 0\n",
                              level + "woodwall\n0 4294967295 4294967295 4294967295 0 0 0\n",
                              // Owners beyond sixteen bits or of nobody; a grid of no cells.
                              level + "car\n65537 0 0 0\n",
                              level + "hq\n0 0 0 0\n",
                              "T\n0 0 " + players,
                          },
                          validLevel);
    expectEachEndsCleanly("Objects\\car.odf",
                          {
                              "4294967295 0 %",                           // kind of 32 bits
                              "0 0 % 0 0 0 1 1 1 # 0 0 %",                // two vertices
                              "0 0 % 0 0 0 # 0 0 %",                      // one vertex
                              "0 0 % 0 0 0 1 1 1 2 2 2 # 4294967295 0 %", // texture of 32 bits
                          },
                          validDefinitions[0].second);
}
