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

// Each character of the text alone: its columns on a terminal.
TEST(TextCase, CharacterColumns) {
  const std::pair<const char*, int> cases[] = {
      {"a", 1}, {" ", 1}, {"\xC3\xA9", 1}, {"\xE6\x97\xA5", 2}, {"\xF0\x9F\x98\x80", 2},  // e acute, CJK, emoji
      {"\xCC\x81", 0},                                     // a combining acute accent
      {"\x1B", -1}, {"\n", -1}, {"\x7F", -1}, {"\xC2\x9B", -1},  // ESC, LF, DEL, CSI of C1
      {"\xE9", -1}, {"\xC0\xAF", -1}, {"\xED\xA0\x80", -1},     // not UTF-8
  };
  for (const auto& [text, columns] : cases) {
    const std::string character(text);
    EXPECT_EQ(CharacterColumns(character, 0, CharacterLength(character, 0)), columns) << text;
  }
}

}  // namespace
}  // namespace jpg2dds
