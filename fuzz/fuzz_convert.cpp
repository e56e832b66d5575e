// The whole per-file pipeline on mutated JPEG bytes. The first byte switches
// edits on, so their steps see broken pictures too.
#include <IL/il.h>
#include <IL/ilu.h>
#include <unistd.h>

#include "formats/format_tables.h"
#include "fuzz_support.h"
#include "pipeline/convert_file.h"
#include "pipeline/load/jpeg_header.h"
#include "settings/keywords.h"

namespace {
jpg2dds::WatermarkFont* font = nullptr;

// Pictures the header says are larger are skipped: decoding them is slow and
// teaches the fuzzer nothing the small ones do not (the size limit itself has
// tests of its own).
constexpr unsigned kMaxFuzzedPixels = 1u << 20;

bool SmallEnough(const std::string& jpeg) {
  uint32_t width = 0, height = 0;
  if (!jpg2dds::ReadJpegFrameSize(jpeg, width, height)) return true;  // the pipeline must refuse it itself
  return uint64_t{width} * height <= kMaxFuzzedPixels;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ilInit();
  iluInit();
  jpg2dds::FontRequest request;
  request.face = "Arial";
  font = jpg2dds::CreateWatermarkFont(request);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t edits = data[0];
  jpg2dds::ConversionSettings settings;
  jpg2dds::ApplyDefaults(settings, jpg2dds::DefaultsVariant::kConsole, 0, 0);
  if (edits & 1) { settings.doImageRotation = 1; settings.imageRotation = 33; }
  if (edits & 2) {
    settings.doImageResize = 1;
    settings.imageWidth = settings.imageHeight = 50;
    settings.imageWidthUnit = settings.imageHeightUnit = jpg2dds::choice::kUnitPercent;
    settings.keepAspectRatio = 1;
  }
  if (edits & 4) { settings.doFrame = 1; settings.solidLeft = settings.solidTop = 5; }
  if (edits & 8) settings.doImageGreyscale = 1;
  if (edits & 16) { settings.doImageThreshold = 1; settings.imageThreshold = 100; }
  if (edits & 32) { settings.doWatermark = jpg2dds::choice::kWatermarkText; settings.text = "%width%%eol%x"; }
  if (edits & 64) settings.doImageFlipHorizontal = settings.doImageFlipVertical = 1;
  if (edits & 128) { settings.doImageColorCorrection = 1; settings.imageInvert = 1; settings.imageGamma = 2.0f; }

  jpg2dds::ConversionJob job;
  job.acceptedExtensions = jpg2dds::DeriveAcceptedExtensions();
  const std::string jpeg(reinterpret_cast<const char*>(data + 1), size - 1);
  if (!SmallEnough(jpeg)) return 0;
  job.currentInputFile = fuzz::WriteScratchFile("in.jpg", jpeg);
  job.outputFolder = fuzz::ScratchFolder();
  job.outputType = "dds";
  job.keepSourceBitDepth = true;
  job.randomNumber = 1;
  jpg2dds::ConvertFile(settings, job, font);
  unlink((fuzz::ScratchFolder() + "in.dds").c_str());
  return 0;
}
