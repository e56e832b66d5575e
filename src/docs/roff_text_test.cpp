#include "docs/roff_text.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(RoffText, EscapesWhatRoffWouldReadAsItsOwn) {
  const struct {
    const char* text;
    const char* roff;
  } cases[] = {
      {"--width=800", "\\-\\-width=800"},
      {"c:\\tmp\\a.jpg", "c:\\(rstmp\\(rsa.jpg"},
      {".hidden", "\\&.hidden"},
      {"'quoted'", "\\&'quoted'"},
      {"a.b 'c'", "a.b 'c'"},
      {"one\n.two\n'three", "one\n\\&.two\n\\&'three"},
      {"\xC2\xA9 2019", "\\[u00A9] 2019"},          // two bytes
      {"1\xC3\x97" "1", "1\\[u00D7]1"},             // two bytes
      {"\xE2\x82\xAC", "\\[u20AC]"},                // three bytes
      {"\xF0\x9F\x98\x80", "\\[u1F600]"},           // four bytes
      {"a\xFFz", "a\\[u00BF]z"},                    // not UTF-8
      {"\xC3(", "\\[u00BF]("},                      // a sequence cut short
      {"%filename%.%ext%", "%filename%.%ext%"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RoffText(c.text), c.roff) << c.text;
}

}  // namespace
}  // namespace jpg2dds
