// Inputs the text loaders' fuzz targets found something with, replayed through
// the same harness: each must now load or end the program with its message,
// and pass the harness's checks (which abort on a fault).
#include "text_loader_cases.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace fs = std::filesystem;

class LoaderRegressions : public testing::Test {
  protected:
    void SetUp() override { root = text_fuzz::enterRunDirectory(TESSARON_CONTENT_DIR); }
    void TearDown() override {
        setExitHook(nullptr);
        resetTextures();
        fs::current_path(previous);
        fs::remove_all(root);
    }

    // Every file of regressions/<kind>, in name order, with its bytes. A missing
    // or empty folder fails the test: a replay of nothing would pass unseen.
    static std::vector<std::pair<std::string, std::string>> findings(const char* kind) {
        std::vector<std::pair<std::string, std::string>> files;
        const fs::path folder = fs::path(TEXT_REGRESSION_DIR) / kind;
        if (!fs::is_directory(folder)) {
            ADD_FAILURE() << "no folder of findings " << folder;
            return files;
        }
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().filename().string().front() == '.') continue;
            files.emplace_back(entry.path().filename().string(), text_fuzz::readWholeFile(entry.path()));
        }
        std::sort(files.begin(), files.end());
        if (files.empty()) ADD_FAILURE() << "no findings in " << folder;
        return files;
    }
    static const u8* bytes(const std::string& s) { return reinterpret_cast<const u8*>(s.data()); }

    fs::path previous = fs::current_path(), root;
};

} // namespace

// The token reader's and the texture library's targets have found nothing yet;
// their first finding goes into regressions/token or regressions/textures with a
// test like these that replays it (fuzzTokenReader, fuzzTextures).

TEST_F(LoaderRegressions, DefinitionFindingsStaySolved) {
    for (const auto& [name, input] : findings("definition")) {
        SCOPED_TRACE(name);
        text_fuzz::fuzzDefinition(bytes(input), input.size(), TESSARON_CONTENT_DIR);
    }
}

TEST_F(LoaderRegressions, LevelFindingsStaySolved) {
    for (const auto& [name, input] : findings("level")) {
        SCOPED_TRACE(name);
        text_fuzz::fuzzLevel(bytes(input), input.size());
    }
}

TEST_F(LoaderRegressions, TheShippedFilesPassTheHarness) {
    // The harness itself: every shipped level loads and plays its steps.
    for (const auto& entry : fs::directory_iterator(fs::path(TESSARON_CONTENT_DIR) / "Levels")) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string level = text_fuzz::readWholeFile(entry.path());
        text_fuzz::fuzzLevel(bytes(level), level.size());
    }
}
