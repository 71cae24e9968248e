// Reading font files: the graphics layer's own format, whose body is the Font
// record byte for byte, and Windows 2.0 raster fonts (FNT), converted while loading.
#include "gfx/font.hpp"

#include "base/fatal.hpp"
#include "gfx/file_search.hpp"
#include "gfx/gfx_error.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr size_t maxFontFileBytes = 16 * 1024 * 1024; // larger files are refused
constexpr size_t signatureLength = sizeof(fontFileSignature) - 1;
constexpr size_t ownNameOffset = 21;    // the name follows the signature and its NUL
constexpr size_t ownBodyOffset = 256;   // the record from fontType on
constexpr size_t glyphBufferSize = 512; // the conversion's temporary glyph buffer

// FNT 2.0 header fields.
constexpr size_t fntHeaderSize = 118;
constexpr size_t fntVersion = 0, fntType = 66, fntAscent = 74, fntExternalLeading = 78;
constexpr size_t fntPixWidth = 86, fntPixHeight = 88, fntMaxWidth = 93;
constexpr size_t fntFirstChar = 95, fntLastChar = 96, fntDefaultChar = 97;
constexpr size_t fntFace = 105, fntBitsOffset = 113;
constexpr size_t fntTableOffset = 118;

u16 read16(const u8* p) {
    return static_cast<u16>(p[0] | p[1] << 8);
}
u32 read32(const u8* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<u32>(p[3]) << 24;
}

// A Font of `size` bytes, or null with -5 set.
std::unique_ptr<Font> allocateFont(size_t size) {
    try {
        return std::make_unique<Font>(size);
    } catch (const std::bad_alloc&) {
        setLastError(gfxNoMemoryForDriver);
        return nullptr;
    }
}

std::unique_ptr<Font> loadOwnFormat(const std::vector<u8>& file) {
    // The body must at least hold the record's header up to the glyph images.
    if (file.size() < ownBodyOffset + (Font::glyphImagesOffset - Font::fontTypeOffset)) {
        setLastError(gfxFontCorrupt);
        return nullptr;
    }
    auto font = allocateFont(file.size() - ownBodyOffset + Font::fontTypeOffset);
    if (!font) return nullptr;
    const u8* name = file.data() + ownNameOffset;
    const size_t nameLength = std::find(name, name + Font::nameSize - 1, 0) - name;
    std::memcpy(font->record.data(), name, nameLength);
    std::memcpy(font->record.data() + Font::fontTypeOffset, file.data() + ownBodyOffset,
                file.size() - ownBodyOffset);
    return font;
}

// What the checks of an FNT file found, for the conversion.
struct FntLayout {
    u8 first = 0, last = 0, defaultChar = 0;
    i32 height = 0;
    size_t bitsOffset = 0, faceOffset = 0;
    std::vector<u32> recordOffset; // per code first..last: the glyph's place among the images
};

// Refuses what would make the conversion read or write outside the file or the
// record: every glyph must lie inside the bits block.
bool checkFnt(const std::vector<u8>& file, FntLayout& out) {
    const u8* h = file.data();
    out.first = h[fntFirstChar];
    out.last = h[fntLastChar];
    out.defaultChar = h[fntDefaultChar];
    out.height = read16(h + fntPixHeight);
    out.bitsOffset = read32(h + fntBitsOffset);
    out.faceOffset = read32(h + fntFace);
    if (out.last < out.first || out.height <= 0) return false;
    if (out.defaultChar > out.last - out.first) return false;
    if (out.bitsOffset > out.faceOffset || out.faceOffset > file.size()) return false;
    const size_t count = size_t{out.last} - out.first + 1;
    if (fntTableOffset + count * 4 > file.size()) return false;

    const u8* table = h + fntTableOffset;
    const u64 bitsSize = out.faceOffset - out.bitsOffset;
    const u16 firstOffset = read16(table + 2);
    out.recordOffset.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const u16 width = read16(table + 4 * i);
        const u16 offset = read16(table + 4 * i + 2);
        // The image width is kept in a byte: (width + 7) rounded down to eight must fit.
        if (width > 248 || offset < firstOffset) return false;
        const u64 place = offset - firstOffset; // the running total of glyph sizes
        const u64 size = u64{(width + 7u) / 8} * static_cast<u64>(out.height);
        if (place >= Font::noGlyph || place + size > bitsSize) return false;
        out.recordOffset[i] = static_cast<u32>(place);
    }
    return true;
}

