#include "pipeline/colors.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(ParseHexColor, PairsReadUpToFirstNonHexCharacter) {
  EXPECT_EQ(ParseHexColor("FF0000"), 0x0000FFu);
  EXPECT_EQ(ParseHexColor("00ff00"), 0x00FF00u);
  EXPECT_EQ(ParseHexColor("0000FF"), 0xFF0000u);
  EXPECT_EQ(ParseHexColor("1G2H3I"), 0x030201u);  // "1G" reads 1
  EXPECT_EQ(ParseHexColor("G1FFFF"), 0xFFFF00u);  // starts non-hex: 0
  EXPECT_EQ(ParseHexColor("#FF0000"), 0u);        // wrong length: black
  EXPECT_EQ(ParseHexColor("FFF"), 0u);
  EXPECT_EQ(ParseHexColor(""), 0u);
}

TEST(ParseHexColorAlpha, AlphaInTopByte) {
  EXPECT_EQ(ParseHexColorAlpha("FF8000", 255), 0xFF0080FFu);
  EXPECT_EQ(ParseHexColorAlpha("bad", 128), 0x80000000u);
}

}  // namespace
}  // namespace jpg2dds
