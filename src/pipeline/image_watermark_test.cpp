#include "pipeline/image_watermark.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "pipeline/overlay_test_pictures.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

namespace fs = std::filesystem;
using test_pictures::PixelAt;
using test_pictures::Rgba;
using test_pictures::Same;

class ImageWatermarkFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("jpg2dds_wm_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    ApplyDefaults(settings_, DefaultsVariant::kConsole, 0, 0);
    settings_.doWatermark = choice::kWatermarkImage;
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Left half opaque red, right half transparent, as a PNG.
  std::string HalfRedPng() {
    FIBITMAP* picture = test_pictures::Transparent32(8, 4);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) test_pictures::SetPixel(picture, x, y, {255, 0, 0, 255});
    }
    return Save(picture, FIF_PNG, "half.png");
  }

  std::string Save(FIBITMAP* picture, FREE_IMAGE_FORMAT format, const char* name) {
    std::string path = (folder_ / name).string();
    EXPECT_TRUE(FreeImage_Save(format, picture, path.c_str(), 0));
    FreeImage_Unload(picture);
    return path;
  }

  fs::path folder_;
  ConversionSettings settings_;
};

TEST(GreyPixel, WeightsDropTheFraction) {
  EXPECT_EQ(GreyPixel(0xFF0000FF) & 0xFF, 76u);
  EXPECT_EQ(GreyPixel(0xFF00FF00) & 0xFF, 149u);
  EXPECT_EQ(GreyPixel(0xFFFF0000) & 0xFF, 28u);
  EXPECT_EQ(GreyPixel(0x80FFFFFF), 0x80FFFFFFu);
  EXPECT_EQ(GreyPixel(0x400000FF), 0x404C4C4Cu);  // alpha kept, all three channels grey
}

TEST_F(ImageWatermarkFiles, PngKeepsTransparencyAndOpacityScalesAlpha) {
  settings_.image = HalfRedPng();
  FIBITMAP* overlay = RenderImageWatermark(settings_);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(overlay), 8u);
  EXPECT_TRUE(Same(PixelAt(overlay, 1, 1), {255, 0, 0, 255}));
  EXPECT_EQ(PixelAt(overlay, 6, 1).a, 0);
  FreeImage_Unload(overlay);

  settings_.imageOpacity = 128;
  overlay = RenderImageWatermark(settings_);
  ASSERT_NE(overlay, nullptr);
  EXPECT_TRUE(Same(PixelAt(overlay, 1, 1), {255, 0, 0, 128}));
  EXPECT_EQ(PixelAt(overlay, 6, 1).a, 0);
  FreeImage_Unload(overlay);
}

TEST_F(ImageWatermarkFiles, GreyscaleTurnsPrimariesIntoTheirWeights) {
  FIBITMAP* picture = test_pictures::Transparent32(4, 1);
  const Rgba colours[] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
  for (int x = 0; x < 4; ++x) test_pictures::SetPixel(picture, x, 0, colours[x]);
  settings_.image = Save(picture, FIF_PNG, "primaries.png");
  settings_.imageGreyscale = 1;
  FIBITMAP* overlay = RenderImageWatermark(settings_);
  ASSERT_NE(overlay, nullptr);
  const int grey[] = {76, 149, 28, 255};
  for (int x = 0; x < 4; ++x) {
    EXPECT_TRUE(Same(PixelAt(overlay, x, 0), {grey[x], grey[x], grey[x], 255})) << x;
  }
  FreeImage_Unload(overlay);
}

TEST_F(ImageWatermarkFiles, JpegAndBmpAreOpaqueAndFoundByContent) {
  // Misnamed on purpose: the content decides the decoder.
  settings_.image = Save(test_pictures::Solid24(6, 5, 0, 200, 0), FIF_JPEG, "photo.bmp");
  FIBITMAP* jpeg = RenderImageWatermark(settings_);
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(PixelAt(jpeg, 3, 3).a, 255);
  EXPECT_NEAR(PixelAt(jpeg, 3, 3).g, 200, 3);
  FreeImage_Unload(jpeg);

  settings_.image = Save(test_pictures::Solid24(6, 5, 10, 20, 30), FIF_BMP, "plain.bmp");
  settings_.imageOpacity = 100;
  FIBITMAP* bmp = RenderImageWatermark(settings_);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(PixelAt(bmp, 0, 0).a, 100);  // no alpha counts as opaque
  FreeImage_Unload(bmp);
}

TEST_F(ImageWatermarkFiles, UndecodableOrMissingFileGivesNoOverlay) {
  std::string path = (folder_ / "broken.png").string();
  std::ofstream(path) << "\x89PNG but not really";
  settings_.image = path;
  EXPECT_EQ(RenderImageWatermark(settings_), nullptr);
  settings_.image = (folder_ / "missing.png").string();
  EXPECT_EQ(RenderImageWatermark(settings_), nullptr);
}

}  // namespace
}  // namespace jpg2dds