std::unique_ptr<Font> loadFnt(const std::vector<u8>& file) {
    if (file.size() < fntHeaderSize) {
        setLastError(gfxFontCorrupt);
        return nullptr;
    }
    const u8* h = file.data();
    if (read16(h + fntVersion) != 0x200) {
        setLastError(gfxFontVersion);
        return nullptr;
    }
    FntLayout layout;
    // Only a raster font (type 0) converts; a vector font or any other type is refused.
    if (read16(h + fntType) != 0 || !checkFnt(file, layout)) {
        setLastError(gfxFontCorrupt);
        return nullptr;
    }

    const size_t bitsSize = layout.faceOffset - layout.bitsOffset;
    auto font = allocateFont(bitsSize + Font::glyphImagesOffset + 1);
    if (!font) return nullptr;
    Font& f = *font;

    // The face name: up to 57 bytes of what the file holds at the face offset.
    const size_t nameAvailable = std::min(file.size() - layout.faceOffset, Font::nameSize - 1);
    const u8* name = h + layout.faceOffset;
    std::memcpy(f.record.data(), name, std::find(name, name + nameAvailable, 0) - name);

    const i16 pixWidth = static_cast<i16>(read16(h + fntPixWidth));
    const i16 maxWidth = static_cast<i16>(read16(h + fntMaxWidth));
    const i16 ascent = static_cast<i16>(read16(h + fntAscent));
    f.setFontType(pixWidth != 0 ? Font::fixedFont : Font::proportionalFont);
    f.setFontWidth(pixWidth != 0 ? pixWidth : maxWidth);
    f.setMaxWidth(maxWidth);
    f.setLeftOverhang(0);
    f.setFontHeight(static_cast<i16>(layout.height));
    f.setAscent(ascent);
    f.setDescent(static_cast<i16>(ascent - layout.height));
    f.setLeading(static_cast<i16>(read16(h + fntExternalLeading)));
    std::memcpy(f.record.data() + Font::glyphImagesOffset, h + layout.bitsOffset, bitsSize);

    const u8* table = h + fntTableOffset;
    for (int c = 0; c < 256; ++c) {
        const u8 code = static_cast<u8>(c);
        if (c < layout.first || c > layout.last) {
            f.setGlyphOffset(code, Font::noGlyph);
            continue;
        }
        const size_t i = static_cast<size_t>(c - layout.first);
        const u8 width = static_cast<u8>(read16(table + 4 * i));
        const u8 imageWidth = static_cast<u8>((width + 7) & ~7);
        f.setWidth(code, width);
        f.setImageWidth(code, imageWidth);
        f.setGlyphOffset(code, static_cast<u16>(layout.recordOffset[i]));
        f.setImageLeft(code, 0);
        reorderGlyphColumns(f.record.data() + Font::glyphImagesOffset + layout.recordOffset[i],
                            imageWidth / 8, layout.height);
    }
    f.copyGlyphEntry(0, static_cast<u8>(layout.first + layout.defaultChar));
    return font;
}

} // namespace

void reorderGlyphColumns(u8* glyph, i32 bytesPerRow, i32 rows) {
    if (bytesPerRow <= 1 || rows <= 0) return; // one column is already in row order
    const size_t size = static_cast<size_t>(bytesPerRow) * static_cast<size_t>(rows);
    if (size > glyphBufferSize) raiseFatal("Temporary glyph buffer is too small!!");
    u8 buffer[glyphBufferSize];
    std::memcpy(buffer, glyph, size);
    // Column i of row r sits at i * rows + r in the file's order.
    for (i32 r = 0; r < rows; ++r)
        for (i32 i = 0; i < bytesPerRow; ++i) glyph[r * bytesPerRow + i] = buffer[i * rows + r];
}

std::unique_ptr<Font> loadFont(std::string_view name) {
    setLastError(gfxOk);
    std::FILE* f = openLibraryFile(name, "FONTS\\");
    if (!f) {
        setLastError(gfxFontNotFound);
        return nullptr;
    }
    const std::vector<u8> file = readAndClose(f, maxFontFileBytes + 1);
    if (file.size() > maxFontFileBytes) {
        setLastError(gfxFontCorrupt);
        return nullptr;
    }
    const bool own =
        file.size() >= signatureLength && std::memcmp(file.data(), fontFileSignature, signatureLength) == 0;
    return own ? loadOwnFormat(file) : loadFnt(file);
}
