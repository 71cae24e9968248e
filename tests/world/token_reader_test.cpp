#include "world/token_reader.hpp"

#include "run_directory.hpp"

#include <string>

namespace {

class TokenReaderTest : public RunDirectory {
protected:
    // A reader over a new file holding exactly this text.
    TokenReader readerOf(std::string_view text) {
        const std::string name = "input" + std::to_string(files++) + ".txt";
        write(name, text);
        return TokenReader(name);
    }

    int files = 0;
};

const auto exitsWithOne = testing::ExitedWithCode(1);

} // namespace

TEST_F(TokenReaderTest, NumbersStandBetweenBlanksAndComments) {
    TokenReader reader = readerOf("  / a comment\n 42 ");
    EXPECT_EQ(reader.getint(), 42u);

    TokenReader lastInFile = readerOf("7");
    EXPECT_EQ(lastInFile.getint(), 7u); // the end of the file is a terminator

    TokenReader formFeed = readerOf("/ ends at a form feed\f5 //double slash\n\t6\n");
    EXPECT_EQ(formFeed.getint(), 5u);
    EXPECT_EQ(formFeed.getint(), 6u);
    EXPECT_EQ(formFeed.skipBlanks(), endOfFile);
}

TEST_F(TokenReaderTest, HexadecimalInBothCases) {
    TokenReader reader = readerOf("ff\tFF\n0 aB12cD /c\n");
    EXPECT_EQ(reader.gethex(), 255u);
    EXPECT_EQ(reader.gethex(), 255u);
    EXPECT_EQ(reader.gethex(), 0u);
    EXPECT_EQ(reader.gethex(), 0xAB12CDu);
}

TEST_F(TokenReaderTest, NumbersWrapAtThirtyTwoBits) {
    TokenReader reader = readerOf("4294967295 4294967297 100000001 ");
    EXPECT_EQ(reader.getint(), 4294967295u);
    EXPECT_EQ(reader.getint(), 1u);
    EXPECT_EQ(reader.gethex(), 1u);
}

TEST_F(TokenReaderTest, TheFormsWithAFirstCharacterContinueATokenAlreadyStarted) {
    TokenReader reader = readerOf("  123 x9f 0 y Title of it\n");
    const u8 first = reader.skipBlanks();
    EXPECT_EQ(first, '1');
    EXPECT_EQ(reader.getint(first), 123u);
    EXPECT_EQ(reader.skipBlanks(), 'x');
    EXPECT_EQ(reader.gethex(reader.skipBlanks()), 0x9Fu);
    EXPECT_EQ(reader.getint(), 0u);
    EXPECT_EQ(tokenText(reader.getstring(reader.skipBlanks())), "y Title of it");
}

TEST_F(TokenReaderTest, GetstringKeepsTheRestOfTheLineAsWritten) {
    TokenReader reader = readerOf("  Level one  \n  inner / slash\t\nnext");
    EXPECT_EQ(tokenText(reader.getstring()), "Level one  ");
    // The reader stands at the start of the next line; a "/" inside a line is
    // no comment.
    EXPECT_EQ(tokenText(reader.getstring()), "inner / slash\t");
    EXPECT_EQ(tokenText(reader.getstring()), "next");
    EXPECT_EQ(tokenText(reader.getstring()), ""); // the end of the file
}

TEST_F(TokenReaderTest, GetstringStopsAtLineFeedFormFeedAndTheEnd) {
    TokenReader reader = readerOf("a\fb\n\nc");
    EXPECT_EQ(tokenText(reader.getstring()), "a");
    EXPECT_EQ(tokenText(reader.getstring()), "b");
    EXPECT_EQ(tokenText(reader.getstring('\n')), ""); // a line feed first: empty
    EXPECT_EQ(tokenText(reader.getstring()), "c");
    EXPECT_EQ(tokenText(reader.getstring()), "");
}

