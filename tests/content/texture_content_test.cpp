#include "tests/support/world_run.hpp"

#include <algorithm>

namespace {

using TextureContent = InRunDirectory;

TEST_F(TextureContent, EveryTextureIsAPowerOfTwoUpTo64AndNeverBrightensAChannel) {
    loadTextures();
    // Brick, old brick, wood planks, rock, sand, water, leaves, metal plate,
    // headquarters marking, bark; 0 is no texture.
    ASSERT_EQ(world::state.textureTable.size(), 11u);
    EXPECT_EQ(world::state.textureTable[0], nullptr);
    const auto powerOfTwoUpTo64 = [](u32 n) { return n >= 1 && n <= 64 && (n & (n - 1)) == 0; };
    for (size_t n = 1; n < world::state.textureTable.size(); ++n) {
        SCOPED_TRACE(n);
        const Texture& t = *world::state.textureTable[n];
        ASSERT_FALSE(t.texels.empty());
        EXPECT_TRUE(powerOfTwoUpTo64(t.width));
        EXPECT_TRUE(powerOfTwoUpTo64(t.height));
        const auto [darkest, brightest] = std::minmax_element(t.texels.begin(), t.texels.end());
        EXPECT_LE(*brightest, 256) << "would overflow a colour channel";
        // No contrast would be pointless; nearly black would hide the surface's colour.
        EXPECT_GT(*brightest - *darkest, 30);
        EXPECT_GT(*brightest, 200);
    }
}

} // namespace
