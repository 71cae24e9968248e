#include "world/token_reader.hpp"

#include "base/data_file.hpp"
#include "base/program_exit.hpp"

namespace {

constexpr u8 lineFeed = 10;
constexpr u8 formFeed = 12;
constexpr u8 carriageReturn = 13;

bool isBlank(u8 c) {
    return c == ' ' || c == '\t' || c == lineFeed || c == formFeed;
}

// A number must be followed by a blank or the end of the file; a comment may
// only follow after a blank.
bool isTerminator(u8 c) {
    return isBlank(c) || c == endOfFile;
}

// The value of c as a digit of the base, or base itself when c is none.
u32 digitValue(u8 c, u32 base) {
    u32 value = base;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    return value < base ? value : base;
}

[[noreturn]] void malformedNumber(const char* message) {
    std::fputs(message, stderr);
    exitProgram(1);
}

} // namespace

TokenReader::TokenReader(std::string_view fileName) : name(fileName), stream(openDataFile(fileName, "rb")) {}

TokenReader::~TokenReader() {
    if (stream) std::fclose(stream);
}

u8 TokenReader::next() {
    if (!stream) return endOfFile;
    const int c = std::getc(stream);
    if (c == carriageReturn) {
        const int after = std::getc(stream);
        if (after == lineFeed) return lineFeed;
        std::ungetc(after, stream); // ungetc of EOF does nothing: the end stays the end
    }
    // Only the low byte counts: EOF (-1) and a byte 255 both read as endOfFile.
    return static_cast<u8>(c);
}

u8 TokenReader::skipBlanks() {
    for (;;) {
        u8 c = next();
        if (isBlank(c)) continue;
        if (c != '/') return c;
        // A comment runs to the end of the line (or a form feed), which then
        // counts as a blank.
        do {
            c = next();
        } while (c != lineFeed && c != formFeed && c != endOfFile);
        if (c == endOfFile) return c;
    }
}

u32 TokenReader::getNumber(u8 first, u32 base, const char* noNumber, const char* noWhitespace) {
    u32 digit = digitValue(first, base);
    if (digit == base) malformedNumber(noNumber);
    u32 value = 0;
    u8 c = first;
    do {
        value = value * base + digit; // unsigned: wraps silently at 32 bits
        c = next();
        digit = digitValue(c, base);
    } while (digit != base);
    if (!isTerminator(c)) malformedNumber(noWhitespace);
    return value;
}

u32 TokenReader::getint() {
    return getint(skipBlanks());
}

u32 TokenReader::getint(u8 first) {
    return getNumber(first, 10, "Error: no integer (getint)!\n",
                     "Error: no whitespace after integer (getint)!\n");
}

u32 TokenReader::gethex() {
    return gethex(skipBlanks());
}

u32 TokenReader::gethex(u8 first) {
    return getNumber(first, 16, "Error: no integer (gethex)!\n",
                     "Error: no whitespace after integer (gethex)!\n");
}

TokenString TokenReader::getstring() {
    return getstring(skipBlanks());
}

TokenString TokenReader::getstring(u8 first) {
    TokenString line{};
    if (first == lineFeed) return line;
    size_t length = 0;
    for (u8 c = first; c != formFeed && c != endOfFile;) {
        // A longer line is cut to what fits before the closing NUL; the rest
        // of it is still consumed.
        if (length + 1 < line.size()) line[length++] = static_cast<char>(c);
        c = next();
        if (c == lineFeed) break;
    }
    return line;
}
