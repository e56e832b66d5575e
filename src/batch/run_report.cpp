#include "batch/run_report.h"

#include <cstdio>
#include <new>

#include "platform/line_file.h"
#include "platform/text_case.h"

namespace jpg2dds {
namespace {

const char* StatusWord(FileStatus status) {
  switch (status) {
    case FileStatus::kConverted: return "converted";
    case FileStatus::kSkipped: return "skipped";
    case FileStatus::kFailed: return "failed";
  }
  return "failed";
}

std::string Seconds(double seconds) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", seconds < 0 ? 0.0 : seconds);
  return buffer;
}

std::string NumberOrNull(int32_t value, bool known) { return known ? std::to_string(value) : "null"; }

}  // namespace

std::string JsonString(const std::string& bytes) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (size_t at = 0; at < bytes.size();) {
    const unsigned char c = static_cast<unsigned char>(bytes[at]);
    const size_t length = CharacterLength(bytes, at);
    if (c >= 0x80 && length == 1) {
      out += "\\udc";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    } else {
      out.append(bytes, at, length);
    }
    at += length;
  }
  return out + "\"";
}

std::string InputReportLine(const std::string& input, const FileResult& result) {
  const bool converted = result.status == FileStatus::kConverted;
  std::string reason = "null";
  if (result.status == FileStatus::kFailed) {
    const FailureReasonRow* row = FindFailureReason(FailureOf(result));
    reason = std::string("{\"code\": ") + JsonString(row->code) + ", \"text\": " + JsonString(row->text) + "}";
  }
  return "{\"input\": " + JsonString(input) +
         ", \"output\": " + (result.outputPath.empty() ? std::string("null") : JsonString(result.outputPath)) +
         ", \"status\": \"" + StatusWord(result.status) + "\", \"reason\": " + reason +
         ", \"width\": " + NumberOrNull(result.width, converted) +
         ", \"height\": " + NumberOrNull(result.height, converted) +
         ", \"format\": " + (converted && result.format ? JsonString(result.format) : std::string("null")) +
         ", \"bytes\": " + std::to_string(converted ? result.bytes : 0) + ", \"seconds\": " + Seconds(result.seconds) +
         "}";
}

std::string SummaryReportLine(const RunCounts& counts, double seconds) {
  return "{\"summary\": {\"converted\": " + std::to_string(counts.converted) +
         ", \"skipped\": " + std::to_string(counts.skipped) + ", \"failed\": " + std::to_string(counts.failed) +
         ", \"seconds\": " + Seconds(seconds) + "}}";
}

void ReportInput(RunReport& report, const std::string& input, const FileResult& result) {
  switch (result.status) {
    case FileStatus::kConverted: ++report.counts.converted; break;
    case FileStatus::kSkipped: ++report.counts.skipped; break;
    case FileStatus::kFailed: ++report.counts.failed; break;
  }
  // A line that cannot be written (a full disk, no memory to make it) is
  // lost; the run goes on, but it is not complete.
  if (report.fd < 0) return;
  bool written = false;
  try {
    written = WriteLineTo(report.fd, InputReportLine(input, result));
  } catch (const std::bad_alloc&) {
  }
  if (!written) report.whole = false;
}

void ReportUnreadableFolder(RunReport& report, const std::string& folder) {
  FileResult result;
  result.reason = FailureReason::kUnreadableFolder;
  ReportInput(report, folder, result);
}

void FinishReport(RunReport& report, double seconds) {
  if (report.fd < 0) return;
  if (!WriteLineTo(report.fd, SummaryReportLine(report.counts, seconds))) report.whole = false;
  CloseLineFile(report.fd);
  report.fd = -1;
}

}  // namespace jpg2dds
