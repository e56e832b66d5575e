// The family's input extensions and output formats, and this converter's
// type lists ("jpg" in, "dds" out).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace jpg2dds {

struct InputFormat {
  const char* extension;  // key, lower case, no dot
  const char* formatName;
  const char* description;
};

struct OutputFormat {
  const char* formatName;  // key
  int32_t saveId;          // FreeImage format id, or DevIL type for psd/dds/pcx
  const char* description;
  const char* bppList;     // ascending, comma separated
};

extern const InputFormat kInputFormatTable[];
extern const int kInputFormatCount;
extern const OutputFormat kOutputFormatTable[];
extern const int kOutputFormatCount;

extern const std::vector<std::string> kInputTypeList;
extern const std::vector<std::string> kOutputTypeList;

// Extensions of every input table entry whose format is in the input type
// list.
std::vector<std::string> DeriveAcceptedExtensions();

// Whether the lower-cased extension of the path is accepted.
bool IsAcceptedInputFile(const std::string& path, const std::vector<std::string>& accepted);

// Exact, case-sensitive match against the output type list.
bool IsAllowedOutputType(const std::string& formatName);

// The format's bit depths, in the order of its list.
std::vector<int32_t> AllowedBitDepths(const OutputFormat& format);

// 0 (automatic) or one of the format's listed bit depths.
bool IsAllowedBpp(const std::string& formatName, int32_t bpp);

// The automatic bit depth: the first of the format's depths not below the
// source depth, else the last one; 0 for a format not in the table.
int32_t PickAutoBitDepth(const std::string& formatName, int32_t sourceBitDepth);

// Null when the name is not in the output table.
const OutputFormat* FindOutputFormat(const std::string& formatName);

}  // namespace jpg2dds
