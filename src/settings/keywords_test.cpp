#include "settings/keywords.h"

#include <gtest/gtest.h>

#include <cmath>

namespace jpg2dds {
namespace {

TEST(KeywordToValue, MatchesWholeWordsInAnyCase) {
  EXPECT_EQ(KeywordToValue(kResizeAlgorithmKeywords, "LANCZOS"), 5);
  EXPECT_EQ(KeywordToValue(kResizeAlgorithmKeywords, "LaNcZoS"), 5);
  EXPECT_EQ(KeywordToValue(kResizeAlgorithmKeywords, "lanczos3"), 0);
  EXPECT_EQ(KeywordToValue(kResizeAlgorithmKeywords, "BI"), 0);
  EXPECT_EQ(KeywordToValue(kResizeAlgorithmKeywords, ""), 0);
  // Unknown words give 0 even where the default is another value.
  EXPECT_EQ(KeywordToValue(kToneMappingKeywords, "fancy"), 0);
  EXPECT_EQ(KeywordToValue(kFontEffectKeywords, "STRIKETHROUGHT"), 2);
  EXPECT_EQ(KeywordToValue(kFontEffectKeywords, "STRIKETHROUGH"), 0);
  EXPECT_EQ(KeywordToValue(kRawLoadAsKeywords, "48"), 5);
}

TEST(KeywordToValue, SharedNumbersInCompressionTable) {
  for (const char* word : {"ZIP", "ZLIB1", "RLE", "CCITTFAX3"}) {
    EXPECT_EQ(KeywordToValue(kCompressionKeywords, word), 1) << word;
  }
}

TEST(ValueToKeyword, FirstKeywordInLowerCase) {
  EXPECT_EQ(ValueToKeyword(kPositionKeywords, 8), "bottomright");
  EXPECT_EQ(ValueToKeyword(kWatermarkKindKeywords, 3), "");
  EXPECT_EQ(ValueToKeyword(kWatermarkKindKeywords, 2), "image");
  const char* expected[] = {"none", "rle", "piz", "pxr24", "b44", "adobedeflate", "lzw", "jpeg", "logluv"};
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(ValueToKeyword(kCompressionKeywords, i), expected[i]);
}

TEST(ReadOptionInteger, PrefixesSignsAndStops) {
  EXPECT_EQ(ReadOptionInteger("12px"), 12);
  EXPECT_EQ(ReadOptionInteger("abc"), 0);
  EXPECT_EQ(ReadOptionInteger("$FF"), 255);
  EXPECT_EQ(ReadOptionInteger("$ff"), 255);
  EXPECT_EQ(ReadOptionInteger("-%101"), -5);
  EXPECT_EQ(ReadOptionInteger(" \t42"), 42);
  EXPECT_EQ(ReadOptionInteger("0x10"), 0);
  EXPECT_EQ(ReadOptionInteger("$10"), 16);
  EXPECT_EQ(ReadOptionInteger("-20"), -20);
  EXPECT_EQ(ReadOptionInteger("+7"), 7);
  EXPECT_EQ(ReadOptionInteger(""), 0);
  EXPECT_EQ(ReadOptionInteger("%102"), 2);  // binary stops at the 2
}

TEST(ReadOptionInteger, KeepsLowThirtyTwoBits) {
  EXPECT_EQ(ReadOptionInteger("4294967296"), 0);
  EXPECT_EQ(ReadOptionInteger("4294967295"), -1);
  EXPECT_EQ(ReadOptionInteger("2147483648"), INT32_MIN);
  EXPECT_EQ(ReadOptionInteger("$100000005"), 5);
  // Far past 64 bits: wraps, never traps.
  EXPECT_NO_FATAL_FAILURE(ReadOptionInteger(std::string(400, '9')));
}

TEST(ReadOptionReal, SpecialWordsAndDecimalPrefix) {
  EXPECT_FLOAT_EQ(ReadOptionReal("1.5"), 1.5f);
  EXPECT_FLOAT_EQ(ReadOptionReal("abc"), 0.0f);
  EXPECT_FLOAT_EQ(ReadOptionReal("2.25x"), 2.25f);
  EXPECT_FLOAT_EQ(ReadOptionReal("-0.5"), -0.5f);
  EXPECT_FLOAT_EQ(ReadOptionReal("1e2"), 100.0f);
  EXPECT_FLOAT_EQ(ReadOptionReal("3e"), 3.0f);
  EXPECT_FLOAT_EQ(ReadOptionReal(".5"), 0.5f);
  EXPECT_FLOAT_EQ(ReadOptionReal("1,5"), 1.0f);  // "." is the only separator
  EXPECT_TRUE(std::isinf(ReadOptionReal("+infinity")) && ReadOptionReal("+infinity") > 0);
  EXPECT_TRUE(std::isinf(ReadOptionReal("-INFINITY")) && ReadOptionReal("-INFINITY") < 0);
  EXPECT_TRUE(std::isnan(ReadOptionReal("nan")));
  EXPECT_FLOAT_EQ(ReadOptionReal("inf"), 0.0f);
  EXPECT_FLOAT_EQ(ReadOptionReal("0x1p3"), 0.0f);
}

}  // namespace
}  // namespace jpg2dds
