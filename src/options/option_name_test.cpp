#include "options/option_name.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(OptionName, Rules) {
  EXPECT_EQ(OptionName("-v"), "-V");
  EXPECT_EQ(OptionName("--Version"), "--VERSION");
  EXPECT_EQ(OptionName("  -h  "), "-H");
  EXPECT_EQ(OptionName("--input=a.jpg"), "--INPUT");
  EXPECT_EQ(OptionName("--input=a=b"), "--INPUT");
  EXPECT_EQ(OptionName("-i=a.jpg"), "-I=A.JPG");  // single-dash options keep the "="
  EXPECT_EQ(OptionName("a.jpg"), "");
  EXPECT_EQ(OptionName(""), "");
  EXPECT_EQ(OptionName("   "), "");
  EXPECT_EQ(OptionName("-"), "-");
  EXPECT_EQ(OptionName("--"), "--");
  EXPECT_EQ(OptionName("-?"), "-?");
  EXPECT_EQ(OptionName("--wm-text=\xC3\xA9"), "--WM-TEXT");
}

}  // namespace
}  // namespace jpg2dds
