#include "texts/string_catalogue.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

class Catalogue : public ::testing::Test {
 protected:
  void SetUp() override { LoadCatalogue(catalogue); }
  StringCatalogue catalogue;
};

TEST_F(Catalogue, HoldsTheConsoleGroupsInFull) {
  ASSERT_EQ(catalogue.groups.size(), 4u);  // record 0 stays empty
  EXPECT_EQ(catalogue.groups[1].name, "GENERAL");
  EXPECT_EQ(catalogue.groups[2].name, "MSG");
  EXPECT_EQ(catalogue.groups[3].name, "BATCH");
  EXPECT_EQ(catalogue.groups[1].lastEntry - catalogue.groups[1].firstEntry + 1, 10);
  EXPECT_EQ(catalogue.groups[2].lastEntry - catalogue.groups[2].firstEntry + 1, 41);
  EXPECT_EQ(catalogue.groups[3].lastEntry - catalogue.groups[3].firstEntry + 1, 8);
  EXPECT_EQ(catalogue.groups[2].firstEntry, catalogue.groups[1].lastEntry + 1);
  // The folder text of group "Msg" is the windowed front end's message box.
  EXPECT_EQ(CatalogueText(catalogue, "Batch", "Invalid input folder"), "Invalid input folder");
  EXPECT_EQ(CatalogueText(catalogue, "Batch", "Invalid input list"), "Invalid input list");
  EXPECT_EQ(CatalogueText(catalogue, "Batch", "Unreadable folder"), "Unreadable folder: %s1%");
}

TEST_F(Catalogue, EntriesOfAGroupAreSortedByKey) {
  for (size_t g = 1; g < catalogue.groups.size(); ++g) {
    const CatalogueGroup& group = catalogue.groups[g];
    for (int32_t e = group.firstEntry; e < group.lastEntry; ++e) {
      EXPECT_LT(catalogue.entries[e].key, catalogue.entries[e + 1].key);
    }
  }
  // "INPUT FILE" sorts before the longer "INPUT FILES".
  const CatalogueGroup& general = catalogue.groups[1];
  int32_t first = general.firstCharIndex[static_cast<unsigned char>('I')];
  EXPECT_EQ(catalogue.entries[first].key, "IMPORTING");
  EXPECT_EQ(catalogue.entries[first + 1].key, "INPUT FILE");
  EXPECT_EQ(catalogue.entries[first + 2].key, "INPUT FILES");
  EXPECT_EQ(general.firstCharIndex[static_cast<unsigned char>('Z')], 0);
}

TEST_F(Catalogue, GroupsAndKeysMatchInAnyCase) {
  EXPECT_EQ(CatalogueText(catalogue, "msg", "files CONVERTED"), "Files converted: %s1% of %s2%");
  EXPECT_EQ(CatalogueText(catalogue, "GENERAL", "preparing"), "Preparing...");
}

TEST_F(Catalogue, UnknownGroupsAndKeysGiveTheFallback) {
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "No such key"), "%NO_STRING_ERROR%");
  EXPECT_EQ(CatalogueText(catalogue, "Nothing", "Error"), "%NO_STRING_ERROR%");
  EXPECT_EQ(CatalogueText(catalogue, "Msg", ""), "%NO_STRING_ERROR%");
  EXPECT_EQ(CatalogueText(catalogue, "", "Error"), "%NO_STRING_ERROR%");
  // A key past the last of its initial, and one before the first.
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Warnings"), "%NO_STRING_ERROR%");
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "A"), "%NO_STRING_ERROR%");
  // A key of the other group.
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Ready"), "%NO_STRING_ERROR%");
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "\xC3\x89rror"), "%NO_STRING_ERROR%");
}

