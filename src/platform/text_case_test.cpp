#include "platform/text_case.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(TextCase, MapsNonAsciiLetters) {
  EXPECT_EQ(UpperCase("stra\xC3\x9F" "e"), "STRA\xC3\x9F" "E");  // sharp s has no one-letter capital
  EXPECT_EQ(LowerCase("\xC3\x89" "COLE"), "\xC3\xA9" "cole");
  EXPECT_EQ(UpperCase("\xC3\xA9" "cole"), "\xC3\x89" "COLE");
  EXPECT_EQ(UpperCase("\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"),
            "\xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2");  // Cyrillic
  EXPECT_EQ(UpperCase("--input=a.jpg"), "--INPUT=A.JPG");
  EXPECT_EQ(LowerCase("Photo.JPG 123"), "photo.jpg 123");
  EXPECT_EQ(UpperCase(""), "");
}

TEST(TextCase, InvalidUtf8PassesThrough) {
  // Latin-1 "é" alone, a stray continuation byte, a truncated sequence, an
  // overlong encoding of "/" and an encoded surrogate.
  EXPECT_EQ(UpperCase("caf\xE9.jpg"), "CAF\xE9.JPG");
  EXPECT_EQ(LowerCase("A\x80Z"), "a\x80z");
  EXPECT_EQ(UpperCase("ab\xC3"), "AB\xC3");
  EXPECT_EQ(UpperCase("\xC0\xAF" "a"), "\xC0\xAF" "A");
  EXPECT_EQ(UpperCase("\xED\xA0\x80" "a"), "\xED\xA0\x80" "A");
}

TEST(TextCase, Latin1AndAsciiHelpers) {
  EXPECT_EQ(Latin1ToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(Latin1ToUtf8("plain"), "plain");
  EXPECT_TRUE(EqualsIgnoreAsciiCase("Keep Subfolders", "KEEP subfolders"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("abc", "abcd"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("\xC3\xA9", "\xC3\x89"));  // ASCII only
}

}  // namespace
}  // namespace jpg2dds
