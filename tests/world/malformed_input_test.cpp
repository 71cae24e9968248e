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
#include <string>
#include <utility>

namespace {

const std::pair<const char*, const char*> validDefinitions[] = {
    {"Objects\\car.odf", "0 0 %\n0 0 0 4000 0 0 4000 3000 0 0 3000 4000 # 1 1000000 %\n"},
    {"Objects\\hq.odf", "0 1 %\n0 0 0 20000 0 0 20000 20000 5000 # 0 1000000 %\n"},
    {"Objects\\flag.odf", "0 0 % 0 0 0 100 0 0 100 100 10000 # 2 1000000 %"},
    {"Objects\\woodwall.odf", "1 0 %\n/ front\n0 0 0 1 0 0 1 0 1 0 0 1 # 1 0 %\n"
                              "1 1 0 0 1 0 0 1 1 # 2 ff %\n"},
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

const std::string validTextures = "2 %\n2 2 1 2 #\n100 80 / a comment\n40 20 %\n"
                                  "1 3 0 0 # 1 2 3 %\n";

// A damaged file must end in one of the game's own ways: loaded (0), a data
// error (1) or a corrupt texture file (255). A sanitizer finding also ends
// with 1, so the output is checked too: nothing but at most one message line.
bool endsCleanly(int status) {
    if (!WIFEXITED(status)) return false;
    const int code = WEXITSTATUS(status);
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

void loadLevelAndEnd() {
    ::on_exit(endWithoutLeakCheck, nullptr);
    loadLevelFile("Levels\\test.lvl");
    exitProgram(0);
}

void loadTexturesAndEnd() {
    ::on_exit(endWithoutLeakCheck, nullptr);
    std::freopen("/dev/null", "w", stdout); // the corrupt-file message is checked elsewhere
    loadTextures();
    exitProgram(0);
}

// Damaged copies of a valid file, each with a label for the failure report.
// Every run of a loader is a process of its own, so the corpus is sampled:
// cuts and replaced bytes spread evenly over the file, then random bytes and
// random tokens (half of them after a valid beginning).
std::vector<std::pair<std::string, std::string>> damagedCopies(const std::string& valid,
                                                               unsigned seed) {
    std::vector<std::pair<std::string, std::string>> copies;
    const size_t step = valid.size() / 24 + 1;
    for (size_t length = seed % step; length < valid.size(); length += step)
        copies.emplace_back("cut at " + std::to_string(length), valid.substr(0, length));

    const std::string replacements("%#/\xff\r\f x9-\0", 12);
    for (size_t i = (seed + 1) % step; i < valid.size(); i += step) {
        std::string copy = valid;
        copy[i] = replacements[(i * 5 + seed) % replacements.size()];
        copies.emplace_back("byte " + std::to_string(i) + " replaced", copy);
    }

    std::mt19937 random(seed);
    for (int n = 0; n < 6; ++n) {
        std::string bytes(random() % 400 + 1, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        copies.emplace_back("random bytes " + std::to_string(n), bytes);
    }

    const char* tokens[] = {"0",           "1",          "3",        "65535", "65536", "4294967295",
                            "99999999999", "ff",         "%",        "#",     "/",     "\n",
                            " ",           "\r\n",       "\f",       "car\n", "hq\n",  "flag\n",
                            "tree\n",      "woodwall\n", "marker\n", "x"};
    for (int n = 0; n < 10; ++n) {
        std::string text = n % 2 ? valid.substr(0, random() % valid.size()) : std::string();
        for (int k = random() % 60; k > 0; --k)
            text += tokens[random() % std::size(tokens)];
        copies.emplace_back("random tokens " + std::to_string(n), text);
    }
    return copies;
}

class MalformedInputTest : public RunDirectory {
  protected:
    void SetUp() override {
        RunDirectory::SetUp();
        for (const auto& [name, text] : validDefinitions)
            write(name, text);
        write("textures.dat", validTextures);
        write("Levels\\test.lvl", validLevel);
    }

    static void expectLevelEndsCleanly(const std::string& label) {
        SCOPED_TRACE(label);
        EXPECT_EXIT(loadLevelAndEnd(), endsCleanly, atMostOneMessage);
    }
};

} // namespace

TEST_F(MalformedInputTest, TheValidFilesLoad) {
    loadTextures();
    EXPECT_EQ(textureTable.size(), 3u);
    loadLevelFile("Levels\\test.lvl");
    EXPECT_EQ(worldObjects.size(), 7u);
    EXPECT_EQ(flagCount, 1);
}

TEST_F(MalformedInputTest, DamagedTextureFiles) {
    for (const auto& [label, text] : damagedCopies(validTextures, 1)) {
        SCOPED_TRACE(label);
        write("textures.dat", text);
        EXPECT_EXIT(loadTexturesAndEnd(), endsCleanly, atMostOneMessage);
    }
}

TEST_F(MalformedInputTest, DamagedLevelFiles) {
    loadTextures();
    for (const auto& [label, text] : damagedCopies(validLevel, 2)) {
        write("Levels\\test.lvl", text);
        expectLevelEndsCleanly(label);
    }
}

TEST_F(MalformedInputTest, DamagedDefinitions) {
    loadTextures();
    unsigned seed = 3;
    for (const auto& [name, valid] : validDefinitions) {
        for (const auto& [label, text] : damagedCopies(valid, seed++)) {
            write(name, text);
            expectLevelEndsCleanly(std::string(name) + ": " + label);
        }
        write(name, valid);
    }
}

TEST_F(MalformedInputTest, ExtremeNumbers) {
    const std::pair<const char*, const char*> textureFiles[] = {
        {"huge count", "4294967295 % 1 1 0 0 # 1 %"},
        {"huge texture", "1 % 65535 65535 ffffffff ffffffff # 1 2 3 %"},
        {"tall texture", "1 % 1 65535 0 0 # 1 %"},
        {"huge texel", "1 % 1 1 0 0 # fffffffffffff %"},
    };
    for (const auto& [label, text] : textureFiles) {
        SCOPED_TRACE(label);
        write("textures.dat", text);
        EXPECT_EXIT(loadTexturesAndEnd(), endsCleanly, atMostOneMessage);
    }

    loadTextures();
    const std::string players = "2\nFF0000 0000FF\ncar\n1 100000 100000 0\nhq\n1 200000 100000 0\n"
                                "car\n2 300000 300000 0\nhq\n2 400000 300000 0\n";
    const std::pair<const char*, std::string> levels[] = {
        {"huge grid", "T\n65535 65535 0\n"},
        {"widest grid allowed, a wall over all of it",
         "T\n65535 16 0\nwoodwall\n0 0 0 0 4294967295 4294967295 4294967295\n"},
        {"narrowed grid", "T\n65536 65537 0\n"},
        {"huge player count", "T\n4 4 65535\n1 2 3\n"},
        {"narrowed player count", "T\n4 4 65537\nFF\n"},
        {"objects at the far corner of the world",
         "T\n8 8 " + players +
             "stone\n0 4294967295 4294967295 4294967295\n"
             "car\n2 4294967295 4294967295 0\nflag\n0 4294967295 0 0\n"},
        {"tree at the origin", "T\n8 8 " + players + "tree\n0 0 0 0\n"},
        {"box corners at the extremes",
         "T\n8 8 " + players + "woodwall\n0 4294967295 4294967295 4294967295 0 0 0\n"},
        {"owner beyond sixteen bits", "T\n8 8 " + players + "car\n65537 0 0 0\n"},
        {"owner of nobody", "T\n8 8 " + players + "hq\n0 0 0 0\n"},
        {"zero-sized grid with objects", "T\n0 0 " + players},
    };
    write("Objects\\stone.odf",
          "0 0 % 4294967295 4294967295 4294967295 1 1 1 0 0 0 # 4294967295 ffffffff %");
    for (const auto& [label, text] : levels) {
        write("Levels\\test.lvl", text);
        expectLevelEndsCleanly(label);
    }

    write("Levels\\test.lvl", validLevel);
    const std::pair<const char*, const char*> definitions[] = {
        {"kind of 32 bits", "4294967295 0 %"},
        {"two vertices", "0 0 % 0 0 0 1 1 1 # 0 0 %"},
        {"one vertex", "0 0 % 0 0 0 # 0 0 %"},
        {"texture number of 32 bits", "0 0 % 0 0 0 1 1 1 2 2 2 # 4294967295 0 %"},
    };
    for (const auto& [label, text] : definitions) {
        write("Objects\\car.odf", text);
        expectLevelEndsCleanly(label);
    }
}
