#include "batch/validation.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(ResolveOutputFolder, RelativeFoldersHangOffTheProgramFolder) {
  std::string resolved;
  ASSERT_EQ(ResolveOutputFolder("out", "/opt/jpg2dds/", resolved), FolderResolution::kResolved);
  EXPECT_EQ(resolved, "/opt/jpg2dds/out/");
  ASSERT_EQ(ResolveOutputFolder("./out", "/opt/jpg2dds/", resolved), FolderResolution::kResolved);
  EXPECT_EQ(resolved, "/opt/jpg2dds/out/");
  ASSERT_EQ(ResolveOutputFolder("", "/opt/jpg2dds/", resolved), FolderResolution::kResolved);
  EXPECT_EQ(resolved, "/opt/jpg2dds/");
}

TEST(ResolveOutputFolder, AbsoluteFoldersStayAndGetATrailingSlash) {
  std::string resolved;
  ASSERT_EQ(ResolveOutputFolder("/data/out", "/opt/", resolved), FolderResolution::kResolved);
  EXPECT_EQ(resolved, "/data/out/");
  ASSERT_EQ(ResolveOutputFolder("/data/out/", "/opt/", resolved), FolderResolution::kResolved);
  EXPECT_EQ(resolved, "/data/out/");
}

TEST(ResolveOutputFolder, ParentPrefixIsRefused) {
  std::string resolved;
  EXPECT_EQ(ResolveOutputFolder("../out", "/opt/", resolved), FolderResolution::kRefused);
  EXPECT_EQ(ResolveOutputFolder("..", "/opt/", resolved), FolderResolution::kRefused);
}

TEST(FormatGamma, TwoDecimalsAndNeverANegativeZero) {
  // The values are the 32-bit floats a profile or an option stores: -0.005
  // is held as -0.00499999..., which is nearer to 0.00 than to -0.01.
  const struct {
    float gamma;
    const char* shown;
  } cases[] = {
      {-0.0f, "0.00"},     {-0.001f, "0.00"},  {-0.004f, "0.00"},  {-0.0049f, "0.00"}, {-0.005f, "0.00"},
      {-0.0051f, "-0.01"}, {-0.006f, "-0.01"}, {-0.01f, "-0.01"},  {-1.5f, "-1.50"},   {0.0f, "0.00"},
      {0.001f, "0.00"},    {0.004f, "0.00"},   {0.005f, "0.00"},   {0.0051f, "0.01"},  {0.006f, "0.01"},
      {0.01f, "0.01"},     {1.0f, "1.00"},     {2.345f, "2.35"},   {9.99f, "9.99"},    {10.0f, "10.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGamma(c.gamma), c.shown) << c.gamma;
  for (int step = -1000; step <= 1000; ++step) {
    const float gamma = static_cast<float>(step) / 100000.0f;  // -0.01 to 0.01
    const std::string shown = FormatGamma(gamma);
    EXPECT_NE(shown, "-0.00") << gamma;
    EXPECT_NEAR(std::stod(shown), gamma, 0.005 + 1e-9) << gamma;
  }
}

}  // namespace
}  // namespace jpg2dds
