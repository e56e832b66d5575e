#include "pipeline/dds_writer.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "naming/output_path.h"
#include "pipeline/picture_limits.h"
#include "platform/clock.h"
#include "platform/new_file.h"
#include "platform/random.h"
#include "platform/safe_files.h"

namespace jpg2dds {
namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
  void operator()(void* block) const { std::free(block); }
};
using PixelBuffer = std::unique_ptr<BYTE, FreeDeleter>;

// Another name is tried when one is taken already: an existing file is never
// written into.
constexpr int kTemporaryNameTries = 8;

// DevIL keeps a stack of errors; a failed file must not leave it growing.
void ClearDevilErrors() {
  while (ilGetError() != IL_NO_ERROR) {
  }
}

// Hands the pixels to a fresh DevIL image bound as the current one and frees
// the picture and the buffer as soon as each has been copied on. False when
// memory for the copy cannot be had; the picture is released either way.
bool HandPixelsToDevil(FIBITMAP* picture, ILuint width, ILuint height) {
  // 64-bit arithmetic: width x height x 4 overflows 32 bits from 2^30 pixels.
  const uint64_t pitch = uint64_t{width} * 4;
  const uint64_t size = pitch * height;
  PixelBuffer buffer;
  if (size > 0 && FitsPictureLimit(width, height) && FreeImage_HasPixels(picture)) {
    buffer.reset(static_cast<BYTE*>(std::calloc(static_cast<size_t>(size), 1)));
  }
  if (!buffer) {
    FreeImage_Unload(picture);
    return false;
  }
  // Bottom row first, blue-green-red-alpha: DevIL's lower-left origin.
  FreeImage_ConvertToRawBits(buffer.get(), picture, static_cast<int>(pitch), 32, FI_RGBA_RED_MASK,
                             FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
  FreeImage_Unload(picture);
  const ILubyte depth = static_cast<ILubyte>(ilGetInteger(IL_IMAGE_DEPTH));
  return ilTexImage(width, height, depth, 4, IL_BGRA, IL_UNSIGNED_BYTE, buffer.get()) == IL_TRUE;
}

}  // namespace

std::string MakeTemporaryName(const std::string& prefix, const std::string& suffix) {
  std::string name = prefix;
  for (char digit : std::to_string(CurrentDateValue())) {
    if (digit >= '0' && digit <= '9') name += static_cast<char>('a' + (digit - '0'));
  }
  for (int i = 0; i < 5; ++i) name += static_cast<char>('a' + RandomInRange(0, 25));
  return name + suffix;
}

std::string BuildTemporaryPath(const ConversionSettings& settings, const ConversionJob& job) {
  return OutputFolderPart(settings, job) + MakeTemporaryName("tessel", "") + "." + job.outputType;
}

bool WriteDdsFile(FIBITMAP* picture, const ConversionSettings& settings, ConversionJob& job,
                  StepTimings* timings) {
  if (!picture) return false;
  const ILuint width = FreeImage_GetWidth(picture);
  const ILuint height = FreeImage_GetHeight(picture);

  ilEnable(IL_FILE_OVERWRITE);
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  if (!HandPixelsToDevil(picture, width, height)) {
    ilDeleteImages(1, &image);
    ClearDevilErrors();
    return false;
  }

  const Clock::time_point devilStart = Clock::now();
  bool ok = iluBuildMipmaps() == IL_TRUE;

  job.outputWidth = static_cast<int32_t>(width);
  job.outputHeight = static_cast<int32_t>(height);
  job.currentOutputPath = BuildOutputPath(settings, job);
  std::FILE* file = nullptr;
  for (int i = 0; i < kTemporaryNameTries && !file; ++i) {
    job.temporaryOutputPath = BuildTemporaryPath(settings, job);
    file = CreateNewFile(job.temporaryOutputPath);
  }

  // DevIL writes into a stream of ours: its own file saving reports success
  // even when writes fail, and a truncated file must never replace a good one.
  // The old output stays in place until the new file is complete on disk;
  // rename() then replaces it in one step, read-only or not.
  if (ok && file) ok = ilSaveF(IL_DDS, file) > 0;
  if (timings) timings->mipmapAndSave += Clock::now() - devilStart;
  ilDeleteImages(1, &image);
  const bool created = file != nullptr;
  ok = created && CloseWrittenFile(file) && ok;
  if (ok) ok = MoveFileOver(job.temporaryOutputPath, job.currentOutputPath);
  if (!ok) {
    if (created) RemoveFileQuietly(job.temporaryOutputPath);
    ClearDevilErrors();
  }
  return ok;
}

}  // namespace jpg2dds
