#include "pipeline/output/devil_pieces.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace jpg2dds {
namespace {

// Pixels as DevIL takes them, busy enough that no two blocks are alike, with
// alpha that varies too.
std::vector<uint8_t> Pixels(uint32_t width, uint32_t height) {
  std::vector<uint8_t> pixels(size_t{width} * height * 4);
  uint32_t state = width * 7919u + height;
  for (uint8_t& byte : pixels) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(state >> 24);
  }
  return pixels;
}

std::string WholeSave(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height) {
  std::FILE* file = std::tmpfile();
  const DevilDdsOutcome made = MakeDevilDds(pixels.data(), width, height, file, [] {});
  EXPECT_TRUE(made.saved && made.dxt1);
  std::string bytes(static_cast<size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
  std::fclose(file);
  return bytes;
}

// The pieces joined: the header, level 0 band by band from the top (the
// bands' rows given), the rows left, then levels 1 and down.
std::string Joined(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height,
                   const std::vector<uint32_t>& bands) {
  const size_t pitch = size_t{width} * 4;
  std::string bytes = WholeDxt1Header(width, height);
  DevilDdsOutcome made;
  made.texture = made.mipmaps = made.saved = made.dxt1 = true;
  uint32_t above = 0;
  for (uint32_t rows : bands) {
    above += rows;
    made = JoinOutcomes(made, AppendLevelZeroRows(pixels.data() + pitch * (height - above), width, rows, bytes));
  }
  // The rows left and the lower levels come from DevIL's copy of the
  // picture, as in the converter.
  DevilPicture picture;
  EXPECT_TRUE(TakeIntoDevil(pixels.data(), width, height, picture));
  made = JoinOutcomes(made, AppendLevelZeroRows(picture.pixels, width, height - above, bytes));
  made = JoinOutcomes(made, AppendLowerLevels(picture, bytes));
  EXPECT_EQ(picture.image, 0u);
  EXPECT_TRUE(made.saved && made.dxt1 && !made.outOfMemory);
  return bytes;
}

// Odd sizes, multiples of 4 and not, tall and thin, wide and low, the
// smallest that cuts (5 rows), more rows than DevIL is given at a time, and
// the bands the converter uses for one and for three helpers.
TEST(DevilPieces, JoinedPiecesAreTheBytesOfAWholeSave) {
  struct Case {
    uint32_t width, height;
  };
  const Case cases[] = {{5, 5}, {8, 12}, {1, 9}, {37, 1442}, {513, 7}, {64, 64}, {301, 203}, {1001, 1443}, {260, 517}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const std::vector<uint8_t> pixels = Pixels(c.width, c.height);
    const std::string whole = WholeSave(pixels, c.width, c.height);
    const uint32_t lastFour = (c.height - 1) / 4 * 4;
    for (const std::vector<uint32_t>& bands : {std::vector<uint32_t>{4}, std::vector<uint32_t>{lastFour},
                                                HelperBands(c.height, 1), HelperBands(c.height, 3)}) {
      EXPECT_TRUE(Joined(pixels, c.width, c.height, bands) == whole) << bands.size() << " bands of " << bands[0];
    }
  }
}

}  // namespace
}  // namespace jpg2dds
