#include "pipeline/output/devil_dds_writer.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "encoder/dds_format.h"
#include "pipeline/load/picture_limits.h"
#include "pipeline/output/output_file.h"
#include "platform/new_file.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
  void operator()(void* block) const { std::free(block); }
};
using PixelBuffer = std::unique_ptr<BYTE, FreeDeleter>;

// DevIL keeps a stack of errors; a failed file must not leave it growing.
void ClearDevilErrors() {
  while (ilGetError() != IL_NO_ERROR) {
  }
}

// Hands the pixels to a fresh DevIL image bound as the current one and
// releases the picture as soon as DevIL has its copy. False when memory for
// the pixels cannot be had; the picture is released either way.
bool HandPixelsToDevil(FIBITMAP* picture, ILuint width, ILuint height, StepTimings* timings) {
  // 64-bit arithmetic: width x height x 4 overflows 32 bits from 2^30 pixels.
  const uint64_t pitch = uint64_t{width} * 4;
  const uint64_t size = pitch * height;
  if (size == 0 || !FitsPictureLimit(width, height) || !FreeImage_HasPixels(picture)) {
    FreeImage_Unload(picture);
    return false;
  }
  // DevIL wants bottom row first, blue-green-red-alpha, rows without gaps:
  // how FreeImage already stores a 32-bit picture. Its bits are then handed
  // over as they are; a separate copy would cost a whole picture of memory
  // and time for the same bytes.
  PixelBuffer buffer;
  const BYTE* pixels = FreeImage_GetBits(picture);
  if (FreeImage_GetBPP(picture) != 32 || FreeImage_GetPitch(picture) != pitch) {
    buffer.reset(static_cast<BYTE*>(std::calloc(static_cast<size_t>(size), 1)));
    if (!buffer) {
      FreeImage_Unload(picture);
      return false;
    }
    FreeImage_ConvertToRawBits(buffer.get(), picture, static_cast<int>(pitch), 32, FI_RGBA_RED_MASK,
                               FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    FreeImage_Unload(picture);
    picture = nullptr;
    pixels = buffer.get();
  }
  const Clock::time_point start = Clock::now();
  const ILubyte depth = static_cast<ILubyte>(ilGetInteger(IL_IMAGE_DEPTH));
  const bool copied =
      ilTexImage(width, height, depth, 4, IL_BGRA, IL_UNSIGNED_BYTE, const_cast<BYTE*>(pixels)) == IL_TRUE;
  if (timings) timings->devilCopy += Clock::now() - start;
  if (picture) FreeImage_Unload(picture);
  return copied;
}

}  // namespace

bool WriteDdsFile(FIBITMAP* picture, const ConversionSettings& settings, ConversionJob& job, FileResult& result,
                  StepTimings* timings) {
  if (!picture) {
    NoteFailure(result, FailureReason::kOutOfMemory);
    return false;
  }
  const ILuint width = FreeImage_GetWidth(picture);
  const ILuint height = FreeImage_GetHeight(picture);

  ilEnable(IL_FILE_OVERWRITE);
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  if (!HandPixelsToDevil(picture, width, height, timings)) {
    NoteFailure(result, FitsPictureLimit(width, height) ? FailureReason::kOutOfMemory : FailureReason::kTooLarge);
    ilDeleteImages(1, &image);
    ClearDevilErrors();
    return false;
  }

  const Clock::time_point devilStart = Clock::now();
  const bool mipmaps = iluBuildMipmaps() == IL_TRUE;
  // DevIL writes into a stream of ours: its own file saving reports success
  // even when writes fail, and a truncated file must never replace a good one.
  const bool ok = WriteOutputFile(settings, job, static_cast<int>(width), static_cast<int>(height), result,
                                  [&](std::FILE* file) {
                                    // ILU builds mipmaps without fail but for memory.
                                    if (!mipmaps) {
                                      NoteFailure(result, FailureReason::kOutOfMemory);
                                      return false;
                                    }
                                    // The count ilSaveF returns is no measure: DevIL 1.7.8 passes it
                                    // through an 8-bit value, so a file whose length is a multiple of
                                    // 256 comes back as 0. What reached the stream is judged instead,
                                    // and the close catches every failed write.
                                    ClearDevilErrors();
                                    ilSaveF(IL_DDS, file);
                                    const ILenum error = ilGetError();
                                    if (error == IL_OUT_OF_MEMORY) NoteFailure(result, FailureReason::kOutOfMemory);
                                    return error == IL_NO_ERROR &&
                                           WrittenSize(file) >= static_cast<int64_t>(kDdsHeaderBytes);
                                  });
  // The compression DevIL was left at: its default, DXT1.
  if (ok && ilGetInteger(IL_DXTC_FORMAT) == IL_DXT1) result.format = FindDdsFormat(choice::kDdsDxt1)->name;
  if (timings) timings->mipmapAndSave += Clock::now() - devilStart;
  ilDeleteImages(1, &image);
  if (!ok) ClearDevilErrors();
  return ok;
}

}  // namespace jpg2dds
