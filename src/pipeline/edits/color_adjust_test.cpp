#include "pipeline/edits/color_adjust.h"

#include <gtest/gtest.h>

#include "pipeline/output/output_depth.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::DefaultSettings;
using testing::MakePicture;
using testing::PixelAt;

uint32_t Stripes(int x, int) {
  const uint32_t colours[] = {0x000000, 0x102030, 0x7F7F7F, 0xFFFFFF, 0xC08040};
  return colours[x % 5];
}

// Runs the three steps in their order and brings the result to 32 bits as
// the output step does.
FIBITMAP* Adjusted(const ConversionSettings& settings) {
  FIBITMAP* picture = MakePicture(10, 4, Stripes);
  picture = ApplyColorCorrection(picture, settings);
  picture = ApplyGreyscale(picture, settings);
  picture = ApplyThreshold(picture, settings);
  ConversionJob job;
  job.outputType = "dds";
  job.keepSourceBitDepth = true;
  job.sourceBitDepth = 24;
  return ConvertToOutputDepth(picture, job);
}

TEST(ColorAdjust, SwitchedOffOrNeutralChangesNothing) {
  ConversionSettings settings = DefaultSettings();
  FIBITMAP* picture = Adjusted(settings);
  settings.doImageColorCorrection = 1;  // brightness 0, contrast 0, gamma 1
  FIBITMAP* neutral = Adjusted(settings);
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(PixelAt(picture, x, 0), 0xFF000000 | Stripes(x, 0));
    EXPECT_EQ(PixelAt(neutral, x, 0), 0xFF000000 | Stripes(x, 0));
  }
  FreeImage_Unload(picture);
  FreeImage_Unload(neutral);
  EXPECT_EQ(ApplyColorCorrection(nullptr, settings), nullptr);
}

TEST(ColorAdjust, InvertGivesTheNegative) {
  ConversionSettings settings = DefaultSettings();
  settings.doImageColorCorrection = 1;
  settings.imageInvert = 1;
  FIBITMAP* picture = Adjusted(settings);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(picture, x, 2), 0xFF000000 | (0xFFFFFF - Stripes(x, 0))) << x;
  FreeImage_Unload(picture);
}

TEST(ColorAdjust, GreyscaleIsEightBitsWithEqualChannels) {
  ConversionSettings settings = DefaultSettings();
  settings.doImageGreyscale = 1;
  FIBITMAP* grey = ApplyGreyscale(MakePicture(10, 4, Stripes), settings);
  EXPECT_EQ(FreeImage_GetBPP(grey), 8u);
  uint32_t c = PixelAt(grey, 4, 0);
  EXPECT_EQ((c >> 16) & 0xFF, c & 0xFF);
  EXPECT_EQ((c >> 8) & 0xFF, c & 0xFF);
  FreeImage_Unload(grey);
}

TEST(ColorAdjust, GreyscaleAndThresholdGivePureOpaqueBlackAndWhite) {
  ConversionSettings settings = DefaultSettings();
  settings.doImageGreyscale = 1;
  settings.doImageThreshold = 1;
  settings.imageThreshold = 128;
  FIBITMAP* picture = Adjusted(settings);
  const uint32_t expected[] = {0xFF000000, 0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(picture, x, 1), expected[x]) << x;
  FreeImage_Unload(picture);
}

TEST(ColorAdjust, ThresholdUsesTheLowByteSoZeroAnd256MakeAllWhite) {
  for (int threshold : {0, 256}) {
    ConversionSettings settings = DefaultSettings();
    settings.doImageThreshold = 1;
    settings.imageThreshold = threshold;
    FIBITMAP* picture = Adjusted(settings);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelAt(picture, x, 3), 0xFFFFFFFFu) << threshold << " " << x;
    FreeImage_Unload(picture);
  }
}

}  // namespace
}  // namespace jpg2dds
