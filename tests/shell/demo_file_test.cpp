// Demo files: what the writer writes the reader reads back, a recording cut short
// still plays to its last whole step, and every kind of bad file ends the program
// with one line and exit code 1, never a crash.
#include "base/program_exit.hpp"
#include "shell/command_line.hpp"
#include "shell/demo.hpp"
#include "sim/demo_file.hpp"
#include "tests/support/run_directory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<u8> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& path, const std::vector<u8>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

DemoHeader sampleHeader() {
    DemoHeader h;
    h.playerChoice = 3;
    h.width = 640;
    h.height = 480;
    h.cockpit = 1;
    h.realisticSky = 1;
    h.startSeconds = 1'000'000'000;
    h.levelFile = "Levels\\Level-C.lvl";
    return h;
}

// 80 steps of every kind: plain, with switches, refills and clock reads that go
// forward, stand still and go back (a clock set back).
Demo sampleDemo() {
    Demo d;
    d.header = sampleHeader();
    u32 clock = d.header.startSeconds;
    for (u32 i = 0; i < 80; ++i) {
        DemoStep s;
        s.controls = static_cast<u8>((i * 37) & 0x7F);
        s.toggles = i % 9 == 0 ? demoToggleOutline : i % 13 == 0 ? demoToggleFrameCounter : 0;
        s.refills = i % 17 == 0 ? static_cast<u8>(1 + i % 3) : 0;
        s.firstClockRead = static_cast<u32>(d.clockReads.size());
        if (i % 5 == 0) {
            s.clockReads = static_cast<u8>(1 + i % 4);
            for (u8 k = 0; k < s.clockReads; ++k) {
                clock = i == 40 ? clock - 3600 : clock + (k % 2);
                d.clockReads.push_back(clock);
            }
        }
        d.steps.push_back(s);
        if ((i + 1) % demoCheckInterval == 0) d.checks.push_back(0xC0DE0000u + i);
    }
    d.complete = true;
    d.digest = 0x0123456789ABCDEFull;
    return d;
}

void writeDemo(const fs::path& path, const Demo& d, bool withEnd = true) {
    DemoWriter w;
    ASSERT_TRUE(w.open(path.string(), d.header));
    for (size_t i = 0; i < d.steps.size(); ++i) {
        const DemoStep& s = d.steps[i];
        w.step(s, d.clockReads.data() + s.firstClockRead, s.clockReads);
        if ((i + 1) % demoCheckInterval == 0) w.check(d.checks[(i + 1) / demoCheckInterval - 1]);
    }
    if (withEnd)
        w.finish(static_cast<u32>(d.steps.size()), d.digest);
    else
        w.flush();
}

void expectSameSteps(const Demo& a, const Demo& b, size_t count) {
    ASSERT_GE(a.steps.size(), count);
    ASSERT_GE(b.steps.size(), count);
    for (size_t i = 0; i < count; ++i) {
        const DemoStep &x = a.steps[i], &y = b.steps[i];
        EXPECT_EQ(x.controls, y.controls) << "step " << i;
        EXPECT_EQ(x.toggles, y.toggles) << "step " << i;
        EXPECT_EQ(x.refills, y.refills) << "step " << i;
        ASSERT_EQ(x.clockReads, y.clockReads) << "step " << i;
        for (u8 k = 0; k < x.clockReads; ++k)
            EXPECT_EQ(a.clockReads[x.firstClockRead + k], b.clockReads[y.firstClockRead + k]);
    }
}

class DemoFile : public testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tessaron-demo-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::remove_all(dir);
        resetDemo();
    }
    fs::path dir;
    RunDirectory run{RunDirectory::Shipped}; // levels are looked for in the run directory
};

} // namespace

