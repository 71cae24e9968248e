// font_maker: makes the game's five fonts from DejaVu (a free font packaged by
// Debian) and writes them, with the font's licence, into <run directory>/Fonts.
// Three are written as Windows 2.0 raster fonts, two in the graphics layer's
// own format, so that both loaders serve the game.
//
//   font_maker <run directory>
#include "tools/font_maker/glyph_raster.hpp"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

const std::string dejaVuDir = "/usr/share/fonts/truetype/dejavu/";
const std::string licence = "/usr/share/doc/fonts-dejavu-core/copyright";

enum class Format { fnt, own };

struct FontJob {
    const char* file;   // under Fonts/
    const char* face;   // face name inside the file
    const char* source; // DejaVu file
    RasterRequest request;
    int weight;
    bool italic;
    Format format;
};

RasterFontSource sourceFor(const FontJob& job) {
    RasterRequest request = job.request;
    request.fontFile = dejaVuDir + job.source;
    RasterFontSource font;
    font.name = job.face;
    font.pixelWidth = request.fixedWidth;
    font.height = request.cellHeight;
    font.ascent = request.ascent;
    font.points = request.pixelSize * 3 / 4; // at 96 dots per inch
    font.weight = job.weight;
    font.italic = job.italic;
    font.firstChar = 32;
    font.lastChar = 126;
    font.defaultChar = '?' - 32; // codes without a glyph show a question mark
    font.glyphs = rasteriseAscii(request);
    return font;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: font_maker <run directory>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/Fonts/";
    // Pixel sizes are chosen so each face fills its cell: cap height and
    // descenders inside `cellHeight` rows, the baseline at `ascent`.
    // One font per row.
    // clang-format off
    const FontJob jobs[] = {
        {"Char16.fnt", "Tessaron Mono 16", "DejaVuSansMono.ttf", {"", 13, 16, 12, 8}, 400, false, Format::fnt},
        // The HUD's lower labels stand 11 rows above the bottom of the screen, so
        // this face keeps all its ink, descenders too, in the top 11 rows of its
        // cell. Seven columns hold its widest letter whole and let the winner
        // screen's 45-letter farewell fit a 320-pixel screen. Slanted letters do
        // not read at this size (the oblique face hints into broken strokes), so
        // the face is the upright bold.
        {"Char16bi.fnt", "Tessaron Mono 16 Bold", "DejaVuSansMono-Bold.ttf", {"", 10, 16, 9, 7}, 700, false,
         Format::fnt},
        {"Char30b.fnt", "Tessaron Sans 30 Bold", "DejaVuSans-Bold.ttf", {"", 24, 30, 23, 0}, 700, false, Format::fnt},
        {"Lucs27bi.fnt", "Tessaron Sans 27 Bold Italic", "DejaVuSans-BoldOblique.ttf", {"", 21, 27, 21, 0}, 700, true,
         Format::own},
        {"Lucs40bi.fnt", "Tessaron Sans 40 Bold Italic", "DejaVuSans-BoldOblique.ttf", {"", 32, 40, 31, 0}, 700, true,
         Format::own},
    };
    // clang-format on
    try {
        for (const FontJob& job : jobs) {
            const RasterFontSource font = sourceFor(job);
            const std::string path = dir + job.file;
            const bool ok =
                job.format == Format::fnt ? saveFntFont(path, font) : saveFont(path, buildFont(font));
            if (!ok) {
                std::fprintf(stderr, "font_maker: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        std::filesystem::copy_file(licence, dir + "LICENSE-DejaVu.txt",
                                   std::filesystem::copy_options::overwrite_existing);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "font_maker: %s\n", e.what());
        return 1;
    }
    std::printf("wrote the fonts to %s\n", dir.c_str());
    return 0;
}
