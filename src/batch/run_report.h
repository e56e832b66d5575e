// The report of a run for scripts (--report=FILE): JSON Lines, one object
// per input in input order, each written as soon as its input is done, and
// a summary object at the end.
#pragma once
#include <cstdint>
#include <string>

#include "batch/file_result.h"

namespace jpg2dds {

struct RunCounts {
  int32_t converted = 0;
  int32_t skipped = 0;
  int32_t failed = 0;  // files and folders
};

// Where the lines go and what has been counted; a report without a file
// (fd -1) only counts.
struct RunReport {
  int fd = -1;
  RunCounts counts;
  bool whole = true;  // no line was lost (a full disk)
};

// A JSON string of the bytes: valid UTF-8 is kept, what JSON must escape is
// escaped, and each byte that is no part of valid UTF-8 becomes \udcXX (XX
// its value), so the line stays valid UTF-8 and the bytes can be had back
// (Python: json.loads, then .encode("utf-8", "surrogateescape")).
std::string JsonString(const std::string& bytes);

// {"input": ..., "output": ..., "status": ..., "reason": ..., "width": ...,
// "height": ..., "format": ..., "bytes": ..., "seconds": ...}; width, height
// and format are null and bytes 0 unless the file was converted.
std::string InputReportLine(const std::string& input, const FileResult& result);

// {"summary": {"converted": N, "skipped": N, "failed": N, "seconds": S}}
std::string SummaryReportLine(const RunCounts& counts, double seconds);

// Counts the input's result and writes its line to the report file.
void ReportInput(RunReport& report, const std::string& input, const FileResult& result);

// A folder that could not be read: a failure of its own.
void ReportUnreadableFolder(RunReport& report, const std::string& folder);

// Writes the summary line and closes the report file.
void FinishReport(RunReport& report, double seconds);

}  // namespace jpg2dds
