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

}  // namespace
}  // namespace jpg2dds
