#include "sim/demo_file.hpp"

#include "base/version.hpp"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr u8 signature[8] = {'T', '3', 'D', 'D', 'E', 'M', 'O', 0x1A};
constexpr u8 extrasFollow = 0x80;
constexpr u8 endMark = 0x80; // in the extras byte
constexpr u8 refillsFollow = 4;
constexpr u8 readsFollow = 8;
constexpr u8 knownExtras = demoToggleFrameCounter | demoToggleOutline | refillsFollow | readsFollow;
constexpr u8 knownSettings = 7;
constexpr size_t bufferBytes = 64 * 1024;
constexpr size_t flushAtBytes = bufferBytes - 2048; // room for the largest record

u32 zigzag(i32 difference) {
    return (static_cast<u32>(difference) << 1) ^ static_cast<u32>(difference >> 31);
}

i32 unzigzag(u32 value) {
    return static_cast<i32>(value >> 1) ^ -static_cast<i32>(value & 1);
}

// Reads the bytes of a demo in order; every read past the end fails softly.
class ByteReader {
  public:
    explicit ByteReader(const std::vector<u8>& bytes) : bytes_(bytes) {}
    size_t at() const { return at_; }
    bool atEnd() const { return at_ >= bytes_.size(); }
    bool has(size_t count) const { return bytes_.size() - at_ >= count; }
    u8 u8At() { return bytes_[at_++]; }
    u16 u16At() {
        const u16 v = static_cast<u16>(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return v;
    }
    u32 u32At() {
        u32 v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | bytes_[at_ + static_cast<size_t>(i)];
        at_ += 4;
        return v;
    }
    u64 u64At() {
        const u64 low = u32At();
        return low | u64{u32At()} << 32;
    }
    // A LEB128 number of at most five bytes; false when it runs past the end or
    // does not fit 32 bits.
    bool varint(u32& value) {
        value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            if (atEnd()) return false;
            const u8 b = u8At();
            if (shift == 28 && (b & 0x70) != 0) return false;
            value |= static_cast<u32>(b & 0x7F) << shift;
            if ((b & 0x80) == 0) return true;
        }
        return false;
    }
    u32 hashBefore(size_t end) const { return fnv1a32(fnvStart32, bytes_.data(), end); }

  private:
    const std::vector<u8>& bytes_;
    size_t at_ = 0;
};

bool validSize(u16 width, u16 height) {
    return (width == 320 && height == 240) || (width == 640 && height == 480);
}

std::string damagedAt(const std::string& name, size_t byte, size_t step) {
    return "Error: the demo " + name + " is damaged at byte " + std::to_string(byte) + " (step " +
           std::to_string(step) + ")!";
}

} // namespace

u32 fnv1a32(u32 hash, const u8* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 16777619u;
    }
    return hash;
}

std::optional<Demo> readDemo(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Error: cannot open the demo " + path + "!";
        return std::nullopt;
    }
    const std::vector<u8> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parseDemo(bytes, path, error);
}

