// Drawing bitmaps into a device context: rows copied as they are when the formats
// match, otherwise every pixel converted through the bitmap's palette or pixel format.
#include "gfx/bitmap.hpp"

#include "gfx/gfx_error.hpp"
#include "gfx/primitives.hpp"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The part of a bitmap that lands inside the drawable rectangle.
struct Placement {
    i32 x = 0, y = 0;       // viewport position of the first pixel drawn
    i32 srcX = 0, srcY = 0; // that pixel in the bitmap
    i32 width = 0, height = 0;
};

bool place(const DeviceContext& dc, i32 x, i32 y, const Bitmap& bm, Placement& out) {
    const Rect b = drawableRect(dc);
    const i64 left = std::max<i64>(x, b.left);
    const i64 top = std::max<i64>(y, b.top);
    const i64 right = std::min<i64>(static_cast<i64>(x) + bm.width, b.right);
    const i64 bottom = std::min<i64>(static_cast<i64>(y) + bm.height, b.bottom);
    if (left >= right || top >= bottom) return false;
    out =
        Placement{static_cast<i32>(left),    static_cast<i32>(top),          static_cast<i32>(left - x),
                  static_cast<i32>(top - y), static_cast<i32>(right - left), static_cast<i32>(bottom - top)};
    return true;
}

i32 bytesPerPixel(i32 bits) {
    return bits == 15 ? 2 : bits / 8;
}

// Pixel i of a bitmap row, as stored.
u32 sourcePixel(const u8* row, i32 bits, i32 i) {
    switch (bits) {
    case 1: return (row[i >> 3] >> (7 - (i & 7))) & 1;
    case 4: return (row[i >> 1] >> ((i & 1) ? 0 : 4)) & 15;
    case 8: return row[i];
    case 15:
    case 16: row += 2 * i; return row[0] | row[1] << 8;
    case 24: row += 3 * i; return row[0] | row[1] << 8 | row[2] << 16;
    default: row += 4 * i; return row[0] | row[1] << 8 | row[2] << 16 | static_cast<u32>(row[3]) << 24;
    }
}

// True when the bitmap's pixel values mean the same colours in the context.
bool sameFormat(const DeviceContext& dc, const Bitmap& bm) {
    if (bm.bitsPerPixel != dc.bitsPerPixel) return false;
    if (bm.bitsPerPixel > 8) return bm.pixelFormat && sameChannelLayout(*bm.pixelFormat, dc.pixelFormat);
    // A short palette leaves indices that must read as black, not as the context's entries.
    if (!bm.palette.empty() && bm.palette.size() < (size_t{1} << bm.bitsPerPixel)) return false;
    for (size_t i = 0; i < bm.palette.size() && i < dc.palette.size(); ++i) {
        const PaletteEntry& a = bm.palette[i];
        const PaletteEntry& b = dc.palette[i];
        if (a.red != b.red || a.green != b.green || a.blue != b.blue) return false;
    }
    return true;
}

// Turns a bitmap's pixel values into the context's colour values.
class PixelConverter {
  public:
    PixelConverter(const DeviceContext& dc, const Bitmap& bm) : dc_(dc) {
        if (bm.bitsPerPixel <= 8) {
            // An index beyond the bitmap's palette reads a zero-filled entry: black.
            // Without a palette the indices are the context's own.
            indexed_ = true;
            for (size_t i = 0; i < table_.size(); ++i) {
                if (bm.palette.empty())
                    table_[i] = dc.colorTable[i];
                else if (i < bm.palette.size())
                    table_[i] = packColor(dc, bm.palette[i].red, bm.palette[i].green, bm.palette[i].blue);
                else
                    table_[i] = packColor(dc, 0, 0, 0);
            }
            return;
        }
        format_ = bm.pixelFormat ? *bm.pixelFormat : defaultPixelFormat(bm.bitsPerPixel);
        // Channel values widened to 8 bits, by table: each mask is at most 255.
        for (u32 v = 0; v < 256; ++v) {
            red_[v] = static_cast<u8>(expandChannel(v & format_.redMask, format_.redMask));
            green_[v] = static_cast<u8>(expandChannel(v & format_.greenMask, format_.greenMask));
            blue_[v] = static_cast<u8>(expandChannel(v & format_.blueMask, format_.blueMask));
        }
    }

