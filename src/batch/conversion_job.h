// The run-time record of one conversion run.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace jpg2dds {

struct InputEntry {
  std::string path;               // the key: the input path as named
  std::string relativeSubfolder;  // empty for a single named file
};

// Entries keyed by exact path text, visited in insertion order.
using InputList = std::vector<InputEntry>;

struct ConversionJob {
  std::string programFolder;      // ends with "/"
  std::string currentInputFile;
  std::string inputFolder;        // always empty: the input is one file
  std::string currentSubfolder;
  std::string currentOutputPath;
  std::string temporaryOutputPath;
  std::string outputFolder;       // resolved, ends with "/"
  int32_t randomNumber = 0;       // 1..99999, value of %rnd%
  int32_t sequenceNumber = 1;     // value of %n%
  int32_t sourceBitDepth = 0;
  std::string outputType;         // "dds"
  int32_t outputBitDepth = 0;     // 0: follow the source
  bool keepSourceBitDepth = false;
  int32_t outputWidth = 0;
  int32_t outputHeight = 0;
  int32_t threads = 1;             // threads a conversion may use
  InputList inputList;
  std::vector<std::string> acceptedExtensions;
};

// Initial values: program folder, fresh random number, sequence 1, empty
// input list, and the accepted input extensions.
void InitConversionJob(ConversionJob& job, const std::string& programFolder);

}  // namespace jpg2dds