TEST_F(Catalogue, RememberedGroupFollowsTheLookups) {
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Conversion complete"), "Conversion complete");
  EXPECT_EQ(CatalogueText(catalogue, "General", "Converting"), "Converting...");
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Conversion is not complete"), "Conversion stopped");
  EXPECT_EQ(CatalogueText(catalogue, "Nothing", "Error"), "%NO_STRING_ERROR%");
  EXPECT_EQ(catalogue.rememberedGroup, 0);
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Error"), "Error");
}

TEST_F(Catalogue, KeysSharingAPrefixAreBothFound) {
  EXPECT_EQ(CatalogueText(catalogue, "General", "Input File"), "Input File:");
  EXPECT_EQ(CatalogueText(catalogue, "General", "Input Files"), "Input Files:");
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Import complete"), "Import complete, new files added: %s1%");
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Import is not complete"), "Import stopped");
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Ask break export"), "Do you want to break the export?");
}

TEST_F(Catalogue, TextsKeepLineBreaks) {
  EXPECT_EQ(CatalogueText(catalogue, "Msg", "Invalid output folder"),
            "The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\n"
            "Please, correct the output path and try again!");
}

TEST_F(Catalogue, ReloadingStartsAfresh) {
  CatalogueText(catalogue, "General", "Ready");
  LoadCatalogue(catalogue);
  EXPECT_EQ(catalogue.rememberedGroup, 0);
  EXPECT_EQ(catalogue.entries.size(), 60u);
  EXPECT_EQ(CatalogueText(catalogue, "General", "Ready"), "Ready");
}

TEST(CatalogueData, SameKeyTwiceGivesTheTextThatSortsFirst) {
  const char* const data[] = {"_group_", "Prefs", "Medium", "b-text", "Low", "x",
                              "Medium", "a-text", "_GROUP_", "Empty", "_end_", ""};
  StringCatalogue catalogue;
  LoadCatalogueFrom(catalogue, data);
  EXPECT_EQ(CatalogueText(catalogue, "prefs", "medium"), "a-text");
  EXPECT_EQ(CatalogueText(catalogue, "prefs", "low"), "x");
  // A group without entries has its last entry below its first.
  EXPECT_LT(catalogue.groups[2].lastEntry, catalogue.groups[2].firstEntry);
  EXPECT_EQ(CatalogueText(catalogue, "Empty", "Medium"), "%NO_STRING_ERROR%");
}

TEST(CatalogueText, BeforeLoadingGivesTheFallback) {
  StringCatalogue empty;
  EXPECT_EQ(CatalogueText(empty, "Msg", "Error"), "%NO_STRING_ERROR%");
}

TEST(SubstituteArgs, ReplacesInOrder) {
  const std::string text = "Files converted: %s1% of %s2%";
  EXPECT_EQ(SubstituteArgs(text, "3", "5", "", ""), "Files converted: 3 of 5");
  EXPECT_EQ(SubstituteArgs(text, "", "5", "", ""), "Files converted: %s1% of 5");
  EXPECT_EQ(SubstituteArgs("%s1%, %s1%", "a", "", "", ""), "a, a");
  EXPECT_EQ(SubstituteArgs("%S1% and %s4%", "a", "", "", "d"), "a and d");
  EXPECT_EQ(SubstituteArgs("", "a", "b", "c", "d"), "");
}

TEST(SubstituteArgs, LaterArgumentsReachIntoEarlierOnes) {
  EXPECT_EQ(SubstituteArgs("x%s1%", "%s2%", "y", "", ""), "xy");
  // An argument is not searched again for its own placeholder.
  EXPECT_EQ(SubstituteArgs("%s1%", "%s1%!", "", "", ""), "%s1%!");
  // A placeholder for an earlier argument arriving late stays.
  EXPECT_EQ(SubstituteArgs("%s2%", "a", "%s1%", "", ""), "%s1%");
  // Placeholders glued together and a half placeholder.
  EXPECT_EQ(SubstituteArgs("%s1%%s1%s1%", "z", "", "", ""), "zzs1%");
}

}  // namespace
}  // namespace jpg2dds
