#include "pipeline/output/output_depth.h"

#include <gtest/gtest.h>

#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

TEST(ConvertToOutputDepth, AutomaticDepthIsRecordedAndPictureBroughtTo32Bits) {
  ConversionJob job;
  job.outputType = "dds";
  job.keepSourceBitDepth = true;
  job.sourceBitDepth = 8;
  FIBITMAP* grey = testing::MakePicture(4, 4, [](int, int) { return 0x808080; }, true);
  FIBITMAP* converted = ConvertToOutputDepth(grey, job);
  EXPECT_EQ(job.outputBitDepth, 32);
  EXPECT_EQ(FreeImage_GetBPP(converted), 32u);
  EXPECT_EQ(testing::PixelAt(converted, 1, 1), 0xFF808080u);  // opaque
  // Already 32 bits: handed on as it is.
  EXPECT_EQ(ConvertToOutputDepth(converted, job), converted);
  FreeImage_Unload(converted);
  EXPECT_EQ(ConvertToOutputDepth(nullptr, job), nullptr);
}

}  // namespace
}  // namespace jpg2dds
