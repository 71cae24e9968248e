#include "world/texture.hpp"

#include "run_directory.hpp"

#include <unistd.h>

using TextureTest = WorldFiles;

TEST_F(TextureTest, TexelsAreStoredColumnMajorWithTheTopRowFirstInTheFile) {
    write("textures.dat", "2 %\n"
                          "2 2 1A b2 #\n"
                          "1 2\n"
                          "3 4\n"
                          "%\n"
                          "/ a second texture, 3 wide and 2 high, comments between values\n"
                          "3 2 0 0 # 10 / first\n 11 12345\n"
                          "20 21 / second\n 22 %\n");
    loadTextures();
    ASSERT_EQ(world::state.textureTable.size(), 3u);
    EXPECT_EQ(world::state.textureTable[0], nullptr);

    const Texture& square = *world::state.textureTable[1];
    EXPECT_EQ(square.param1, 0x1Au);
    EXPECT_EQ(square.param2, 0xB2u);
    EXPECT_EQ(square.texel(0, 1), 1);
    EXPECT_EQ(square.texel(1, 1), 2);
    EXPECT_EQ(square.texel(0, 0), 3);
    EXPECT_EQ(square.texel(1, 0), 4);

    const Texture& wide = *world::state.textureTable[2];
    EXPECT_EQ(wide.width, 3);
    EXPECT_EQ(wide.height, 2);
    // 12345 keeps its low sixteen bits.
    EXPECT_EQ(wide.texels, (std::vector<u16>{0x20, 0x10, 0x21, 0x11, 0x22, 0x2345}));
}

TEST(TexelAt, TextureCoordinatesWrapInBothDirections) {
    Texture texture(3, 2);
    for (u16 n = 0; n < 6; ++n) texture.texels[n] = n;
    EXPECT_EQ(texelAt(texture, 127, 127), texture.texel(0, 0)); // one texel is 128 units
    EXPECT_EQ(texelAt(texture, 128, 128), texture.texel(1, 1));
    EXPECT_EQ(texelAt(texture, 128 * 3, 0), texture.texel(0, 0)); // wraps along u
    EXPECT_EQ(texelAt(texture, 0, 128 * 2), texture.texel(0, 0)); // and along v
    EXPECT_EQ(texelAt(texture, 65535, 65535), texture.texel(511 % 3, 511 % 2));
    EXPECT_EQ(texelAt(texture, 0x10000 + 128, 0x20000), texture.texel(1, 0)); // low 16 bits only
}

TEST_F(TextureTest, ACorruptFileIsReportedOnStandardOutputWithMinusOne) {
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
        // Standard output goes where the death test reads; standard error nowhere.
        EXPECT_EXIT(
            {
                std::fflush(stdout);
                ::dup2(STDERR_FILENO, STDOUT_FILENO);
                std::freopen("/dev/null", "w", stderr);
                loadTextures();
            },
            testing::ExitedWithCode(255), exactly("Error: texture file corrupt!\n"));
    }
}

TEST_F(TextureTest, MalformedNumbersAndAMissingFileEndWithOne) {
    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "Error: no integer (getint)!\n"}, // no file at all
        // Counts and sizes larger than the file run into its end, without allocating them.
        {"4294967295 % 1 1 0 0 # 5 %", "Error: no integer (getint)!\n"},
        {"1 % 65535 65535 ffffffff ffffffff # 1 2 3", "Error: no integer (gethex)!\n"},
        {"1 % 1 65535 0 0 # 1 %", "Error: no integer (gethex)!\n"},
    };
    for (const auto& [text, message] : cases) {
        if (text) write("textures.dat", text);
        EXPECT_EXIT(loadTextures(), exitsWithOne, exactly(message));
    }
}