TEST_F(DemoFile, ReadsBackEverythingTheWriterWrote) {
    const Demo d = sampleDemo();
    writeDemo(dir / "a.dem", d);
    std::string error;
    const std::optional<Demo> back = readDemo((dir / "a.dem").string(), error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->header.playerChoice, 3);
    EXPECT_EQ(back->header.width, 640);
    EXPECT_EQ(back->header.height, 480);
    EXPECT_EQ(back->header.cockpit, 1u);
    EXPECT_EQ(back->header.windowed, 0u);
    EXPECT_EQ(back->header.realisticSky, 1u);
    EXPECT_EQ(back->header.startSeconds, d.header.startSeconds);
    EXPECT_EQ(back->header.levelFile, "Levels\\Level-C.lvl");
    EXPECT_EQ(back->steps.size(), 80u);
    expectSameSteps(*back, d, 80);
    EXPECT_EQ(back->checks, d.checks);
    EXPECT_TRUE(back->complete);
    EXPECT_EQ(back->digest, d.digest);
    // Most steps cost one byte: the file stays small.
    EXPECT_LT(fs::file_size(dir / "a.dem"), 80u * 4 + 100);
}

TEST_F(DemoFile, ARecordingCutShortPlaysToItsLastWholeStep) {
    const Demo d = sampleDemo();
    writeDemo(dir / "full.dem", d);
    const std::vector<u8> full = fileBytes(dir / "full.dem");
    size_t lastSteps = 0;
    const size_t headerSize = 27 + d.header.levelFile.size();
    for (size_t length = headerSize; length < full.size(); ++length) {
        std::string error;
        const std::optional<Demo> cut = parseDemo(
            std::vector<u8>(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length)), "cut", error);
        ASSERT_TRUE(cut) << "cut at " << length << ": " << error;
        EXPECT_FALSE(cut->complete);
        EXPECT_GE(cut->steps.size(), lastSteps) << "cut at " << length;
        lastSteps = cut->steps.size();
        expectSameSteps(*cut, d, cut->steps.size());
        // A step at a check point stands only with its check value.
        EXPECT_EQ(cut->checks.size(), cut->steps.size() / demoCheckInterval);
    }
    EXPECT_EQ(lastSteps, 80u); // all but the end record
    // Cut within the header: not a demo at all.
    std::string error;
    EXPECT_FALSE(parseDemo(std::vector<u8>(full.begin(), full.begin() + 20), "short.dem", error));
    EXPECT_EQ(error, "Error: the demo short.dem is cut short in its header!");
}

TEST_F(DemoFile, DamagedBytesAreFoundOrLeaveAValidDemoButNeverCrash) {
    const Demo d = sampleDemo();
    writeDemo(dir / "full.dem", d);
    const std::vector<u8> full = fileBytes(dir / "full.dem");
    u32 state = 2463534242u; // xorshift, fixed seed: a failure can be replayed
    auto random = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    u32 refused = 0;
    for (int m = 0; m < 3000; ++m) {
        std::vector<u8> damaged = full;
        for (u32 k = 1 + random() % 3; k > 0; --k)
            damaged[random() % damaged.size()] ^= static_cast<u8>(1 + random() % 255);
        std::string error;
        if (!parseDemo(damaged, "x.dem", error)) {
            ++refused;
            EXPECT_EQ(error.rfind("Error: ", 0), 0u) << error;
            EXPECT_EQ(error.find('\n'), std::string::npos);
        }
    }
    // The hashes find nearly every change.
    EXPECT_GT(refused, 2900u);
}

TEST_F(DemoFile, TheShippedDemosReadAndRewriteByteForByte) {
    u32 found = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(TESSARON_DATA_DIR) / "demos")) {
        std::string error;
        const std::optional<Demo> d = readDemo(entry.path().string(), error);
        ASSERT_TRUE(d) << error;
        EXPECT_TRUE(d->complete) << entry.path();
        EXPECT_GE(d->steps.size(), 2000u) << entry.path();
        EXPECT_FALSE(d->clockReads.empty())
            << entry.path() << ": the computer players never ran into anything";
        writeDemo(dir / "again.dem", *d);
        EXPECT_EQ(fileBytes(dir / "again.dem"), fileBytes(entry.path())) << entry.path();
        ++found;
    }
    EXPECT_EQ(found, 4u); // one a level
}

// ---- Bad files end the program with one line and exit code 1 ----

