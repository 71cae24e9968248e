#include "framework/frame_copy.hpp"

#include "gfx/primitives.hpp"

#include <cstring>

namespace {

u32 bytesPerPixel(i32 bitsPerPixel) {
    return static_cast<u32>(bitsPerPixel + 7) / 8;
}

// The colour value of pixel x of a row.
u32 readValue(const u8* row, u32 x, i32 bitsPerPixel) {
    switch (bitsPerPixel) {
    case 32: row += 4 * x; return row[0] | row[1] << 8 | row[2] << 16 | static_cast<u32>(row[3]) << 24;
    case 24: row += 3 * x; return row[0] | row[1] << 8 | row[2] << 16;
    case 15:
    case 16: row += 2 * x; return row[0] | row[1] << 8;
    default: return row[x];
    }
}

struct Rgb {
    u8 r, g, b;
};

// A colour value of a surface with that depth and format as 8-bit channels.
Rgb unpack(u32 value, i32 bitsPerPixel, const PixelFormat& f, const Palette& palette) {
    if (bitsPerPixel <= 8) {
        const PaletteEntry& p = palette[value & 255];
        return {p.red, p.green, p.blue};
    }
    return {static_cast<u8>(expandChannel((value >> f.redPos) & f.redMask, f.redMask)),
            static_cast<u8>(expandChannel((value >> f.greenPos) & f.greenMask, f.greenMask)),
            static_cast<u8>(expandChannel((value >> f.bluePos) & f.blueMask, f.blueMask))};
}

// Pixels of the two can be copied byte for byte (palette surfaces share their
// palette: SetPalette sets both).
bool sameLayout(const DeviceContext& a, const DeviceContext& b) {
    return a.bitsPerPixel == b.bitsPerPixel && (a.bitsPerPixel <= 8 || a.pixelFormat == b.pixelFormat);
}

} // namespace

void copyFrame(const DeviceContext& from, u32 fromWidth, u32 fromHeight, DeviceContext& to, u32 width,
               u32 height) {
    if (width == 0 || height == 0 || fromWidth == 0 || fromHeight == 0) return;
    const bool same = sameLayout(from, to);
    const u32 pixelBytes = bytesPerPixel(to.bitsPerPixel);
    const bool oneToOneRows = same && fromWidth == width;

    // Source column of every destination column, nearest pixel.
    std::vector<u32> columns;
    if (!oneToOneRows) {
        columns.resize(width);
        for (u32 x = 0; x < width; ++x) columns[x] = static_cast<u32>(u64{x} * fromWidth / width);
    }

    const u8* previousSource = nullptr;
    const u8* previousRow = nullptr;
    for (u32 y = 0; y < height; ++y) {
        const u32 sourceY = static_cast<u32>(u64{y} * fromHeight / height);
        const u8* source = from.surface + static_cast<u64>(sourceY) * from.bytesPerLine;
        u8* row = to.surface + static_cast<u64>(y) * to.bytesPerLine;
        if (source == previousSource) {
            // A doubled line is the row just made once more.
            std::memcpy(row, previousRow, width * pixelBytes);
        } else if (oneToOneRows) {
            std::memcpy(row, source, width * pixelBytes);
        } else if (same) {
            for (u32 x = 0; x < width; ++x)
                std::memcpy(row + x * pixelBytes, source + columns[x] * pixelBytes, pixelBytes);
        } else {
            for (u32 x = 0; x < width; ++x) {
                const Rgb c = unpack(readValue(source, columns[x], from.bitsPerPixel), from.bitsPerPixel,
                                     from.pixelFormat, from.palette);
                const u32 value = to.maxColor > 255 ? packRGB(to.pixelFormat, c.r, c.g, c.b)
                                                    : nearestPaletteIndex(to, c.r, c.g, c.b);
                storePixel(to, static_cast<i32>(x), static_cast<i32>(y), value);
            }
        }
        previousSource = source;
        previousRow = row;
    }
}

PresentedFrame presentableFrame(const u8* page, const DeviceContext& layout, const Palette& palette,
                                std::vector<u8>& scratch) {
    const u32 width = surfaceWidth(layout);
    const u32 height = surfaceHeight(layout);
    const u32 pitch = static_cast<u32>(layout.bytesPerLine);
    if (layout.bitsPerPixel == 24 && layout.pixelFormat == pixelFormatRGB24)
        return {page, width, height, pitch};

    scratch.resize(static_cast<size_t>(width) * height * 3);
    u8* out = scratch.data();
    for (u32 y = 0; y < height; ++y) {
        const u8* row = page + static_cast<u64>(y) * pitch;
        for (u32 x = 0; x < width; ++x) {
            const Rgb c = unpack(readValue(row, x, layout.bitsPerPixel), layout.bitsPerPixel,
                                 layout.pixelFormat, palette);
            *out++ = c.b;
            *out++ = c.g;
            *out++ = c.r;
        }
    }
    return {scratch.data(), width, height, width * 3};
}
