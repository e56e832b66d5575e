#include "app/program_identity.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(VersionText, DigitRule) {
  EXPECT_EQ(VersionText(280), "2.8");
  EXPECT_EQ(VersionText(281), "2.8.1");
  EXPECT_EQ(VersionText(300), "3.0");
  EXPECT_EQ(VersionText(kVersionNumber), "2.8");
  EXPECT_EQ(FullTitle(), "Brightmill JPG to DDS 2.8");
}

}  // namespace
}  // namespace jpg2dds
