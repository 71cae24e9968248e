#pragma once
// The reader of the game's own text data files (textures, levels, object
// definitions): blanks and "/" comments between tokens, unsigned decimal and
// hexadecimal numbers, and the rest of a line. A malformed number ends the
// program with a fixed message; nothing is recovered.
#include "base/types.hpp"

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

// A line read by getstring: at most 79 characters, the rest of the 80 bytes zero.
using TokenString = std::array<char, 80>;

// The text of a getstring line.
inline std::string_view tokenText(const TokenString& line) {
    return line.data();
}

// End of file reads as this character, and a byte 255 inside a file is taken
// for the end of the file.
constexpr u8 endOfFile = 255;

class TokenReader {
  public:
    // Opens the data file by its game name ("Levels\Level-A.lvl"). A file that
    // does not exist reads as an immediate end of file.
    explicit TokenReader(std::string_view fileName);
    ~TokenReader();
    TokenReader(const TokenReader&) = delete;
    TokenReader& operator=(const TokenReader&) = delete;

    // The name given at construction, for the callers' error messages.
    const std::string& fileName() const { return name; }

    // Consumes blanks and comments and returns the next significant character
    // (consumed too).
    u8 skipBlanks();

    // An unsigned decimal number ending at a blank or the end of the file; it
    // wraps at 32 bits. The forms with `first` take a character already read.
    u32 getint();
    u32 getint(u8 first);
    // The same in hexadecimal, without a prefix.
    u32 gethex();
    u32 gethex(u8 first);
    // The rest of the line from the first significant character on, the LF
    // consumed and not stored. Empty at the end of the file.
    TokenString getstring();
    TokenString getstring(u8 first);

  private:
    // The next byte, a CR before LF dropped (data files are written with CR LF).
    u8 next();
    u32 getNumber(u8 first, u32 base, const char* noNumber, const char* noWhitespace);

    std::string name;  // as given, with backslashes
    std::FILE* stream; // null when the file does not exist
};
