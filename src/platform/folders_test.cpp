#include "platform/folders.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(ConfigFolderFrom, OneSlashBetweenFoldersAndOneAtTheEnd) {
  const struct {
    const char* xdg;
    const char* home;
    const char* folder;
  } cases[] = {
      {"/", "/home/u", "/"},
      {"//", "/home/u", "/"},
      {"///", "", "/"},
      {"/x/", "", "/x/"},
      {"/x", "", "/x/"},
      {"//x//y//", "", "/x/y/"},
      {"relative/x", "/home/u", "/home/u/.config/"},  // a relative value is ignored
      {"", "/home/u/", "/home/u/.config/"},
      {nullptr, "/home//u", "/home/u/.config/"},
      {nullptr, "/", "/.config/"},
      {nullptr, "", ""},  // unknown
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConfigFolderFrom(c.xdg, c.home), c.folder) << (c.xdg ? c.xdg : "(unset)") << " " << c.home;
  }
}

}  // namespace
}  // namespace jpg2dds
