// The run-time record of one conversion run.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "batch/written_outputs.h"

namespace jpg2dds {

struct InputEntry {
  std::string path;               // the key: the input path as named
  std::string relativeSubfolder;  // below the input folder it was found in; else empty
  std::string outputFolder;       // ends with "/"; empty: the run's output folder
};

// What a batch run was given to read, in the order named.
enum class NamedInputKind { kFile, kFolder, kList };

struct NamedInput {
  NamedInputKind kind;
  std::string path;  // as named
};

// Entries keyed by exact path text, visited in insertion order.
using InputList = std::vector<InputEntry>;

struct ConversionJob {
  std::string programFolder;      // ends with "/"
  std::string currentInputFile;
  std::string inputFolder;        // always empty: each input folder is the base of its own files
  std::string currentSubfolder;
  std::string currentOutputFolder;  // the entry's own; empty: outputFolder
  std::string currentOutputPath;
  std::string temporaryOutputPath;
  std::string outputFolder;       // resolved, ends with "/"; empty in a batch without -o and -i
  int32_t randomNumber = 0;       // 1..99999, value of %rnd%
  int32_t sequenceNumber = 1;     // value of %n%
  int32_t sourceBitDepth = 0;
  std::string outputType;         // "dds"
  int32_t outputBitDepth = 0;     // 0: follow the source
  bool keepSourceBitDepth = false;
  int32_t outputWidth = 0;
  int32_t outputHeight = 0;
  int32_t threads = 1;             // threads a conversion may use
  // The -i file, folders and lists of a batch run, the -i file at its place;
  // empty in a run of the one -i file.
  std::vector<NamedInput> namedInputs;
  bool recursiveFolders = false;  // a folder's subfolders count too
  bool ownOutputFolders = false;  // no -o: files go next to what named them
  InputList inputList;
  // Subfolders of the input folders that could not be listed or entered,
  // as input collection met them.
  std::vector<std::string> unreadableFolders;
  // Shared by copies of the job; InitConversionJob makes a fresh one. A job
  // without one keeps no record and lets every output path be written.
  std::shared_ptr<WrittenOutputs> writtenOutputs;
  std::vector<std::string> acceptedExtensions;
};

// Initial values: program folder, fresh random number, sequence 1, empty
// input list, and the accepted input extensions.
void InitConversionJob(ConversionJob& job, const std::string& programFolder);

}  // namespace jpg2dds
