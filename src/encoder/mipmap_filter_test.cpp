#include "encoder/mipmap_filter.h"

#include <gtest/gtest.h>

#include <vector>

#include "encoder/dds_format.h"

namespace jpg2dds {
namespace {

TEST(MipChain, EverySideHalvedDownToOneByOne) {
  struct Case {
    int width, height;
    std::vector<std::pair<int, int>> levels;
  };
  const Case cases[] = {
      {1, 1, {{1, 1}}},
      {1, 5, {{1, 5}, {1, 2}, {1, 1}}},
      {3, 3, {{3, 3}, {1, 1}}},
      {5, 2, {{5, 2}, {2, 1}, {1, 1}}},
      {300, 200, {{300, 200}, {150, 100}, {75, 50}, {37, 25}, {18, 12}, {9, 6}, {4, 3}, {2, 1}, {1, 1}}},
  };
  for (const Case& c : cases) {
    std::vector<std::pair<int, int>> levels;
    for (const LevelSize& size : MipChain(c.width, c.height)) levels.push_back({size.width, size.height});
    EXPECT_EQ(levels, c.levels) << c.width << "x" << c.height;
  }
}

// Grey pixels (blue = green = red = v) of a picture given row by row.
std::vector<uint8_t> Downsample(const std::vector<std::vector<uint8_t>>& grey, int destWidth, int destHeight) {
  const int width = static_cast<int>(grey[0].size()), height = static_cast<int>(grey.size());
  std::vector<uint8_t> out(static_cast<size_t>(destWidth) * destHeight * 4);
  DownsampleRows(
      [&](int y, uint8_t* scratch) {
        for (int x = 0; x < width; ++x) {
          scratch[x * 4] = scratch[x * 4 + 1] = scratch[x * 4 + 2] = grey[y][x];
          scratch[x * 4 + 3] = 255;
        }
        return PixelRow{scratch, 4};
      },
      width, height, destWidth, destHeight, 0, destHeight, out.data());
  std::vector<uint8_t> values;
  for (size_t i = 0; i < out.size(); i += 4) {
    EXPECT_TRUE(out[i] == out[i + 1] && out[i] == out[i + 2]);
    EXPECT_EQ(out[i + 3], 255);
    values.push_back(out[i]);
  }
  return values;
}

TEST(DownsampleRows, AveragesLightAndCountsTheLastRowAndColumnOfOddSides) {
  // Half the light is sRGB 188, not the 128 of averaged values.
  EXPECT_EQ(Downsample({{0, 255}, {255, 0}}, 1, 1), std::vector<uint8_t>{188});
  EXPECT_EQ(Downsample({{0, 255, 0, 255}}, 2, 1), (std::vector<uint8_t>{188, 188}));
  // Three columns into one: two thirds of the light.
  EXPECT_EQ(Downsample({{0, 255, 255}}, 1, 1), std::vector<uint8_t>{LinearToSrgb(2.0 / 3)});
  // Five into two: each destination pixel covers two and a half columns, so
  // a white last column gives the second one 40 % of full light.
  EXPECT_EQ(Downsample({{0, 0, 0, 0, 255}, {0, 0, 0, 0, 255}}, 2, 1), (std::vector<uint8_t>{0, LinearToSrgb(0.4)}));
  EXPECT_EQ(Downsample({{0}, {0}, {255}}, 1, 1), std::vector<uint8_t>{LinearToSrgb(1.0 / 3)});
  // A flat picture stays exactly as it is.
  for (int v : {0, 1, 17, 128, 254, 255}) {
    EXPECT_EQ(Downsample({{uint8_t(v), uint8_t(v), uint8_t(v)}, {uint8_t(v), uint8_t(v), uint8_t(v)}}, 1, 1),
              std::vector<uint8_t>{uint8_t(v)});
  }
}

}  // namespace
}  // namespace jpg2dds
