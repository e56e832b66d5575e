#include "batch/run_report.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

// Valid UTF-8 stays as it is; each byte of what is not UTF-8 becomes
// \udcXX, as Python's surrogateescape reads it.
TEST(JsonString, KeepsUtf8AndEscapesEveryOtherByte) {
  const struct {
    std::string bytes, json;
  } cases[] = {
      {"", R"("")"},
      {"tiles/a b.jpg", R"("tiles/a b.jpg")"},
      {"say \"hi\" \\ back", R"("say \"hi\" \\ back")"},
      {"tab\tline\ncr\r\x01\x1f\x7f", R"("tab\tline\ncr\u000d\u0001\u001f)" "\x7f\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
      {"latin \xE9t\xE9", R"("latin \udce9t\udce9")"},
      {"\x80\xBF", R"("\udc80\udcbf")"},                      // continuation bytes alone
      {"\xE2\x82", R"("\udce2\udc82")"},                      // a sequence cut short
      {"\xC0\x80", R"("\udcc0\udc80")"},                      // an overlong NUL
      {"\xED\xA0\x80", R"("\udced\udca0\udc80")"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", R"("\udcf4\udc90\udc80\udc80")"},  // above U+10FFFF
      {"\xFF\xC3\xA9", "\"\\udcff\xC3\xA9\""},                // a bad byte, then a good character
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.bytes), c.json) << c.json;
}

}  // namespace
}  // namespace jpg2dds