namespace {

void expectRefused(const fs::path& path, const std::string& message) {
    EXPECT_EXIT(prepareDemo({DemoMode::Play, path.string()}), testing::ExitedWithCode(1),
                "^" + message + "\n$")
        << path;
}

// The sample demo's bytes with `patch` applied at `offset`.
std::vector<u8> patched(const fs::path& sample, size_t offset, std::initializer_list<u8> patch) {
    std::vector<u8> bytes = fileBytes(sample);
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

std::string escaped(std::string text) {
    std::string out;
    for (char c : text) {
        if (std::string("\\.[](){}*+?^$|").find(c) != std::string::npos) out += '\\';
        out += c;
    }
    return out;
}

} // namespace

TEST_F(DemoFile, BadFilesEndTheProgramWithOneLineAndExitCodeOne) {
    Demo d = sampleDemo();
    const fs::path good = dir / "good.dem";
    writeDemo(good, d);
    const std::string at = escaped(dir.string()) + "/";

    expectRefused(dir / "missing.dem", "Error: cannot open the demo " + at + "missing\\.dem!");

    writeFile(dir / "sig.dem", patched(good, 0, {'M', 'Z'}));
    expectRefused(dir / "sig.dem", "Error: " + at + "sig\\.dem is not a demo file!");
    writeFile(dir / "empty.dem", {});
    expectRefused(dir / "empty.dem", "Error: " + at + "empty\\.dem is not a demo file!");

    writeFile(dir / "format.dem", patched(good, 8, {2, 0}));
    expectRefused(dir / "format.dem",
                  "Error: the demo " + at + "format\\.dem has format 2; this game plays format 1!");

    writeFile(dir / "version.dem", patched(good, 10, {0, 0, 9, 0, 0, 0}));
    expectRefused(dir / "version.dem", "Error: the demo " + at +
                                           "version\\.dem was recorded by version 0\\.9\\.0 of the "
                                           "game; this is version [0-9]+\\.[0-9]+\\.[0-9]+!");

    std::vector<u8> header = fileBytes(good);
    header.resize(30);
    writeFile(dir / "header.dem", header);
    expectRefused(dir / "header.dem", "Error: the demo " + at + "header\\.dem is cut short in its header!");

    writeFile(dir / "size.dem", patched(good, 18, {0x20, 0x03})); // 800 wide
    expectRefused(dir / "size.dem", "Error: the demo " + at + "size\\.dem has settings no match can have!");

    const size_t body = 27 + d.header.levelFile.size();
    std::vector<u8> flipped = fileBytes(good);
    flipped[body + 5] ^= 0x01; // step 2's accelerate (step 1 takes five bytes)
    writeFile(dir / "flipped.dem", flipped);
    expectRefused(dir / "flipped.dem",
                  "Error: the demo " + at + "flipped\\.dem is damaged at byte [0-9]+ \\(step 35\\)!");

    std::vector<u8> extra = fileBytes(good);
    extra.push_back(0);
    writeFile(dir / "extra.dem", extra);
    expectRefused(dir / "extra.dem",
                  "Error: the demo " + at + "extra\\.dem is damaged at byte [0-9]+ \\(step 80\\)!");

    Demo reserved = d;
    reserved.steps.resize(3);
    reserved.checks.clear();
    writeDemo(dir / "reserved.dem", reserved);
    std::vector<u8> bits = fileBytes(dir / "reserved.dem");
    bits[body] = 0x80;     // extras follow ...
    bits[body + 1] = 0x10; // ... with a reserved bit
    writeFile(dir / "reserved.dem", bits);
    expectRefused(dir / "reserved.dem", "Error: the demo " + at + "reserved\\.dem is damaged at byte " +
                                            std::to_string(body) + " \\(step 1\\)!");

    d.header.levelFile = "Levels\\Level-E.lvl";
    writeDemo(dir / "level.dem", d);
    expectRefused(dir / "level.dem", "Error: the level Levels\\\\Level-E\\.lvl of the demo " + at +
                                         "level\\.dem does not exist!");
}

TEST_F(DemoFile, ARecordingThatCannotBeWrittenIsRefusedAtStartUp) {
    EXPECT_EXIT(prepareDemo({DemoMode::Record, (dir / "no" / "such" / "dir.dem").string()}),
                testing::ExitedWithCode(1), "^Error: cannot write the demo .*dir\\.dem!\n$");
}
