#include "tests/content/run_directory.hpp"

namespace {

using TextureContent = InRunDirectory;

bool powerOfTwoUpTo64(u32 n) { return n >= 1 && n <= 64 && (n & (n - 1)) == 0; }

TEST_F(TextureContent, EveryTextureIsAPowerOfTwoUpTo64AndNeverBrightensAChannel) {
    loadTextures();
    // brick, old brick, wood planks, rock, sand, water, leaves, metal plate,
    // headquarters marking, bark
    ASSERT_EQ(textureTable.size(), 11u);
    EXPECT_EQ(textureTable[0], nullptr);
    for (size_t n = 1; n < textureTable.size(); ++n) {
        const Texture& t = *textureTable[n];
        EXPECT_TRUE(powerOfTwoUpTo64(t.width)) << "texture " << n;
        EXPECT_TRUE(powerOfTwoUpTo64(t.height)) << "texture " << n;
        u16 brightest = 0, darkest = 0xFFFF;
        for (u16 texel : t.texels) brightest = std::max(brightest, texel), darkest = std::min(darkest, texel);
        EXPECT_LE(brightest, 256) << "texture " << n << " would overflow a colour channel";
        // A texture with no contrast would be pointless; one that is nearly
        // black would hide its surface's colour.
        EXPECT_GT(brightest - darkest, 30) << "texture " << n;
        EXPECT_GT(brightest, 200) << "texture " << n;
    }
}

} // namespace
