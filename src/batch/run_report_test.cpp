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

TEST(RunReport, OneLinePerInputAndASummary) {
  FileResult converted;
  converted.status = FileStatus::kConverted;
  converted.outputPath = "/out/a.dds";
  converted.width = 16;
  converted.height = 8;
  converted.format = "dxt5";
  converted.bytes = 312;
  converted.seconds = 0.0125;
  EXPECT_EQ(InputReportLine("a.jpg", converted),
            R"({"input": "a.jpg", "output": "/out/a.dds", "status": "converted", "reason": null, "width": 16, )"
            R"("height": 8, "format": "dxt5", "bytes": 312, "seconds": 0.013})");
  FileResult skipped = converted;
  skipped.status = FileStatus::kSkipped;
  EXPECT_EQ(InputReportLine("a.jpg", skipped),
            R"({"input": "a.jpg", "output": "/out/a.dds", "status": "skipped", "reason": null, "width": null, )"
            R"("height": null, "format": null, "bytes": 0, "seconds": 0.013})");
  FileResult failed;
  failed.reason = FailureReason::kNotJpeg;
  EXPECT_EQ(InputReportLine("b.jpg", failed),
            R"({"input": "b.jpg", "output": null, "status": "failed", "reason": {"code": "not-jpeg", "text": )"
            R"("The input file is not a JPEG picture"}, "width": null, "height": null, "format": null, )"
            R"("bytes": 0, "seconds": 0.000})");

  RunReport report;
  ReportInput(report, "a.jpg", converted);
  ReportInput(report, "a.jpg", skipped);
  ReportUnreadableFolder(report, "shoot/locked");
  ReportInput(report, "b.jpg", failed);
  EXPECT_EQ(SummaryReportLine(report.counts, 2.5),
            R"({"summary": {"converted": 1, "skipped": 1, "failed": 2, "seconds": 2.500}})");
}

}  // namespace
}  // namespace jpg2dds