    u32 operator()(u32 v) const {
        if (indexed_) return table_[v & 0xFF];
        return packColor(dc_, red_[(v >> format_.redPos) & format_.redMask],
                         green_[(v >> format_.greenPos) & format_.greenMask],
                         blue_[(v >> format_.bluePos) & format_.blueMask]);
    }

  private:
    const DeviceContext& dc_;
    bool indexed_ = false;
    std::array<u32, 256> table_{};
    PixelFormat format_{};
    std::array<u8, 256> red_{}, green_{}, blue_{};
};

void copyRows(DeviceContext& dc, const Bitmap& bm, const Placement& p) {
    const i32 bpp = bytesPerPixel(dc.bitsPerPixel);
    const size_t bytes = static_cast<size_t>(p.width) * bpp;
    for (i32 j = 0; j < p.height; ++j) {
        u8* dst = dc.surface + static_cast<i64>(p.y + j + dc.viewport.top) * dc.bytesPerLine +
                  static_cast<i64>(p.x + dc.viewport.left) * bpp;
        std::memcpy(dst, bm.row(p.srcY + j) + static_cast<i64>(p.srcX) * bpp, bytes);
    }
}

// Same-format transparent drawing, the cockpit's path every frame: raw values are
// compared and copied, B bytes per pixel, without converting.
template <int B>
void copyOpaquePixels(DeviceContext& dc, const Bitmap& bm, const Placement& p, u32 transparent) {
    for (i32 j = 0; j < p.height; ++j) {
        const u8* src = bm.row(p.srcY + j) + static_cast<i64>(p.srcX) * B;
        u8* dst = dc.surface + static_cast<i64>(p.y + j + dc.viewport.top) * dc.bytesPerLine +
                  static_cast<i64>(p.x + dc.viewport.left) * B;
        for (i32 i = 0; i < p.width; ++i, src += B, dst += B) {
            u32 v = src[0];
            if constexpr (B >= 2) v |= src[1] << 8;
            if constexpr (B >= 3) v |= src[2] << 16;
            if constexpr (B >= 4) v |= static_cast<u32>(src[3]) << 24;
            if (v != transparent) std::memcpy(dst, src, B);
        }
    }
}

// Same depth but another channel order still draws in the right colours.
void drawConvertedOpaquePixels(DeviceContext& dc, const Bitmap& bm, const Placement& p, u32 transparent) {
    const i32 originX = p.x + dc.viewport.left;
    const i32 originY = p.y + dc.viewport.top;
    const PixelConverter convert(dc, bm);
    for (i32 j = 0; j < p.height; ++j) {
        const u8* row = bm.row(p.srcY + j);
        for (i32 i = 0; i < p.width; ++i) {
            const u32 v = sourcePixel(row, bm.bitsPerPixel, p.srcX + i);
            if (v != transparent) storePixel(dc, originX + i, originY + j, convert(v));
        }
    }
}

} // namespace

