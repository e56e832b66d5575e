#include "encoder/best_blocks.h"

#include <FreeImage.h>
#include <gtest/gtest.h>
#include <squish.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "encoder/block_compression.h"

namespace jpg2dds {
namespace {

using Block = std::array<uint8_t, 64>;  // 16 pixels, red, green, blue, alpha

Block Crafted(const std::function<uint32_t(int i)>& rgb) {
  Block block;
  for (int i = 0; i < 16; ++i) {
    const uint32_t c = rgb(i);
    block[i * 4] = static_cast<uint8_t>(c >> 16);
    block[i * 4 + 1] = static_cast<uint8_t>(c >> 8);
    block[i * 4 + 2] = static_cast<uint8_t>(c);
    block[i * 4 + 3] = 255;
  }
  return block;
}

// Flat, two-colour, gradient, three-level (what three-colour mode fits
// exactly) and noisy blocks, then blocks of a real photo.
constexpr size_t kCrafted = 5;

std::vector<Block> TestBlocks() {
  uint32_t seed = 12345;
  std::vector<Block> blocks = {
      Crafted([](int) { return 0x0DC84Du; }),
      Crafted([](int i) { return i < 8 ? 0x000000u : 0xFFFFFFu; }),
      Crafted([](int i) { return uint32_t(i * 17) << 16 | 0x4020u; }),
      Crafted([](int i) { return (i % 3) * 0x402010u + 0x103050u; }),
      Crafted([&seed](int) { return (seed = seed * 1664525u + 1013904223u) >> 8; }),
  };
  FIBITMAP* photo = FreeImage_Load(FIF_JPEG, JPG2DDS_SAMPLE_PHOTO, JPEG_ACCURATE);
  EXPECT_NE(photo, nullptr);
  if (!photo) return blocks;
  const int width = static_cast<int>(FreeImage_GetWidth(photo)), height = static_cast<int>(FreeImage_GetHeight(photo));
  for (int n = 0; n < (width / 4) * (height / 4); n += 61) {
    const int bx = n % (width / 4) * 4, by = n / (width / 4) * 4;
    blocks.push_back(Crafted([&](int i) {
      const BYTE* p = FreeImage_GetScanLine(photo, by + i / 4) + (bx + i % 4) * 3;
      return uint32_t(p[FI_RGBA_RED]) << 16 | p[FI_RGBA_GREEN] << 8 | p[FI_RGBA_BLUE];
    }));
  }
  FreeImage_Unload(photo);
  return blocks;
}

// Squared error (red, green, blue) of the block as libsquish decodes the
// bytes, and the lowest alpha it decodes.
int DecodedError(const Block& block, const uint8_t* bytes, int flags, int& lowestAlpha) {
  uint8_t decoded[64];
  squish::Decompress(decoded, bytes, flags);
  int error = 0;
  lowestAlpha = 255;
  for (int i = 0; i < 16; ++i) {
    for (int c = 0; c < 3; ++c) error += (decoded[i * 4 + c] - block[i * 4 + c]) * (decoded[i * 4 + c] - block[i * 4 + c]);
    lowestAlpha = std::min<int>(lowestAlpha, decoded[i * 4 + 3]);
  }
  return error;
}

// Every block is at least as close as NORMAL's, many real ones closer; no
// pixel of an opaque picture decodes transparent (a three-colour BC1 block
// using index 3), though some blocks are three-colour; BC3 keeps NORMAL's
// alpha block.
TEST(BestBlocks, NeverFurtherThanNormalAndNeverTransparent) {
  const std::vector<Block> blocks = TestBlocks();
  int closer = 0, threeColour = 0;
  for (size_t n = 0; n < blocks.size(); ++n) {
    SCOPED_TRACE(n);
    const Block& block = blocks[n];
    uint8_t normal[16], best[16];
    int normalAlpha = 0, bestAlpha = 0;
    CompressBc1Block(block.data(), normal);
    CompressBc1BlockBest(block.data(), best);
    const int bc1Normal = DecodedError(block, normal, squish::kDxt1, normalAlpha);
    const int bc1Best = DecodedError(block, best, squish::kDxt1, bestAlpha);
    EXPECT_LE(bc1Best, bc1Normal);
    EXPECT_EQ(bestAlpha, 255);
    closer += n >= kCrafted && bc1Best < bc1Normal;
    threeColour += (best[0] | best[1] << 8) < (best[2] | best[3] << 8);

    CompressBc3Block(block.data(), normal);
    CompressBc3BlockBest(block.data(), best);
    EXPECT_LE(DecodedError(block, best, squish::kDxt5, bestAlpha), DecodedError(block, normal, squish::kDxt5, normalAlpha));
    EXPECT_EQ(std::memcmp(best, normal, 8), 0);
  }
  EXPECT_GT(threeColour, 0);
  EXPECT_GT(closer * 4, static_cast<int>(blocks.size() - kCrafted));
}

}  // namespace
}  // namespace jpg2dds