TEST_F(TokenReaderTest, ALongLineIsCutAtSeventyNineCharacters) {
    const std::string longLine(200, 'w');
    TokenReader reader = readerOf(longLine + "\nafter\n");
    const TokenString line = reader.getstring();
    EXPECT_EQ(tokenText(line), longLine.substr(0, 79));
    EXPECT_EQ(line.back(), '\0');
    EXPECT_EQ(tokenText(reader.getstring()), "after"); // the rest of the long line was consumed
}

TEST_F(TokenReaderTest, CarriageReturnBeforeLineFeedIsDropped) {
    TokenReader reader = readerOf("Title\r\n12\r\n/ comment\r\nab\r\n");
    EXPECT_EQ(tokenText(reader.getstring()), "Title");
    EXPECT_EQ(reader.getint(), 12u);
    EXPECT_EQ(reader.gethex(), 0xABu);
    EXPECT_EQ(reader.skipBlanks(), endOfFile);

    // Anywhere else a carriage return is an ordinary character, not a blank.
    TokenReader lone = readerOf("\r\r5");
    EXPECT_EQ(lone.skipBlanks(), '\r');
    EXPECT_EQ(tokenText(lone.getstring()), "\r5");
    EXPECT_EXIT(readerOf("12\r 3").getint(), exitsWithOne,
                exactly("Error: no whitespace after integer (getint)!\n"));
}

TEST_F(TokenReaderTest, AByte255IsTakenForTheEndOfTheFile) {
    TokenReader reader = readerOf("5\xff" "6 \xff 7");
    EXPECT_EQ(reader.getint(), 5u); // ended by the byte 255 as by the end of the file
    EXPECT_EQ(reader.getint(), 6u);
    EXPECT_EQ(reader.skipBlanks(), endOfFile);
    TokenReader inComment = readerOf("/ comment \xff\n9");
    EXPECT_EQ(inComment.skipBlanks(), endOfFile);
    TokenReader inString = readerOf("ab\xff" "cd\n");
    EXPECT_EQ(tokenText(inString.getstring()), "ab");
}

TEST_F(TokenReaderTest, AMissingFileReadsAsAnImmediateEnd) {
    TokenReader reader("Objects\\no such file.odf");
    EXPECT_EQ(reader.fileName(), "Objects\\no such file.odf");
    EXPECT_EQ(reader.skipBlanks(), endOfFile);
    EXPECT_EQ(tokenText(reader.getstring()), "");
    EXPECT_EXIT(TokenReader("missing.lvl").getint(), exitsWithOne,
                exactly("Error: no integer (getint)!\n"));
}

TEST_F(TokenReaderTest, MalformedNumbersEndTheProgramWithTheirMessages) {
    EXPECT_EXIT(readerOf("-5 ").getint(), exitsWithOne, exactly("Error: no integer (getint)!\n"));
    EXPECT_EXIT(readerOf("% ").getint(), exitsWithOne, exactly("Error: no integer (getint)!\n"));
    EXPECT_EXIT(readerOf("a ").getint(), exitsWithOne, exactly("Error: no integer (getint)!\n"));
    EXPECT_EXIT(readerOf("12/c\n").getint(), exitsWithOne,
                exactly("Error: no whitespace after integer (getint)!\n"));
    EXPECT_EXIT(readerOf("12a ").getint(), exitsWithOne,
                exactly("Error: no whitespace after integer (getint)!\n"));
    EXPECT_EXIT(readerOf("g ").gethex(), exitsWithOne, exactly("Error: no integer (gethex)!\n"));
    EXPECT_EXIT(readerOf("").gethex(), exitsWithOne, exactly("Error: no integer (gethex)!\n"));
    // A C-style prefix: the x follows the zero.
    EXPECT_EXIT(readerOf("0x1F ").gethex(), exitsWithOne,
                exactly("Error: no whitespace after integer (gethex)!\n"));
    EXPECT_EXIT(readerOf("1f%").gethex(), exitsWithOne,
                exactly("Error: no whitespace after integer (gethex)!\n"));
}
