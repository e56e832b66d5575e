// Filename masks, watermark texts and input names of any bytes expand.
#include "fuzz_support.h"
#include "naming/filename_mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces = fuzz::SplitAtNul(data, size);
  pieces.resize(3);
  jpg2dds::ConversionSettings settings;
  jpg2dds::ApplyDefaults(settings, jpg2dds::DefaultsVariant::kConsole, 0, 0);
  settings.filenameMask = pieces[0];
  settings.text = pieces[1];
  jpg2dds::ConversionJob job;
  job.currentInputFile = pieces[2];
  job.outputType = "dds";
  job.randomNumber = 42;
  jpg2dds::ExpandFilenameMask(settings, job);
  jpg2dds::ExpandWatermarkText(settings, job);
  jpg2dds::NameWithoutExtension(pieces[2]);
  return 0;
}