std::optional<Demo> parseDemo(const std::vector<u8>& bytes, const std::string& name, std::string& error) {
    ByteReader r(bytes);
    Demo demo;
    DemoHeader& h = demo.header;

    if (!r.has(sizeof signature) || std::memcmp(bytes.data(), signature, sizeof signature) != 0) {
        error = "Error: " + name + " is not a demo file!";
        return std::nullopt;
    }
    for (size_t i = 0; i < sizeof signature; ++i) r.u8At();
    if (!r.has(8)) {
        error = "Error: the demo " + name + " is cut short in its header!";
        return std::nullopt;
    }
    const u16 format = r.u16At();
    if (format != demoFormatVersion) {
        error = "Error: the demo " + name + " has format " + std::to_string(format) +
                "; this game plays format " + std::to_string(demoFormatVersion) + "!";
        return std::nullopt;
    }
    h.versionMajor = r.u16At();
    h.versionMinor = r.u16At();
    h.versionPatch = r.u16At();
    if (h.versionMajor != gameVersionMajor || h.versionMinor != gameVersionMinor ||
        h.versionPatch != gameVersionPatch) {
        error = "Error: the demo " + name + " was recorded by version " + std::to_string(h.versionMajor) +
                "." + std::to_string(h.versionMinor) + "." + std::to_string(h.versionPatch) +
                " of the game; this is version " + gameVersionText + "!";
        return std::nullopt;
    }
    if (!r.has(11)) {
        error = "Error: the demo " + name + " is cut short in its header!";
        return std::nullopt;
    }
    h.playerChoice = r.u8At();
    const u8 settings = r.u8At();
    h.cockpit = settings & 1;
    h.windowed = (settings >> 1) & 1;
    h.realisticSky = (settings >> 2) & 1;
    h.width = r.u16At();
    h.height = r.u16At();
    h.startSeconds = r.u32At();
    const u8 nameLength = r.u8At();
    if (!r.has(nameLength)) {
        error = "Error: the demo " + name + " is cut short in its header!";
        return std::nullopt;
    }
    for (u8 i = 0; i < nameLength; ++i) h.levelFile += static_cast<char>(r.u8At());
    if ((h.playerChoice != 2 && h.playerChoice != 3) || (settings & ~knownSettings) != 0 ||
        !validSize(h.width, h.height) || nameLength == 0 || h.levelFile.find('\0') != std::string::npos) {
        error = "Error: the demo " + name + " has settings no match can have!";
        return std::nullopt;
    }

    // The body. A record cut short by the end of the file ends the demo there.
    u32 lastRead = h.startSeconds;
    while (!r.atEnd()) {
        const size_t recordAt = r.at();
        const size_t stepNumber = demo.steps.size() + 1;
        DemoStep step;
        step.controls = r.u8At();
        step.firstClockRead = static_cast<u32>(demo.clockReads.size());
        if (step.controls & extrasFollow) {
            if (r.atEnd()) break;
            const u8 extras = r.u8At();
            if (extras == endMark && step.controls == extrasFollow) {
                if (!r.has(16)) break;
                const u32 steps = r.u32At();
                demo.digest = r.u64At();
                const size_t hashAt = r.at();
                if (steps != demo.steps.size() || r.u32At() != r.hashBefore(hashAt) || !r.atEnd()) {
                    error = damagedAt(name, recordAt, demo.steps.size());
                    return std::nullopt;
                }
                demo.complete = true;
                break;
            }
            if (extras == 0 || (extras & ~knownExtras) != 0) {
                error = damagedAt(name, recordAt, stepNumber);
                return std::nullopt;
            }
            step.controls &= static_cast<u8>(~extrasFollow);
            step.toggles = extras & (demoToggleFrameCounter | demoToggleOutline);
            bool cut = false;
            if (extras & refillsFollow) {
                if (r.atEnd()) break;
                step.refills = r.u8At();
                if (step.refills == 0) {
                    error = damagedAt(name, recordAt, stepNumber);
                    return std::nullopt;
                }
            }
            if (extras & readsFollow) {
                if (r.atEnd()) break;
                step.clockReads = r.u8At();
                if (step.clockReads == 0) {
                    error = damagedAt(name, recordAt, stepNumber);
                    return std::nullopt;
                }
                for (u8 i = 0; i < step.clockReads && !cut; ++i) {
                    u32 packed = 0;
                    if (!r.varint(packed)) {
                        cut = true;
                        break;
                    }
                    lastRead = static_cast<u32>(static_cast<i64>(lastRead) + unzigzag(packed));
                    demo.clockReads.push_back(lastRead);
                }
            }
            if (cut) {
                // A number cut by the end of the file ends the demo; one that is
                // too long in the middle of it is damage.
                if (!r.atEnd()) {
                    error = damagedAt(name, recordAt, stepNumber);
                    return std::nullopt;
                }
                demo.clockReads.resize(step.firstClockRead);
                break;
            }
        }
        demo.steps.push_back(step);

        if (demo.steps.size() % demoCheckInterval == 0) {
            if (!r.has(8)) {
                // The step stands only with its check record after it.
                demo.steps.pop_back();
                demo.clockReads.resize(step.firstClockRead);
                break;
            }
            const size_t checkAt = r.at();
            const u32 check = r.u32At();
            if (r.u32At() != r.hashBefore(checkAt)) {
                error = damagedAt(name, checkAt, demo.steps.size());
                return std::nullopt;
            }
            demo.checks.push_back(check);
        }
    }
    return demo;
}

