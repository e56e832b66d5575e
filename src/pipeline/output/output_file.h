// Writing one output file safely: under a temporary name in its own folder,
// flushed to disk, then moved over the output name. Shared by the DDS
// writers.
#pragma once
#include <cstdio>
#include <functional>
#include <string>

#include "batch/conversion_job.h"
#include "batch/file_result.h"
#include "platform/held_folder.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// The folder of `outputPath` (the job's current input's output), walked down
// from the entry's output folder without following a link, and the output
// file's name in it. With `makeSubfolder` the kept subfolder is made where it
// is missing; the folders of the filename mask must exist. False when a
// folder cannot be entered (or made); `folder` is then released.
bool HoldOutputFolder(const ConversionSettings& settings, const ConversionJob& job, const std::string& outputPath,
                      bool makeSubfolder, HeldFolder& folder, std::string& name);

// prefix + one letter per digit of the current date value ("a" for 0 to "j"
// for 9) + five random letters + suffix.
std::string MakeTemporaryName(const std::string& prefix, const std::string& suffix);

// "." + MakeTemporaryName("tessel", "." + output type + ".part"): the name
// of an output while it is written, in the output's own folder so that the
// rename is atomic, and named so that a file left by a process killed
// outright matches neither a shell's "*.dds" nor find's -name '*.dds'.
std::string TemporaryName(const std::string& outputType);

// Records the output size and then the output and temporary paths in the
// job and the result, and lets `body` write the contents into a new
// temporary file in the output's folder. That folder is reached from the
// entry's output folder without following a link (a link planted in a shared
// output folder leads nowhere); the kept subfolder is made there where it is
// missing. True only when body succeeded and the complete file stands under
// the output name (a link of that name is replaced, never written through;
// the file's size is then in the result); on any failure, memory that runs
// out included, the temporary file is removed, an existing output is
// untouched and the result has the reason, unless body gave one. An output
// path that an earlier file of the run claimed fails before anything is
// created.
bool WriteOutputFile(const ConversionSettings& settings, ConversionJob& job, int width, int height,
                     FileResult& result, const std::function<bool(std::FILE*)>& body);

}  // namespace jpg2dds
