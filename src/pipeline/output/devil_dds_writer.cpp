#include "pipeline/output/devil_dds_writer.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
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

// The texture of a bound, fresh DevIL image from pixels as DevIL takes them.
bool TextureFromPixels(const BYTE* pixels, ILuint width, ILuint height) {
  const ILubyte depth = static_cast<ILubyte>(ilGetInteger(IL_IMAGE_DEPTH));
  return ilTexImage(width, height, depth, 4, IL_BGRA, IL_UNSIGNED_BYTE, const_cast<BYTE*>(pixels)) == IL_TRUE;
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
  const bool copied = TextureFromPixels(pixels, width, height);
  if (timings) timings->devilCopy += Clock::now() - start;
  if (picture) FreeImage_Unload(picture);
  return copied;
}

// The count ilSaveF returns is no measure: DevIL 1.7.8 passes it through an
// 8-bit value, so a file whose length is a multiple of 256 comes back as 0.
// What reached the stream is judged instead (WholeDds), and the close
// catches every failed write. Gives DevIL's error.
ILenum SaveDds(std::FILE* file) {
  ClearDevilErrors();
  ilSaveF(IL_DDS, file);
  return ilGetError();
}

bool WholeDds(std::FILE* file) { return WrittenSize(file) >= static_cast<int64_t>(kDdsHeaderBytes); }

}  // namespace

std::mutex& DevilInThisProcess() {
  static std::mutex devil;
  return devil;
}

void CopyDevilPixels(FIBITMAP* picture, uint8_t* to) {
  const unsigned width = FreeImage_GetWidth(picture);
  const unsigned height = FreeImage_GetHeight(picture);
  const size_t pitch = size_t{width} * 4;
  if (FreeImage_GetBPP(picture) == 32 && FreeImage_GetPitch(picture) == pitch) {
    std::memcpy(to, FreeImage_GetBits(picture), pitch * height);
  } else {
    FreeImage_ConvertToRawBits(to, picture, static_cast<int>(pitch), 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                               FI_RGBA_BLUE_MASK, FALSE);
  }
}

DevilDdsOutcome MakeDevilDds(const uint8_t* pixels, uint32_t width, uint32_t height, std::FILE* out,
                             const std::function<void()>& pixelsTaken) {
  DevilDdsOutcome made;
  ilEnable(IL_FILE_OVERWRITE);
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  made.texture = TextureFromPixels(pixels, width, height);
  pixelsTaken();
  made.mipmaps = made.texture && iluBuildMipmaps() == IL_TRUE;
  if (made.mipmaps) {
    const ILenum error = SaveDds(out);
    made.saved = error == IL_NO_ERROR;
    made.outOfMemory = error == IL_OUT_OF_MEMORY;
    made.dxt1 = ilGetInteger(IL_DXTC_FORMAT) == IL_DXT1;
  }
  ilDeleteImages(1, &image);
  ClearDevilErrors();
  return made;
}

bool WriteMadeDds(const DevilDdsOutcome& made, const uint8_t* bytes, size_t size, int width, int height,
                  const ConversionSettings& settings, ConversionJob& job, FileResult& result) {
  // As in WriteDdsFile: pixels DevIL could not take fail the file before it
  // is named; every later stage fails it once named.
  if (!made.texture) {
    NoteFailure(result, FailureReason::kOutOfMemory);
    return false;
  }
  const bool ok = WriteOutputFile(settings, job, width, height, result, [&](std::FILE* file) {
    if (!made.mipmaps) {
      NoteFailure(result, FailureReason::kOutOfMemory);
      return false;
    }
    if (made.outOfMemory) NoteFailure(result, FailureReason::kOutOfMemory);
    if (size > 0 && std::fwrite(bytes, 1, size, file) != size) return false;
    return made.saved && WholeDds(file);
  });
  if (ok && made.dxt1) result.format = FindDdsFormat(choice::kDdsDxt1)->name;
  return ok;
}

bool WriteDdsFile(FIBITMAP* picture, const ConversionSettings& settings, ConversionJob& job, FileResult& result,
                  StepTimings* timings) {
  if (!picture) {
    NoteFailure(result, FailureReason::kOutOfMemory);
    return false;
  }
  std::lock_guard<std::mutex> devil(DevilInThisProcess());
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
                                    const ILenum error = SaveDds(file);
                                    if (error == IL_OUT_OF_MEMORY) NoteFailure(result, FailureReason::kOutOfMemory);
                                    return error == IL_NO_ERROR && WholeDds(file);
                                  });
  // The compression DevIL was left at: its default, DXT1.
  if (ok && ilGetInteger(IL_DXTC_FORMAT) == IL_DXT1) result.format = FindDdsFormat(choice::kDdsDxt1)->name;
  if (timings) timings->mipmapAndSave += Clock::now() - devilStart;
  ilDeleteImages(1, &image);
  if (!ok) ClearDevilErrors();
  return ok;
}

}  // namespace jpg2dds
