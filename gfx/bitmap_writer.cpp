#include "gfx/bitmap_writer.hpp"
#include "base/file_write.hpp"

#include "gfx/primitives.hpp"

#include <cstdio>

namespace {

void put16(std::vector<u8>& out, u32 v) {
    out.push_back(static_cast<u8>(v));
    out.push_back(static_cast<u8>(v >> 8));
}

void put32(std::vector<u8>& out, u32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// The 14-byte file header and the 40-byte information header of an uncompressed,
// bottom-up file.
std::vector<u8> headers(i32 width, i32 height, i32 bits, u32 paletteEntries, u32 imageBytes) {
    const u32 offBits = 54 + paletteEntries * 4;
    std::vector<u8> out;
    out.reserve(offBits + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offBits + imageBytes);
    put32(out, 0);
    put32(out, offBits);
    put32(out, 40);
    put32(out, static_cast<u32>(width));
    put32(out, static_cast<u32>(height));
    put16(out, 1);
    put16(out, static_cast<u32>(bits));
    put32(out, 0); // no compression
    put32(out, imageBytes);
    put32(out, 2835); // 72 dots per inch, in pixels per metre
    put32(out, 2835);
    put32(out, paletteEntries);
    put32(out, 0);
    return out;
}

// Blue, green and red of a packed pixel, widened to 8 bits.
void unpack(const PixelFormat& f, u32 v, u8 bgr[3]) {
    bgr[0] = static_cast<u8>(expandChannel((v >> f.bluePos) & f.blueMask, f.blueMask));
    bgr[1] = static_cast<u8>(expandChannel((v >> f.greenPos) & f.greenMask, f.greenMask));
    bgr[2] = static_cast<u8>(expandChannel((v >> f.redPos) & f.redMask, f.redMask));
}

u32 packedPixel(const u8* row, i32 bits, i32 i) {
    switch (bits) {
    case 15:
    case 16: row += 2 * i; return row[0] | row[1] << 8;
    case 24: row += 3 * i; return row[0] | row[1] << 8 | row[2] << 16;
    default: row += 4 * i; return row[0] | row[1] << 8 | row[2] << 16 | static_cast<u32>(row[3]) << 24;
    }
}

// An empty encoding means the picture or font could not be encoded.
bool writeEncoded(const std::string& path, const std::vector<u8>& bytes) {
    return !bytes.empty() && writeFileBytes(path, bytes);
}

} // namespace

std::vector<u8> encodeBitmap(const Bitmap& bm) {
    if (bm.width <= 0 || bm.height <= 0) return {};
    if (bm.bitsPerPixel == 8) {
        const u32 entries = bm.palette.empty() ? 256 : static_cast<u32>(bm.palette.size());
        const i64 pitch = bitmapBytesPerLine(bm.width, 8);
        std::vector<u8> out = headers(bm.width, bm.height, 8, entries, static_cast<u32>(pitch * bm.height));
        for (u32 i = 0; i < entries; ++i) {
            const PaletteEntry e = bm.palette.empty() ? PaletteEntry{} : bm.palette[i];
            out.insert(out.end(), {e.blue, e.green, e.red, 0});
        }
        for (i32 y = bm.height - 1; y >= 0; --y) {
            out.insert(out.end(), bm.row(y), bm.row(y) + bm.width);
            out.resize(out.size() + static_cast<size_t>(pitch - bm.width), 0);
        }
        return out;
    }
    if (bm.bitsPerPixel <= 8) return {};

    const PixelFormat f = bm.pixelFormat ? *bm.pixelFormat : defaultPixelFormat(bm.bitsPerPixel);
    const i64 pitch = bitmapBytesPerLine(bm.width, 24);
    std::vector<u8> out = headers(bm.width, bm.height, 24, 0, static_cast<u32>(pitch * bm.height));
    for (i32 y = bm.height - 1; y >= 0; --y) {
        const u8* row = bm.row(y);
        for (i32 x = 0; x < bm.width; ++x) {
            u8 bgr[3];
            unpack(f, packedPixel(row, bm.bitsPerPixel, x), bgr);
            out.insert(out.end(), bgr, bgr + 3);
        }
        out.resize(out.size() + static_cast<size_t>(pitch - 3 * i64{bm.width}), 0);
    }
    return out;
}

bool saveRgbaBitmap(const std::string& path, const u8* rgba, i32 width, i32 height) {
    if (width <= 0 || height <= 0) return false;
    const u32 imageBytes = static_cast<u32>(width) * static_cast<u32>(height) * 4;
    std::vector<u8> out = headers(width, height, 32, 0, imageBytes);
    for (i32 y = height - 1; y >= 0; --y) {
        const u8* p = rgba + static_cast<size_t>(y) * width * 4;
        for (i32 x = 0; x < width; ++x, p += 4) out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
    return writeEncoded(path, out);
}

bool saveBitmap(const std::string& path, const Bitmap& bitmap) {
    return writeEncoded(path, encodeBitmap(bitmap));
}

bool saveContextBitmap(const std::string& path, const DeviceContext& dc) {
    const i32 width = dc.deviceRect.right - dc.deviceRect.left;
    const i32 height = dc.deviceRect.bottom - dc.deviceRect.top;
    if (width <= 0 || height <= 0 || !dc.surface) return false;
    Bitmap shot = makeBitmap(width, height, 24);
    for (i32 y = 0; y < height; ++y) {
        u8* out = shot.row(y);
        for (i32 x = 0; x < width; ++x, out += 3) {
            const u32 v = loadPixel(dc, dc.deviceRect.left + x, dc.deviceRect.top + y);
            if (dc.bitsPerPixel > 8) {
                unpack(dc.pixelFormat, v, out);
            } else {
                const PaletteEntry& e = dc.palette[v & 0xFF];
                out[0] = e.blue;
                out[1] = e.green;
                out[2] = e.red;
            }
        }
    }
    return saveBitmap(path, shot);
}
