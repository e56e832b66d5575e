#include "options/ini_reader.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(IniReader, SplitsLinesAtAnyRunOfLineEnds) {
  IniDocument doc = ParseIniText("[A]\r\na=1\rb=2\n\n\r\r\nc=3");
  ASSERT_EQ(doc.groups.size(), 1u);
  ASSERT_EQ(doc.groups[0].lines.size(), 3u);
  EXPECT_EQ(doc.groups[0].lines[2].key, "c");
  EXPECT_EQ(doc.groups[0].lines[2].value, "3");
}

TEST(IniReader, TrimsKeysAtTheRightAndValuesAtBothEnds) {
  IniDocument doc = ParseIniText(" \t[G]\n  \t key \t = \t a = b ; c \t \nbare key \t\n=novalue");
  ASSERT_EQ(doc.groups.size(), 1u);
  const auto& lines = doc.groups[0].lines;
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].key, "key");
  EXPECT_EQ(lines[0].value, "a = b ; c");  // no comments behind a value
  EXPECT_EQ(lines[1].key, "bare key");
  EXPECT_EQ(lines[1].value, "");
  EXPECT_EQ(lines[2].key, "");
  EXPECT_EQ(lines[2].value, "novalue");
}

TEST(IniReader, CommentsOnlyAtLineStartAndGroupNamesUntrimmed) {
  IniDocument doc = ParseIniText("[ CLI ]trailing\n; comment = 1\n  ;also a comment\n[open\nk=v");
  ASSERT_EQ(doc.groups.size(), 2u);
  EXPECT_EQ(doc.groups[0].name, " CLI ");
  EXPECT_TRUE(doc.groups[0].lines.empty());
  EXPECT_EQ(doc.groups[1].name, "open");
  EXPECT_EQ(FindIniGroup(doc, "CLI"), nullptr);
  EXPECT_NE(FindIniGroup(doc, " cli "), nullptr);
}

TEST(IniReader, KeysBeforeTheFirstGroupBelongToNone) {
  IniDocument doc = ParseIniText("k=before\n[G]\nk=inside");
  ASSERT_EQ(doc.groups.size(), 1u);
  ASSERT_EQ(doc.groups[0].lines.size(), 1u);
  EXPECT_EQ(doc.groups[0].lines[0].value, "inside");
}

TEST(IniReader, FirstGroupAndFirstKeyOfANameWinIgnoringAsciiCase) {
  IniDocument doc = ParseIniText("[general]\nCfg=1\ncfg=2\n[GENERAL]\ncfg=3\n");
  const IniGroup* group = FindIniGroup(doc, "General");
  ASSERT_NE(group, nullptr);
  const IniKeyLine* key = FindIniKey(*group, "CFG");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->value, "1");
  EXPECT_EQ(FindIniKey(*group, "missing"), nullptr);
  // The walk of a group sees every line, repeats included.
  EXPECT_EQ(group->lines.size(), 2u);
}

TEST(IniReader, ByteOrderMarkMeansUtf8ElseLatin1) {
  IniDocument utf8 = ParseIniText("\xEF\xBB\xBF[G]\nk=caf\xC3\xA9");
  ASSERT_EQ(utf8.groups.size(), 1u);
  EXPECT_EQ(utf8.groups[0].name, "G");
  EXPECT_EQ(utf8.groups[0].lines[0].value, "caf\xC3\xA9");

  IniDocument latin1 = ParseIniText("[G]\nk=caf\xE9");
  EXPECT_EQ(latin1.groups[0].lines[0].value, "caf\xC3\xA9");
  // UTF-8 bytes without the mark are taken as two Latin-1 characters each.
  IniDocument garbled = ParseIniText("[G]\nk=\xC3\xA9");
  EXPECT_EQ(garbled.groups[0].lines[0].value, "\xC3\x83\xC2\xA9");
}

TEST(IniReader, UnreadableFileIsRefused) {
  IniDocument doc;
  EXPECT_FALSE(ReadIniFile("/nonexistent/folder/file.ini", doc));
  EXPECT_FALSE(ReadIniFile("/", doc));  // a folder
}

}  // namespace
}  // namespace jpg2dds
