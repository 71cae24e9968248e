#include "world/texture.hpp"

#include "run_directory.hpp"

#include <unistd.h>

namespace {

using TextureTest = RunDirectory;

// Loads "textures.dat" with standard output sent where the death test reads,
// and standard error thrown away, so the test sees which stream was used.
void loadTexturesShowingStandardOutput() {
    std::fflush(stdout);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    std::freopen("/dev/null", "w", stderr);
    loadTextures();
}

const auto exitsWithMinusOne = testing::ExitedWithCode(255);

} // namespace

TEST_F(TextureTest, TexelsAreStoredColumnMajorWithTheTopRowFirstInTheFile) {
    write("textures.dat", "2 %\n"
                          "2 2 1A b2 #\n"
                          "1 2\n"
                          "3 4\n"
                          "%\n"
                          "/ a second texture, 3 wide and 2 high, comments between values\n"
                          "3 2 0 0 # 10 / first\n 11 12\n"
                          "20 21 / second\n 22 %\n");
    loadTextures();
    ASSERT_EQ(textureTable.size(), 3u);
    EXPECT_EQ(textureTable[0], nullptr);

    const Texture& square = *textureTable[1];
    EXPECT_EQ(square.width, 2);
    EXPECT_EQ(square.height, 2);
    EXPECT_EQ(square.param1, 0x1Au);
    EXPECT_EQ(square.param2, 0xB2u);
    EXPECT_EQ(square.texel(0, 1), 1);
    EXPECT_EQ(square.texel(1, 1), 2);
    EXPECT_EQ(square.texel(0, 0), 3);
    EXPECT_EQ(square.texel(1, 0), 4);

    const Texture& wide = *textureTable[2];
    EXPECT_EQ(wide.width, 3);
    EXPECT_EQ(wide.height, 2);
    EXPECT_EQ(wide.texel(0, 1), 0x10);
    EXPECT_EQ(wide.texel(2, 1), 0x12);
    EXPECT_EQ(wide.texel(0, 0), 0x20);
    EXPECT_EQ(wide.texel(2, 0), 0x22);
    EXPECT_EQ(wide.texels, (std::vector<u16>{0x20, 0x10, 0x21, 0x11, 0x22, 0x12}));
}

TEST_F(TextureTest, TexelsWiderThanSixteenBitsKeepTheirLowBits) {
    write("textures.dat", "1 % 1 1 0 0 # 12345 %");
    loadTextures();
    EXPECT_EQ(textureTable[1]->texel(0, 0), 0x2345);
}

TEST_F(TextureTest, ACountOfZeroLeavesOnlyTheEmptyEntry) {
    write("textures.dat", "0 %");
    loadTextures();
    ASSERT_EQ(textureTable.size(), 1u);
    EXPECT_EQ(textureByNumber(textureTable, 0), nullptr);
    EXPECT_EQ(textureByNumber(textureTable, 1), nullptr);
}

TEST_F(TextureTest, NumbersPastTheTableMeanNoTexture) {
    write("textures.dat", "1 % 1 1 0 0 # 100 %");
    loadTextures();
    EXPECT_EQ(textureByNumber(textureTable, 1), textureTable[1].get());
    EXPECT_EQ(textureByNumber(textureTable, 2), nullptr);
    EXPECT_EQ(textureByNumber(textureTable, 0xFFFFFFFF), nullptr);
    resetTextures();
    EXPECT_TRUE(textureTable.empty());
}

TEST(TexelAt, TextureCoordinatesWrapInBothDirections) {
    Texture texture(3, 2);
    for (u32 i = 0; i < 3; ++i)
        for (u32 j = 0; j < 2; ++j) texture.texel(i, j) = static_cast<u16>(10 * i + j);

    EXPECT_EQ(texelAt(texture, 0, 0), texture.texel(0, 0));
    EXPECT_EQ(texelAt(texture, 127, 127), texture.texel(0, 0)); // one texel is 128 units
    EXPECT_EQ(texelAt(texture, 128, 128), texture.texel(1, 1));
    EXPECT_EQ(texelAt(texture, 128 * 3, 0), texture.texel(0, 0)); // wraps along u
    EXPECT_EQ(texelAt(texture, 0, 128 * 2), texture.texel(0, 0)); // and along v
    EXPECT_EQ(texelAt(texture, 65535, 65535), texture.texel(511 % 3, 511 % 2));
    EXPECT_EQ(texelAt(texture, 0x10000 + 128, 0x20000), texture.texel(1, 0)); // low 16 bits only
}

TEST_F(TextureTest, ACorruptFileIsReportedOnStandardOutputWithMinusOne) {
    const auto corrupt = exactly("Error: texture file corrupt!\n");
    const char* files[] = {
        "1 1 1 1 0 0 # 5 %",   // no "%" after the count
        "1 % 1 1 0 0 5 %",     // no "#" after the header
        "1 % 1 1 0 0 # 5",     // no "%" after the texels
        "1 % 2 1 0 0 # 5 6 7", // a texel too many where the "%" belongs
        "1 % 0 4 0 0 # %",     // no texels across
        "1 % 4 0 0 0 # %",     // no texels down
        "1 % 65536 1 0 0 # %", // a width that is 0 in sixteen bits
    };
    for (const char* text : files) {
        SCOPED_TRACE(text);
        write("textures.dat", text);
        EXPECT_EXIT(loadTexturesShowingStandardOutput(), exitsWithMinusOne, corrupt);
    }
}

TEST_F(TextureTest, MalformedNumbersAndAMissingFileEndWithOne) {
    const auto exitsWithOne = testing::ExitedWithCode(1);
    EXPECT_EXIT(loadTextures(), exitsWithOne, exactly("Error: no integer (getint)!\n"));
    write("textures.dat", "1 % 1 1 0 0 # 5x %");
    EXPECT_EXIT(loadTextures(), exitsWithOne,
                exactly("Error: no whitespace after integer (gethex)!\n"));
    // A count larger than the file runs into its end.
    write("textures.dat", "4294967295 % 1 1 0 0 # 5 %");
    EXPECT_EXIT(loadTextures(), exitsWithOne, exactly("Error: no integer (getint)!\n"));
    // A size larger than the file runs into its end too, without allocating it.
    write("textures.dat", "1 % 65535 65535 0 0 # 1 2 3");
    EXPECT_EXIT(loadTextures(), exitsWithOne, exactly("Error: no integer (gethex)!\n"));
}
