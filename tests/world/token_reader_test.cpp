#include "world/token_reader.hpp"

#include "run_directory.hpp"

namespace {

class TokenReaderTest : public WorldFiles {
  protected:
    // A reader over a new file holding exactly this text.
    TokenReader readerOf(std::string_view text) {
        const std::string name = "input" + std::to_string(files++) + ".txt";
        write(name, text);
        return TokenReader(name);
    }
    int files = 0;
};

} // namespace

TEST_F(TokenReaderTest, NumbersBetweenBlanksAndComments) {
    EXPECT_EQ(readerOf("  / a comment\n 42 ").getint(), 42u);
    EXPECT_EQ(readerOf("7").getint(), 7u); // the end of the file is a terminator

    TokenReader reader = readerOf("ff\tFF\n0 aB12cD /c\f5 //x\n\t4294967295 4294967297 100000001 ");
    for (u32 value : {255u, 255u, 0u, 0xAB12CDu}) EXPECT_EQ(reader.gethex(), value);
    EXPECT_EQ(reader.getint(), 5u); // a form feed ends a comment
    EXPECT_EQ(reader.getint(), 4294967295u);
    EXPECT_EQ(reader.getint(), 1u); // wraps at 32 bits
    EXPECT_EQ(reader.gethex(), 1u);
    EXPECT_EQ(reader.skipBlanks(), endOfFile);
}

TEST_F(TokenReaderTest, GetstringKeepsTheRestOfTheLineAsWritten) {
    TokenReader reader = readerOf("  Level one  \n  inner / slash\t\na\fb\n\nc");
    EXPECT_EQ(tokenText(reader.getstring()), "Level one  ");
    EXPECT_EQ(tokenText(reader.getstring()), "inner / slash\t"); // no comment inside a line
    EXPECT_EQ(tokenText(reader.getstring()), "a");               // a form feed ends it too
    EXPECT_EQ(tokenText(reader.getstring()), "b");
    EXPECT_EQ(tokenText(reader.getstring('\n')), ""); // a line feed first: empty
    EXPECT_EQ(tokenText(reader.getstring()), "c");
    EXPECT_EQ(tokenText(reader.getstring()), ""); // the end of the file
}

TEST_F(TokenReaderTest, ALongLineIsCutAtSeventyNineCharacters) {
    const std::string longLine(200, 'w');
    TokenReader reader = readerOf(longLine + "\nafter\n");
    const TokenString line = reader.getstring();
    EXPECT_EQ(tokenText(line), longLine.substr(0, 79));
    EXPECT_EQ(tokenText(reader.getstring()), "after"); // the rest of the long line was consumed
}

TEST_F(TokenReaderTest, CarriageReturnBeforeLineFeedIsDropped) {
    TokenReader reader = readerOf("Title\r\n12\r\n/ comment\r\nab\r\n");
    EXPECT_EQ(tokenText(reader.getstring()), "Title");
    EXPECT_EQ(reader.getint(), 12u);
    EXPECT_EQ(reader.gethex(), 0xABu);
    EXPECT_EQ(reader.skipBlanks(), endOfFile);
    // Anywhere else a carriage return is an ordinary character, not a blank.
    EXPECT_EQ(tokenText(readerOf("\r\r5").getstring()), "\r\r5");
    EXPECT_EXIT(readerOf("12\r 3").getint(), exitsWithOne,
                exactly("Error: no whitespace after integer (getint)!\n"));
}

TEST_F(TokenReaderTest, AByte255OrAMissingFileReadsAsTheEnd) {
    TokenReader reader = readerOf("5\3776 / comment \377\n9");
    EXPECT_EQ(reader.getint(), 5u); // ended as by the end of the file
    EXPECT_EQ(reader.getint(), 6u);
    EXPECT_EQ(reader.skipBlanks(), endOfFile); // inside the comment
    EXPECT_EQ(tokenText(readerOf("ab\377cd\n").getstring()), "ab");

    TokenReader missing("Objects\\no such file.odf");
    EXPECT_EQ(missing.skipBlanks(), endOfFile);
    EXPECT_EQ(tokenText(missing.getstring()), "");
    EXPECT_EXIT(TokenReader("missing.lvl").getint(), exitsWithOne, exactly("Error: no integer (getint)!\n"));
}

TEST_F(TokenReaderTest, MalformedNumbersEndTheProgramWithTheirMessages) {
    const struct {
        const char* text;
        bool hex;
        const char* message;
    } cases[] = {
        {"-5 ", false, "Error: no integer (getint)!\n"},
        {"12/c\n", false, "Error: no whitespace after integer (getint)!\n"},
        {"12a ", false, "Error: no whitespace after integer (getint)!\n"},
        {"g ", true, "Error: no integer (gethex)!\n"},
        {"", true, "Error: no integer (gethex)!\n"},
        {"0x1F ", true, "Error: no whitespace after integer (gethex)!\n"}, // the x follows the zero
        {"1f%", true, "Error: no whitespace after integer (gethex)!\n"},
    };
    for (const auto& [text, hex, message] : cases) {
        SCOPED_TRACE(text);
        TokenReader reader = readerOf(text);
        EXPECT_EXIT(hex ? reader.gethex() : reader.getint(), exitsWithOne, exactly(message));
    }
}
