#include "naming/filename_mask.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"

namespace jpg2dds {
namespace {

ConversionSettings WithMask(const std::string& mask) {
  ConversionSettings settings;
  ApplyDefaults(settings, DefaultsVariant::kConsole, 0, 0);
  settings.filenameMask = mask;
  return settings;
}

ConversionJob JobFor(const std::string& input) {
  ConversionJob job;
  job.currentInputFile = input;
  job.outputType = "dds";
  job.randomNumber = 42;
  job.sequenceNumber = 1;
  job.outputBitDepth = 32;
  job.outputWidth = 640;
  job.outputHeight = 480;
  return job;
}

TEST(FilenameTokens, AreTheEighteenInTheirOrder) {
  const char* expected[] = {"%filename%", "%filename[u]%", "%filename[l]%", "%filename[t]%", "%ext%",
                            "%ext[u]%",   "%ext[t]%",      "%yyyy%",        "%mm%",          "%dd%",
                            "%hh%",       "%ii%",          "%ss%",          "%bpp%",         "%width%",
                            "%height%",   "%rnd%",         "%n%"};
  ASSERT_EQ(kFilenameTokenCount, 18);
  for (int i = 0; i < 18; ++i) EXPECT_STREQ(FilenameTokens[i].token, expected[i]) << i;
}

TEST(NameWithoutExtension, DropsFolderAndLastExtensionOnly) {
  EXPECT_EQ(NameWithoutExtension("/photos/Beach.JPG"), "Beach");
  EXPECT_EQ(NameWithoutExtension("C:\\Photos\\Beach.JPG"), "Beach");
  EXPECT_EQ(NameWithoutExtension("/a.b/archive.tar.jpg"), "archive.tar");
  EXPECT_EQ(NameWithoutExtension("/a.b/noext"), "noext");
}

TEST(ExpandFilenameMask, EmptyMaskUsesDefaultAndValuesKeepTheirCase) {
  EXPECT_EQ(ExpandFilenameMask(WithMask(""), JobFor("/Photos/Beach.JPG")), "Beach.dds");
  EXPECT_EQ(ExpandFilenameMask(WithMask("%filename%.%ext%"), JobFor("/Photos/Beach.JPG")), "Beach.dds");
}

TEST(ExpandFilenameMask, MaskIsLoweredSoUpperCaseTokensAndLiteralsWork) {
  EXPECT_EQ(ExpandFilenameMask(WithMask("Photo_%N%.%EXT%"), JobFor("/x/a.jpg")), "photo_00001.dds");
  EXPECT_EQ(ExpandFilenameMask(WithMask("%EXT[U]%-%ext[t]%"), JobFor("/x/a.jpg")), "DDS-Dds");
}

TEST(ExpandFilenameMask, CaseVariantsOfTheName) {
  ConversionJob job = JobFor("/x/mY pHOTO.jpg");
  EXPECT_EQ(ExpandFilenameMask(WithMask("%filename[t]%"), job), "My photo");
  EXPECT_EQ(ExpandFilenameMask(WithMask("%filename[u]%"), job), "MY PHOTO");
  EXPECT_EQ(ExpandFilenameMask(WithMask("%filename[l]%"), job), "my photo");
  // Unicode case mapping, not ASCII only.
  EXPECT_EQ(ExpandFilenameMask(WithMask("%filename[u]%"), JobFor("/x/\xC3\xA9t\xC3\xA9.jpg")),
            "\xC3\x89T\xC3\x89");
}

TEST(ExpandFilenameMask, TitleCaseUpperCasesExactlyOneCharacter) {
  // A byte that does not start valid UTF-8 (a legacy-encoded name) is one
  // character, passed through; the letters after it are lowered.
  const struct {
    const char* name;
    const char* titled;
  } cases[] = {
      {"\xC4RGER", "\xC4rger"},                            // ISO 8859-1 capital A umlaut
      {"\xE4RGER", "\xE4rger"},                            // ISO 8859-1 small a umlaut
      {"\xC4", "\xC4"},
      {"\x80" "ABC", "\x80" "abc"},                        // stray continuation byte
      {"\xE2\x82XY", "\xE2\x82xy"},                        // truncated three-byte sequence
      {"\xC0\xAF" "AB", "\xC0\xAF" "ab"},                  // overlong "/"
      {"\xC3\xA4RGER", "\xC3\x84rger"},                    // UTF-8 small a umlaut
      {"\xC3\x84RGER", "\xC3\x84rger"},                    // UTF-8 capital A umlaut
      {"\xF0\x9F\x98\x80" "AB", "\xF0\x9F\x98\x80" "ab"},  // four-byte character
      {"aBC", "Abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExpandFilenameMask(WithMask("%filename[t]%"), JobFor(std::string("/x/") + c.name + ".jpg")), c.titled)
        << c.name;
  }
  EXPECT_EQ(ExpandFilenameMask(WithMask("%ext[t]%"), JobFor("/x/\xC4RGER.jpg")), "Dds");
}

TEST(ExpandFilenameMask, NumbersArePaddedAndSizesShown) {
  ConversionJob job = JobFor("/x/a.jpg");
  EXPECT_EQ(ExpandFilenameMask(WithMask("%rnd%_%n%_%bpp%_%width%x%height%"), job), "00042_00001_32_640x480");
  job.randomNumber = 99999;
  job.sequenceNumber = 123456;
  EXPECT_EQ(ExpandFilenameMask(WithMask("%rnd%_%n%"), job), "99999_123456");
}

TEST(ExpandFilenameMask, ValueHoldingALaterTokenIsExpandedAgain) {
  EXPECT_EQ(ExpandFilenameMask(WithMask("%filename%"), JobFor("/x/a%n%.jpg")), "a00001");
  // An earlier token brought in by a value stays as it came.
  EXPECT_EQ(ExpandFilenameMask(WithMask("%filename%"), JobFor("/x/b%ext%.jpg")), "bdds");
  EXPECT_EQ(ExpandFilenameMask(WithMask("%ext%-%n%"), JobFor("/x/a.jpg")), "dds-00001");
  EXPECT_EQ(ExpandFilenameMask(WithMask("%n%%filename%"), JobFor("/x/b%filename%.jpg")), "00001b%filename%");
  // A value's upper-case token is not lowered, so it is not expanded either.
  EXPECT_EQ(ExpandFilenameMask(WithMask("%filename%"), JobFor("/x/a%N%.jpg")), "a%N%");
}

TEST(ExpandFilenameMask, TokenlessMaskNamesEveryFileAlike) {
  EXPECT_EQ(ExpandFilenameMask(WithMask("fixed"), JobFor("/x/a.jpg")), "fixed");
  EXPECT_EQ(ExpandFilenameMask(WithMask("sub/%filename%.%ext%"), JobFor("/x/a.jpg")), "sub/a.dds");
}

TEST(ExpandFilenameMask, DateTokensReadTheLocalClock) {
  std::tm before = CurrentLocalFields();
  std::string name = ExpandFilenameMask(WithMask("%yyyy%-%mm%-%dd% %hh%:%ii%:%ss%"), JobFor("/x/a.jpg"));
  ASSERT_EQ(name.size(), 19u);
  EXPECT_EQ(std::stoi(name.substr(0, 4)), before.tm_year + 1900);
  int month = std::stoi(name.substr(5, 2));
  EXPECT_GE(month, 1);
  EXPECT_LE(month, 12);
  EXPECT_LE(std::stoi(name.substr(11, 2)), 23);
}

TEST(ReplaceToken, MatchesWithoutRegardToCaseAndReplacesEveryOccurrence) {
  ConversionJob job = JobFor("/x/Sea.jpg");
  EXPECT_EQ(ReplaceToken("%FileName%/%filename%.x", FilenameTokens[0], job), "Sea/Sea.x");
  EXPECT_EQ(ReplaceToken("no token %", FilenameTokens[0], job), "no token %");
  // KELVIN SIGN lowers to "k": it is the same letter without regard to case.
  const FilenameToken kelvinProbe{"%k%", [](const ConversionJob&) { return std::string("v"); }, TokenValueKind::kInput};
  EXPECT_EQ(ReplaceToken("%\xE2\x84\xAA%", kelvinProbe, job), "v");
}

TEST(ExpandWatermarkText, LiteralTextKeepsItsCase) {
  ConversionSettings settings = WithMask("");
  settings.text = "(c) %YYYY% by Me";
  std::string year = std::to_string(CurrentLocalFields().tm_year + 1900);
  EXPECT_EQ(ExpandWatermarkText(settings, JobFor("/x/a.jpg")), "(c) " + year + " by Me");
}

TEST(ExpandWatermarkText, FewerThanTwoPercentSignsIsReturnedAsIs) {
  ConversionSettings settings = WithMask("");
  settings.text = "100% Me";
  EXPECT_EQ(ExpandWatermarkText(settings, JobFor("/x/a.jpg")), "100% Me");
  settings.text = "Size %WIDTH%x%Height%%eol%%N%";
  EXPECT_EQ(ExpandWatermarkText(settings, JobFor("/x/a.jpg")), "Size 640x480%eol%00001");
}

TEST(ExpandWatermarkText, ProbeIsMadeOnceFromTheText) {
  ConversionSettings settings = WithMask("");
  // The value brings in %n%, which the text itself does not hold.
  settings.text = "%filename%!";
  EXPECT_EQ(ExpandWatermarkText(settings, JobFor("/x/a%n%.jpg")), "a%n%!");
  settings.text = "%filename%!%n%";
  EXPECT_EQ(ExpandWatermarkText(settings, JobFor("/x/a%n%.jpg")), "a00001!00001");
}

}  // namespace
}  // namespace jpg2dds
