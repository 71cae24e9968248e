#include "base/data_file.hpp"
#include "tests/support/run_directory.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Runs each test inside a fresh directory holding a few data files.
class DataFileTest : public testing::Test {
  protected:
    void SetUp() override {
        RunDirectory::write("Levels/Level-A.lvl", "level");
        RunDirectory::write("objects/Stone1.odf", "stone");
        RunDirectory::write("textures.dat", "0 %");
    }

    static std::string contents(std::FILE* f) {
        std::string s;
        for (int c; (c = std::fgetc(f)) != EOF;) s += static_cast<char>(c);
        std::fclose(f);
        return s;
    }

    RunDirectory run{RunDirectory::Fresh};
    const fs::path root = run.root();
};

} // namespace

TEST_F(DataFileTest, BackslashesBecomeSlashes) {
    EXPECT_EQ(toSlashPath("Levels\\Level-A.lvl"), "Levels/Level-A.lvl");
    std::FILE* f = openDataFile("Levels\\Level-A.lvl");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(contents(f), "level");
}

TEST_F(DataFileTest, EveryComponentIsMatchedWithoutRegardToCase) {
    EXPECT_EQ(findDataFile("Objects\\stone1.odf"), "objects/Stone1.odf");
    EXPECT_EQ(findDataFile("LEVELS\\level-a.LVL"), "Levels/Level-A.lvl");
    EXPECT_EQ(findDataFile("TEXTURES.DAT"), "textures.dat");
    std::FILE* f = openDataFile("OBJECTS\\STONE1.ODF");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(contents(f), "stone");
}

TEST_F(DataFileTest, MissingFilesAndDirectoriesGiveNothing) {
    EXPECT_EQ(openDataFile("Levels\\Level-Z.lvl"), nullptr);
    EXPECT_EQ(openDataFile("Nowhere\\Level-A.lvl"), nullptr);
    EXPECT_EQ(openDataFile(""), nullptr);
    EXPECT_EQ(findDataFile("Levels\\Level-A.lvl\\more"), "");
}

TEST_F(DataFileTest, AnExactNameWinsOverACaseFoldedOne) {
    std::ofstream(root / "Levels" / "level-a.lvl") << "lower";
    std::FILE* f = openDataFile("Levels\\level-a.lvl");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(contents(f), "lower");
}
