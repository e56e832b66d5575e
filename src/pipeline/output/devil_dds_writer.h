// Pipeline step 13: the picture's pixels handed to DevIL, mipmaps built and
// the DDS file written safely under its final name.
#pragma once
#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

#include "batch/conversion_job.h"
#include "batch/file_result.h"
#include "pipeline/step_timings.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// DevIL keeps one current image per process: threads that use DevIL here
// hold this while they do.
std::mutex& DevilInThisProcess();

// Writes the 32-bit picture as a DDS file with a full mipmap chain and always
// releases it. Records the output size and paths in the job and in
// `result`, with the format and size of the file written or the reason it
// was not. True only when the complete file stands under the output path;
// on any failure an existing output is untouched and no temporary file
// remains. DevIL must have been initialised (ilInit, iluInit). `timings`,
// when given, gets the DevIL time.
bool WriteDdsFile(FIBITMAP* picture, const ConversionSettings& settings, ConversionJob& job, FileResult& result,
                  StepTimings* timings = nullptr);

// DevIL's part of a file made apart from its write (in a helper process):
// what became of each stage.
struct DevilDdsOutcome {
  bool texture = false;      // DevIL took the pixels
  bool mipmaps = false;      // the mipmap chain was built
  bool saved = false;        // the DDS data was saved without a DevIL error
  bool outOfMemory = false;  // the save ran out of memory
  bool dxt1 = false;         // the compression DevIL was left at is DXT1
};

// The pixels of a 32-bit picture as DevIL takes them (bottom row first,
// blue-green-red-alpha, rows without gaps: width x height x 4 bytes at `to`).
void CopyDevilPixels(FIBITMAP* picture, uint8_t* to);

// DevIL's part alone: a texture of those pixels, its mipmaps and the DDS
// data written to `out`, stopping at the first stage that fails.
// `pixelsTaken` is called as soon as DevIL holds its own copy of the pixels.
DevilDdsOutcome MakeDevilDds(const uint8_t* pixels, uint32_t width, uint32_t height, std::FILE* out,
                             const std::function<void()>& pixelsTaken);

// WriteDdsFile for a picture whose DevIL part was made apart: the same
// file, names, result and failures, with `bytes` as the DDS data.
bool WriteMadeDds(const DevilDdsOutcome& made, const uint8_t* bytes, size_t size, int width, int height,
                  const ConversionSettings& settings, ConversionJob& job, FileResult& result);

}  // namespace jpg2dds
