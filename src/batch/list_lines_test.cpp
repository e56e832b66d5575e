#include "batch/list_lines.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

using Paths = std::vector<std::string>;

// Lists as editors, shells and scripts write them.
TEST(ListLinePaths, OnePathPerLineWithoutBlanksAndComments) {
  const struct {
    const char* name;
    std::string text;
    Paths paths;
  } cases[] = {
      {"empty", "", {}},
      {"find or ls -1", "a.jpg\nsub dir/b.JPG\n", {"a.jpg", "sub dir/b.JPG"}},
      {"no newline at the end", "a.jpg\nb.jpg", {"a.jpg", "b.jpg"}},
      {"Notepad: mark and CR LF", "\xEF\xBB\xBF" "a.jpg\r\nb.jpg\r\n", {"a.jpg", "b.jpg"}},
      {"a mark before a comment", "\xEF\xBB\xBF# mine\r\na.jpg\r\n", {"a.jpg"}},
      {"blank lines", "\n\r\n  \n\t \r\na.jpg\n\n", {"a.jpg"}},
      {"comments only at the start", "# old\n#x.jpg\n # not one.jpg\na#b.jpg\n", {" # not one.jpg", "a#b.jpg"}},
      {"blanks belong to the name", " a.jpg \n", {" a.jpg "}},
      {"only the last CR goes", "a.jpg\r\r\n", {"a.jpg\r"}},
      {"a lone CR ends no line", "a.jpg\rb.jpg\n", {"a.jpg\rb.jpg"}},
      {"bytes as they are", "caf\xC3\xA9.jpg\n\xE9t\xE9.jpg\n", {"caf\xC3\xA9.jpg", "\xE9t\xE9.jpg"}},
      {"a mark inside is part of the name", "a.jpg\n\xEF\xBB\xBF" "b.jpg\n", {"a.jpg", "\xEF\xBB\xBF" "b.jpg"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ListLinePaths(c.text), c.paths) << c.name;
}

}  // namespace
}  // namespace jpg2dds