void putBitmap(DeviceContext& dc, i32 x, i32 y, const Bitmap* bitmap, int /*writeMode*/) {
    Placement p;
    if (!bitmap || !place(dc, x, y, *bitmap, p)) return;
    const Bitmap& bm = *bitmap;
    const i32 originX = p.x + dc.viewport.left;
    const i32 originY = p.y + dc.viewport.top;

    if (bm.bitsPerPixel == 1) {
        // A 1-bit bitmap is a stencil: set bits in the current colour.
        for (i32 j = 0; j < p.height; ++j) {
            const u8* row = bm.row(p.srcY + j);
            for (i32 i = 0; i < p.width; ++i)
                if (sourcePixel(row, 1, p.srcX + i)) storePixel(dc, originX + i, originY + j, dc.color);
        }
        return;
    }
    if (sameFormat(dc, bm)) {
        copyRows(dc, bm, p);
        return;
    }
    const PixelConverter convert(dc, bm);
    for (i32 j = 0; j < p.height; ++j) {
        const u8* row = bm.row(p.srcY + j);
        for (i32 i = 0; i < p.width; ++i)
            storePixel(dc, originX + i, originY + j, convert(sourcePixel(row, bm.bitsPerPixel, p.srcX + i)));
    }
}

void putBitmapTransparent(DeviceContext& dc, i32 x, i32 y, const Bitmap* bitmap, u32 transparent,
                          int /*sourceFlag*/) {
    if (!bitmap) return;
    const Bitmap& bm = *bitmap;
    if (bm.bitsPerPixel < 8 || bm.bitsPerPixel != dc.bitsPerPixel) {
        setLastError(gfxInvalidDeviceType);
        return;
    }
    Placement p;
    if (!place(dc, x, y, bm, p)) return;
    if (sameFormat(dc, bm)) {
        switch (bytesPerPixel(bm.bitsPerPixel)) {
        case 1: copyOpaquePixels<1>(dc, bm, p, transparent); return;
        case 2: copyOpaquePixels<2>(dc, bm, p, transparent); return;
        case 3: copyOpaquePixels<3>(dc, bm, p, transparent); return;
        default: copyOpaquePixels<4>(dc, bm, p, transparent); return;
        }
    }
    drawConvertedOpaquePixels(dc, bm, p, transparent);
}

OpaqueRuns findOpaqueRuns(const Bitmap& bm, u32 transparent) {
    OpaqueRuns found{&bm, transparent, {}};
    if (bm.bitsPerPixel < 8) return found;
    for (i32 j = 0; j < bm.height; ++j) {
        const u8* row = bm.row(j);
        for (i32 i = 0; i < bm.width;) {
            if (sourcePixel(row, bm.bitsPerPixel, i) == transparent) {
                ++i;
                continue;
            }
            const i32 first = i;
            while (i < bm.width && sourcePixel(row, bm.bitsPerPixel, i) != transparent) ++i;
            found.runs.push_back({j, first, i - first});
        }
    }
    return found;
}

void putOpaqueRuns(DeviceContext& dc, i32 x, i32 y, const OpaqueRuns& runs) {
    const Bitmap* bitmap = runs.bitmap;
    if (!bitmap || bitmap->bitsPerPixel < 8 || bitmap->bitsPerPixel != dc.bitsPerPixel ||
        !sameFormat(dc, *bitmap)) {
        // Errors and converted pixels are the pixel-by-pixel drawing's business.
        putBitmapTransparent(dc, x, y, bitmap, runs.transparent, 1);
        return;
    }
    const Bitmap& bm = *bitmap;
    Placement p;
    if (!place(dc, x, y, bm, p)) return;
    const i32 bpp = bytesPerPixel(bm.bitsPerPixel);
    const i32 columnEnd = p.srcX + p.width;
    for (const OpaqueRun& run : runs.runs) {
        if (run.row < p.srcY || run.row >= p.srcY + p.height) continue;
        const i32 from = std::max(run.first, p.srcX);
        const i32 to = std::min(run.first + run.count, columnEnd);
        if (from >= to) continue;
        u8* dst = dc.surface + static_cast<i64>(p.y + run.row - p.srcY + dc.viewport.top) * dc.bytesPerLine +
                  static_cast<i64>(p.x + from - p.srcX + dc.viewport.left) * bpp;
        std::memcpy(dst, bm.row(run.row) + static_cast<i64>(from) * bpp,
                    static_cast<size_t>(to - from) * bpp);
    }
}