// ---- Writing ----

DemoWriter::~DemoWriter() {
    if (file_) std::fclose(file_);
}

bool DemoWriter::open(const std::string& path, const DemoHeader& header) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    buffer_.clear();
    buffer_.reserve(bufferBytes);
    hash_ = fnvStart32;
    lastRead_ = header.startSeconds;
    for (u8 b : signature) put(b);
    put16(demoFormatVersion);
    put16(gameVersionMajor);
    put16(gameVersionMinor);
    put16(gameVersionPatch);
    put(static_cast<u8>(header.playerChoice));
    put(static_cast<u8>((header.cockpit & 1) | (header.windowed & 1) << 1 | (header.realisticSky & 1) << 2));
    put16(header.width);
    put16(header.height);
    put32(header.startSeconds);
    const size_t length = std::min<size_t>(header.levelFile.size(), 255);
    put(static_cast<u8>(length));
    for (size_t i = 0; i < length; ++i) put(static_cast<u8>(header.levelFile[i]));
    flush();
    return true;
}

void DemoWriter::step(const DemoStep& step, const u32* reads, u32 readCount) {
    if (!file_) return;
    if (readCount > 255) readCount = 255;
    u8 extras = step.toggles & (demoToggleFrameCounter | demoToggleOutline);
    if (step.refills != 0) extras |= refillsFollow;
    if (readCount != 0) extras |= readsFollow;
    put(static_cast<u8>((step.controls & 0x7F) | (extras != 0 ? extrasFollow : 0)));
    if (extras == 0) return;
    put(extras);
    if (step.refills != 0) put(step.refills);
    if (readCount != 0) {
        put(static_cast<u8>(readCount));
        for (u32 i = 0; i < readCount; ++i) {
            putVarint(zigzag(static_cast<i32>(reads[i] - lastRead_)));
            lastRead_ = reads[i];
        }
    }
    if (buffer_.size() >= flushAtBytes) flush();
}

void DemoWriter::check(u32 checkValue) {
    if (!file_) return;
    const u32 before = hash_;
    put32(checkValue);
    put32(before);
}

void DemoWriter::finish(u32 steps, u64 digest) {
    if (!file_) return;
    put(extrasFollow);
    put(endMark);
    put32(steps);
    put64(digest);
    put32(hash_);
    flush();
    std::fclose(file_);
    file_ = nullptr;
}

void DemoWriter::flush() {
    if (!file_) return;
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    buffer_.clear();
    std::fflush(file_);
}

void DemoWriter::put(u8 byte) {
    buffer_.push_back(byte);
    hash_ = fnv1a32(hash_, &byte, 1);
}

void DemoWriter::put16(u16 value) {
    put(static_cast<u8>(value));
    put(static_cast<u8>(value >> 8));
}

void DemoWriter::put32(u32 value) {
    for (int i = 0; i < 4; ++i) put(static_cast<u8>(value >> (8 * i)));
}

void DemoWriter::put64(u64 value) {
    put32(static_cast<u32>(value));
    put32(static_cast<u32>(value >> 32));
}

void DemoWriter::putVarint(u32 value) {
    while (value >= 0x80) {
        put(static_cast<u8>(value | 0x80));
        value >>= 7;
    }
    put(static_cast<u8>(value));
}
