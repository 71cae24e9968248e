#include "tools/headless_run/png_writer.hpp"

#include "base/file_write.hpp"

#include <zlib.h>

#include <vector>

namespace {

void put32(std::vector<u8>& out, u32 value) {
    out.push_back(static_cast<u8>(value >> 24));
    out.push_back(static_cast<u8>(value >> 16));
    out.push_back(static_cast<u8>(value >> 8));
    out.push_back(static_cast<u8>(value));
}

// A chunk: length, type, data, and the CRC of type and data.
void putChunk(std::vector<u8>& out, const char* type, const std::vector<u8>& data) {
    put32(out, static_cast<u32>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    put32(out, static_cast<u32>(crc));
}

} // namespace

bool savePng(const std::string& path, const u8* pixels, u32 width, u32 height, u32 bytesPerLine) {
    // Each row: filter byte 0, then red, green, blue per pixel.
    std::vector<u8> raw;
    raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
    for (u32 y = 0; y < height; ++y) {
        raw.push_back(0);
        const u8* row = pixels + static_cast<size_t>(y) * bytesPerLine;
        for (u32 x = 0; x < width; ++x) {
            raw.push_back(row[3 * x + 2]);
            raw.push_back(row[3 * x + 1]);
            raw.push_back(row[3 * x]);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<u8> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<u8> header;
    put32(header, width);
    put32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits per channel, RGB, no interlace

    std::vector<u8> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    return writeFileBytes(path, file);
}
