// Reading BMP files: uncompressed 1, 4 and 8 bits with palettes, 16 bits in 5:5:5
// or (with bit fields) 5:6:5, 24 bits, 32 bits in four channel orders; rows
// bottom-up or top-down.
#include "gfx/bitmap.hpp"

#include "gfx/file_search.hpp"
#include "gfx/gfx_error.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr size_t fileHeaderSize = 14;
constexpr size_t infoHeaderSize = 40;
constexpr i64 maxBitmapSide = 8192;                  // wider or taller files are refused
constexpr i64 maxPixelBytes = i64{64} * 1024 * 1024; // so are larger pixel blocks
constexpr u32 bitFieldsCompression = 3;

u32 read32(const u8* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<u32>(p[3]) << 24;
}
u16 read16(const u8* p) {
    return static_cast<u16>(p[0] | p[1] << 8);
}

// What the two headers (and the masks) say about the pixels.
struct BitmapLayout {
    i32 width = 0;
    i32 height = 0;
    bool bottomUp = true;
    i32 fileBits = 0;     // bits per pixel in the file
    i32 bitsPerPixel = 0; // of the Bitmap: 15 for 5:5:5 files
    i64 bytesPerLine = 0;
    size_t paletteEntries = 0; // indexed files
    size_t rowsStart = 0;      // rows follow the palette or the masks
    PixelFormat format{};
};

PixelFormat formatFor(i32 bits, bool bitFields, u32 redMask, u32 greenMask) {
    switch (bits) {
    case 16: return bitFields && greenMask == 0x7E0 ? pixelFormat565 : pixelFormat555;
    case 24: return bitFields && redMask == 0xFF ? pixelFormatBGR24 : pixelFormatRGB24;
    default: // 32
        if (!bitFields || redMask == 0xFF0000) return pixelFormatARGB32;
        if (redMask == 0xFF) return pixelFormatABGR32;
        if (redMask == 0xFF00) return pixelFormatBGRA32;
        return pixelFormatRGBA32;
    }
}

// Checks the headers; false for a file the layer does not read.
bool readLayout(const std::vector<u8>& file, BitmapLayout& out) {
    if (file.size() < fileHeaderSize + infoHeaderSize) return false;
    if (file[0] != 'B' || file[1] != 'M') return false;
    const u8* info = file.data() + fileHeaderSize;
    if ((read32(info) & 0xFF) != infoHeaderSize || (read16(info + 12) & 0xFF) != 1) return false;

    const i32 bits = read16(info + 14);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const u32 compression = read32(info + 16);
    if (bits <= 8 && compression != 0) return false; // run-length packed indexed rows

    // Only the low 16 bits of the width count; the sign of the height gives the row order.
    const i64 width = read32(info + 4) & 0xFFFF;
    const i64 rawHeight = static_cast<i32>(read32(info + 8));
    const i64 height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (width <= 0 || height <= 0 || width > maxBitmapSide || height > maxBitmapSide) return false;

    size_t at = fileHeaderSize + infoHeaderSize;
    out.width = static_cast<i32>(width);
    out.height = static_cast<i32>(height);
    out.bottomUp = rawHeight > 0;
    out.fileBits = bits;
    out.bytesPerLine = bitmapBytesPerLine(width, bits);
    if (out.bytesPerLine * height > maxPixelBytes) return false;

    if (bits <= 8) {
        const u32 used = read32(info + 32);
        const u32 full = u32{1} << bits;
        if (used > full) return false;
        out.paletteEntries = used ? used : full;
        out.bitsPerPixel = bits;
        at += out.paletteEntries * 4;
    } else {
        const bool bitFields = compression == bitFieldsCompression;
        u32 redMask = 0, greenMask = 0;
        if (bitFields) {
            if (file.size() < at + 12) return false;
            redMask = read32(file.data() + at);
            greenMask = read32(file.data() + at + 4);
            at += 12;
        }
        out.format = formatFor(bits, bitFields, redMask, greenMask);
        out.bitsPerPixel = bits == 16 && out.format == pixelFormat555 ? 15 : bits;
    }
    if (file.size() < at) return false; // the palette must be there in full
    out.rowsStart = at;
    return true;
}

} // namespace

std::unique_ptr<Bitmap> loadBitmap(std::string_view name, int loadPalette) {
    setLastError(gfxOk);
    std::FILE* f = openLibraryFile(name, "BITMAPS\\");
    if (!f) {
        setLastError(gfxBitmapNotFound);
        return nullptr;
    }
    // Nothing beyond the largest accepted header, palette and pixel block is read.
    const std::vector<u8> file = readAndClose(f, fileHeaderSize + infoHeaderSize + 1024 + maxPixelBytes);

    BitmapLayout layout;
    if (!readLayout(file, layout)) {
        setLastError(gfxInvalidBitmap);
        return nullptr;
    }

    std::unique_ptr<Bitmap> bitmap;
    try {
        bitmap = std::make_unique<Bitmap>();
        bitmap->pixels.assign(static_cast<size_t>(layout.bytesPerLine * layout.height), 0);
        if (layout.fileBits <= 8 && loadPalette) bitmap->palette.resize(layout.paletteEntries);
    } catch (const std::bad_alloc&) {
        setLastError(gfxNoMemory);
        return nullptr;
    }
    bitmap->width = layout.width;
    bitmap->height = layout.height;
    bitmap->bitsPerPixel = layout.bitsPerPixel;
    bitmap->bytesPerLine = static_cast<i32>(layout.bytesPerLine);
    if (layout.fileBits > 8) bitmap->pixelFormat = layout.format;
    if (!bitmap->palette.empty())
        std::memcpy(bitmap->palette.data(), file.data() + fileHeaderSize + infoHeaderSize,
                    layout.paletteEntries * sizeof(PaletteEntry));

    // Rows missing at the end of a short file stay zero.
    size_t at = layout.rowsStart;
    for (i32 i = 0; i < layout.height && at < file.size(); ++i) {
        const i32 y = layout.bottomUp ? layout.height - 1 - i : i;
        const size_t n = std::min<size_t>(static_cast<size_t>(layout.bytesPerLine), file.size() - at);
        std::memcpy(bitmap->row(y), file.data() + at, n);
        at += n;
    }
    return bitmap;
}
