#include "pipeline/convert_file.h"

#include <FreeImage.h>

#include "pipeline/color_adjust.h"
#include "pipeline/dds_writer.h"
#include "pipeline/encoded_dds_writer.h"
#include "pipeline/frame.h"
#include "pipeline/geometry.h"
#include "pipeline/load_source.h"
#include "pipeline/output_depth.h"
#include "pipeline/watermark.h"
#include "settings/keywords.h"

namespace jpg2dds {

// The picture is owned here and handed from step to step: each step returns
// the bitmap that replaces the one it was given (releasing that one when it
// made a new one), and a null picture passes through every step to fail the
// write at the end.
bool ConvertFile(const ConversionSettings& settings, ConversionJob& job, const WatermarkFont* font,
                 StepTimings* timings) {
  const auto decodeStart = std::chrono::steady_clock::now();
  FIBITMAP* picture = LoadSourceImage(job.currentInputFile);
  if (timings) timings->decode += std::chrono::steady_clock::now() - decodeStart;

  int width = static_cast<int>(FreeImage_GetWidth(picture));
  int height = static_cast<int>(FreeImage_GetHeight(picture));
  job.sourceBitDepth = static_cast<int32_t>(FreeImage_GetBPP(picture));
  if (width == 0 || height == 0) {
    if (picture) FreeImage_Unload(picture);
    return false;
  }

  picture = ApplyRotation(picture, settings);
  width = static_cast<int>(FreeImage_GetWidth(picture));
  height = static_cast<int>(FreeImage_GetHeight(picture));

  picture = ApplyResize(picture, width, height, settings);
  // This size stays valid up to the output depth: the later steps neither
  // grow nor shrink the picture.
  width = static_cast<int>(FreeImage_GetWidth(picture));
  height = static_cast<int>(FreeImage_GetHeight(picture));

  ApplyFlip(picture, settings);
  picture = ApplyColorCorrection(picture, settings);
  picture = ApplyGreyscale(picture, settings);
  picture = ApplyThreshold(picture, settings);
  picture = ApplyFrame(picture, width, height, settings);
  picture = ApplyWatermark(picture, width, height, settings, job, font);
  switch (settings.ddsCompression) {
    case choice::kDdsDxt1: return WriteEncodedDdsFile(picture, DdsFormat::kDxt1, settings, job);
    case choice::kDdsDxt5: return WriteEncodedDdsFile(picture, DdsFormat::kDxt5, settings, job);
    case choice::kDdsNone: return WriteEncodedDdsFile(picture, DdsFormat::kBgra, settings, job);
    default: break;
  }
  picture = ConvertToOutputDepth(picture, job);
  return WriteDdsFile(picture, settings, job, timings);
}

}  // namespace jpg2dds
