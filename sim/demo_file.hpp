#pragma once
// Demo files: a recorded match, kept as what the human did in every simulation
// step and what the clock said, so that the match replays exactly.
//
// The layout is binary, little-endian throughout (docs/demo_format.md has the
// same with examples):
//
//   Header
//     8 bytes  signature "T3DDEMO" and 0x1A
//     u16      format version (demoFormatVersion)
//     u16 x 3  the game's version that recorded it: major, minor, patch
//     u8       players chosen in the menu (2 or 3; the win rule)
//     u8       settings: bit 0 cockpit, bit 1 windowed, bit 2 realistic sky;
//              the other bits are 0
//     u16 x 2  the match's width and height (320 x 240 or 640 x 480)
//     u32      the clock's whole seconds when the match started
//     u8       length n of the level's file name (1 to 255)
//     n bytes  the level's file name as the game names it ("Levels\Level-A.lvl")
//
//   One step record per simulation step, in order
//     u8       the human's controls as the step begins: bit 0 accelerate,
//              1 brake, 2 turnLeft, 3 turnRight, 4 dropFlag, 5 layMine, 6 fire;
//              bit 7: an extras byte follows
//     [u8]     extras: bit 0 the frame counter switched (F) since the step
//              before, bit 1 outline drawing switched (F10), bit 2 refills
//              follow, bit 3 clock reads follow; bits 4 to 6 are 0. A step
//              record never has extras 0; bit 7 marks the end record instead.
//     [u8]     keypad-plus refills made before the step (1 to 255)
//     [u8]     clock reads the step made (1 to 255), then each read as a
//              zigzag LEB128 number: its difference from the read before
//              (the first read of the file from the start seconds)
//
//   After every 35th step record, a check record
//     u32      check value of the match state after that step (matchCheckValue)
//     u32      FNV-1a (32 bits) of every byte of the file before this record
//
//   At the end, once: the end record
//     u8 x 2   0x80 0x80
//     u32      number of steps
//     u64      digest of the match state after the last step (matchDigest)
//     u32      FNV-1a (32 bits) of every byte of the file before this field
//
// A recording that was cut short (the program killed, the machine gone) has no
// end record: it is still a demo, of its complete step records. Anything after
// the end record, a wrong hash, a reserved bit set or a zero count is damage.
#include "base/types.hpp"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

inline constexpr u16 demoFormatVersion = 1;
inline constexpr u32 demoCheckInterval = 35; // steps between two check records

// Bits of a step record's controls byte.
enum DemoControl : u8 {
    demoAccelerate = 1,
    demoBrake = 2,
    demoTurnLeft = 4,
    demoTurnRight = 8,
    demoDropFlag = 16,
    demoLayMine = 32,
    demoFire = 64,
};

// Bits of a step record's extras byte.
enum DemoToggle : u8 {
    demoToggleFrameCounter = 1,
    demoToggleOutline = 2,
};

struct DemoHeader {
    u16 playerChoice = 2;
    u16 width = 320;
    u16 height = 240;
    u32 cockpit = 0;
    u32 windowed = 0;
    u32 realisticSky = 0;
    u32 startSeconds = 0;
    std::string levelFile;
    // The game version that recorded it (only read; a writer writes its own).
    u16 versionMajor = 0;
    u16 versionMinor = 0;
    u16 versionPatch = 0;
};

// One simulation step as recorded.
struct DemoStep {
    u8 controls = 0;        // DemoControl bits
    u8 toggles = 0;         // DemoToggle bits
    u8 refills = 0;         // keypad-plus presses before the step
    u8 clockReads = 0;      // how many of Demo::clockReads belong to this step
    u32 firstClockRead = 0; // index of its first read in Demo::clockReads
};

struct Demo {
    DemoHeader header;
    std::vector<DemoStep> steps;
    std::vector<u32> clockReads; // every clock value read, in order
    std::vector<u32> checks;     // check value after step 35, 70, ...
    bool complete = false;       // the end record is there
    u64 digest = 0;              // valid when complete
};

// Reads a whole demo file. On failure returns no demo and puts one line (without
// its newline) that says what is wrong into `error`.
std::optional<Demo> readDemo(const std::string& path, std::string& error);
// The same from the file's bytes; `name` is the file name used in messages.
std::optional<Demo> parseDemo(const std::vector<u8>& bytes, const std::string& name, std::string& error);

// Writes a demo as the match goes. Bytes collect in a buffer reserved at the
// start and go to the file when flush() is called (the recorder does so about
// once a second) or when the buffer is nearly full: nothing is allocated or
// flushed per step.
class DemoWriter {
  public:
    DemoWriter() = default;
    DemoWriter(const DemoWriter&) = delete;
    DemoWriter& operator=(const DemoWriter&) = delete;
    ~DemoWriter();

    // Creates the file and writes the header; false when it cannot be created.
    bool open(const std::string& path, const DemoHeader& header);
    bool isOpen() const { return file_ != nullptr; }

    // One step record; `reads` are the clock values the step read (at most 255).
    void step(const DemoStep& step, const u32* reads, u32 readCount);
    // The check record after every 35th step.
    void check(u32 checkValue);
    // The end record, then everything goes to the file and the file is closed.
    void finish(u32 steps, u64 digest);
    // Hands the buffered bytes to the file and the system.
    void flush();

  private:
    void put(u8 byte);
    void put16(u16 value);
    void put32(u32 value);
    void put64(u64 value);
    void putVarint(u32 zigzag);

    std::FILE* file_ = nullptr;
    std::vector<u8> buffer_;
    u32 hash_ = 0;     // FNV-1a of every byte put so far
    u32 lastRead_ = 0; // the clock read before, for the differences
};

// FNV-1a, 32 bits, continued from `hash` (start with fnvStart32).
inline constexpr u32 fnvStart32 = 2166136261u;
u32 fnv1a32(u32 hash, const u8* bytes, size_t size);
