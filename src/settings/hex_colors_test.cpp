#include "settings/hex_colors.h"

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

TEST(ParseHexColor, LengthCountsCharactersNotBytes) {
  // A character outside ASCII, or a byte that does not start valid UTF-8,
  // is one character, and not a hexadecimal digit.
  const struct {
    const char* text;
    uint32_t color;
  } cases[] = {
      {"FF\xC3\xA9" "00", 0u},                // five characters in six bytes: black
      {"\xC3\xA9" "0000", 0u},                // five characters
      {"FF\xE2\x82\xAC" "0", 0u},             // euro sign: four characters in six bytes
      {"FF\xF0\x9F\x98\x80", 0u},            // three characters in six bytes
      {"FF\xC3\xA9" "000", 0x0000FFu},        // six characters: the pair "\xC3\xA9" "0" reads 0
      {"\xC3\xA9" "F00FF", 0xFF0000u},        // first pair starts non-hex
      {"FF\xE9" "000", 0x0000FFu},             // ISO 8859-1 e acute: six characters, six bytes
      {"FF\xE2\x82" "00", 0x0000FFu},         // a truncated sequence is two characters: six in all
      {"FF\xE2\x82" "000", 0u},               // seven characters
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHexColor(c.text), c.color) << c.text;
}

TEST(ParseHexColorAlpha, AlphaInTopByte) {
  EXPECT_EQ(ParseHexColorAlpha("FF8000", 255), 0xFF0080FFu);
  EXPECT_EQ(ParseHexColorAlpha("bad", 128), 0x80000000u);
}

}  // namespace
}  // namespace jpg2dds
