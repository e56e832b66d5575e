#include "pipeline/overlays/watermark.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>

#include "pipeline/overlays/text_watermark.h"
#include "settings/keywords.h"
#include "testing/overlay_test_pictures.h"
#include "testing/test_picture_files.h"

namespace jpg2dds {
namespace {

namespace fs = std::filesystem;
using test_pictures::Box;
using test_pictures::ChangedBox;
using test_pictures::PixelAt;
using test_pictures::Rgba;
using test_pictures::Same;

constexpr Rgba kGrey{128, 128, 128, 255};

class ApplyWatermarkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplyDefaults(settings_, DefaultsVariant::kConsole, 0, 0);
    settings_.doWatermark = choice::kWatermarkText;
    settings_.text = "Brightmill";
    settings_.backColor = "FF0000";
    settings_.backOpacity = 255;  // the block shows whole, so its place can be measured
    job_.outputType = "dds";
    font_ = CreateWatermarkFont(WatermarkFontRequest(settings_));
    ASSERT_NE(font_, nullptr);
  }
  void TearDown() override { ReleaseWatermarkFont(font_); }

  // The text block's size as drawn.
  Box Block() {
    FIBITMAP* overlay = RenderTextWatermark(settings_, job_, font_, kWholeOverlay);
    Box size{0, 0, static_cast<int>(FreeImage_GetWidth(overlay)), static_cast<int>(FreeImage_GetHeight(overlay))};
    FreeImage_Unload(overlay);
    return size;
  }

  // Where the watermark landed on a grey W x H picture.
  Box Marked(int width, int height) {
    FIBITMAP* picture = ApplyWatermark(test_pictures::Solid24(width, height, 128, 128, 128), width, height,
                                       settings_, job_, font_);
    EXPECT_NE(picture, nullptr);
    EXPECT_EQ(FreeImage_GetBPP(picture), 24u);
    Box box = ChangedBox(picture, kGrey);
    FreeImage_Unload(picture);
    return box;
  }

  ConversionSettings settings_;
  ConversionJob job_;
  WatermarkFont* font_ = nullptr;
};

TEST_F(ApplyWatermarkTest, DefaultTextStandsTenPixelsFromRightAndBottom) {
  Box block = Block();
  Box box = Marked(300, 120);
  EXPECT_EQ(box.width, block.width);
  EXPECT_EQ(box.height, block.height);
  EXPECT_EQ(box.left + box.width, 300 - 10);
  EXPECT_EQ(box.top + box.height, 120 - 10);
}

TEST_F(ApplyWatermarkTest, DefaultBackgroundIsAlmostInvisible) {
  ApplyDefaults(settings_, DefaultsVariant::kConsole, 0, 0);
  settings_.doWatermark = choice::kWatermarkText;
  FIBITMAP* picture = ApplyWatermark(test_pictures::Solid24(300, 120, 128, 128, 128), 300, 120, settings_, job_,
                                     font_);
  Rgba corner = PixelAt(picture, 300 - 11, 120 - 11);  // block's bottom-right pixel, background
  EXPECT_NEAR(corner.r, 128, 1);
  FreeImage_Unload(picture);
}

TEST_F(ApplyWatermarkTest, FrameBoundaryOffsetsFromTheFrame) {
  settings_.doFrame = choice::kFrameSolid;
  settings_.solidLeft = settings_.solidTop = 20;
  settings_.textPosition = choice::kTopLeft;
  settings_.textBoundary = choice::kBoundaryFrame;
  Box framed = Marked(300, 120);
  EXPECT_EQ(framed.left, 30);
  EXPECT_EQ(framed.top, 30);
  settings_.textBoundary = choice::kBoundaryImage;
  Box image = Marked(300, 120);
  EXPECT_EQ(image.left, 10);
  EXPECT_EQ(image.top, 10);
}

TEST_F(ApplyWatermarkTest, QuarterTurnSwapsTheSides) {
  Box block = Block();
  settings_.textRotation = 90;
  Box box = Marked(300, 200);
  EXPECT_EQ(box.width, block.height);
  EXPECT_EQ(box.height, block.width);
  EXPECT_EQ(box.left + box.width, 290);
  EXPECT_EQ(box.top + box.height, 190);
}

TEST_F(ApplyWatermarkTest, OffsetsOutsideGiveNoWatermarkButAPicture) {
  settings_.textPosition = choice::kTopLeft;
  settings_.textXOffset = 305;  // starts beyond the right edge
  EXPECT_EQ(Marked(300, 120).width, 0);
  settings_.textXOffset = -1;  // negative on a left anchor
  EXPECT_EQ(Marked(300, 120).width, 0);
  settings_.textXOffset = 10;
  settings_.textYOffset = -5;  // negative on a top anchor
  EXPECT_EQ(Marked(300, 120).width, 0);
  settings_.textYOffset = -2147483647 - 1;
  EXPECT_EQ(Marked(300, 120).width, 0);
}

TEST_F(ApplyWatermarkTest, BlockLargerThanThePictureIsCut) {
  settings_.textPosition = choice::kTopLeft;
  settings_.textXOffset = settings_.textYOffset = 0;
  Box box = Marked(20, 8);
  EXPECT_EQ(box.width, 20);
  EXPECT_EQ(box.height, 8);
}

TEST_F(ApplyWatermarkTest, TextRecordsThisFilesOutputValuesFirst) {
  job_.keepSourceBitDepth = true;
  job_.sourceBitDepth = 8;
  FIBITMAP* picture = ApplyWatermark(test_pictures::Solid24(64, 48, 1, 1, 1), 64, 48, settings_, job_, font_);
  EXPECT_EQ(job_.outputWidth, 64);
  EXPECT_EQ(job_.outputHeight, 48);
  EXPECT_EQ(job_.outputBitDepth, 32);
  FreeImage_Unload(picture);
}

TEST_F(ApplyWatermarkTest, NoFontOrNoPicture) {
  EXPECT_EQ(ApplyWatermark(nullptr, 10, 10, settings_, job_, font_), nullptr);
  FIBITMAP* grey8 = test_pictures::SolidGrey8(40, 30, 128, 128, 128);
  FIBITMAP* picture = ApplyWatermark(grey8, 40, 30, settings_, job_, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(picture), 24u);
  EXPECT_EQ(ChangedBox(picture, kGrey).width, 0);
  FreeImage_Unload(picture);
}

TEST_F(ApplyWatermarkTest, BlockBeyondTheSurfaceLimitIsDrawnWhole) {
  // Padding makes the block more than 32767 pixels (the drawing surfaces'
  // limit) a side; the picture shows a long band of it, all background.
  settings_.textPosition = choice::kTopLeft;
  settings_.textXOffset = settings_.textYOffset = 0;
  settings_.textPadding = 17000;
  const struct {
    int width, height;
  } sizes[] = {{40000, 8}, {8, 40000}};
  for (bool smooth : {false, true}) {
    for (const auto& size : sizes) {
      SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height) + (smooth ? " smooth" : ""));
      settings_.textAntialiasing = smooth;
      FIBITMAP* picture = ApplyWatermark(test_pictures::Solid24(size.width, size.height, 128, 128, 128), size.width,
                                         size.height, settings_, job_, font_);
      ASSERT_NE(picture, nullptr);
      const Box box = ChangedBox(picture, kGrey);
      EXPECT_EQ(box.left, 0);
      EXPECT_EQ(box.top, 0);
      EXPECT_GT(std::max(box.width, box.height), 34000);
      EXPECT_EQ(std::min(box.width, box.height), 8);
      int red = 0;
      for (int y = 0; y < box.height; ++y) {
        for (int x = 0; x < box.width; ++x) red += Same(PixelAt(picture, x, y), (Rgba{255, 0, 0, 255}));
      }
      EXPECT_EQ(red, box.width * box.height);
      FreeImage_Unload(picture);
    }
  }
}

class PictureWatermarkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("jpg2dds_pw_" + std::to_string(std::random_device{}()));
    fs::create_directories(folder_);
    ApplyDefaults(settings_, DefaultsVariant::kConsole, 0, 0);
    settings_.doWatermark = choice::kWatermarkImage;
    settings_.imagePosition = choice::kTopLeft;
    settings_.imageXOffset = settings_.imageYOffset = 0;
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Quadrants red, green, blue, transparent (top-left, top-right,
  // bottom-left, bottom-right).
  std::string QuadrantPng(int width, int height) {
    FIBITMAP* picture = test_pictures::Transparent32(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        bool right = x >= width / 2, bottom = y >= height / 2;
        Rgba p = !bottom ? (right ? Rgba{0, 255, 0, 255} : Rgba{255, 0, 0, 255})
                         : (right ? Rgba{0, 0, 0, 0} : Rgba{0, 0, 255, 255});
        test_pictures::SetPixel(picture, x, y, p);
      }
    }
    std::string path = (folder_ / "quadrants.png").string();
    EXPECT_TRUE(FreeImage_Save(FIF_PNG, picture, path.c_str(), 0));
    FreeImage_Unload(picture);
    return path;
  }

  FIBITMAP* Apply(int width, int height) {
    ConversionJob job;
    return ApplyWatermark(test_pictures::Solid24(width, height, 128, 128, 128), width, height, settings_, job,
                          nullptr);
  }

  fs::path folder_;
  ConversionSettings settings_;
};

TEST_F(PictureWatermarkTest, TransparencyKeptAndOpacityHalves) {
  settings_.image = QuadrantPng(20, 10);
  FIBITMAP* picture = Apply(40, 30);
  EXPECT_TRUE(Same(PixelAt(picture, 2, 2), (Rgba{255, 0, 0, 255})));
  EXPECT_TRUE(Same(PixelAt(picture, 15, 7), kGrey));  // transparent quadrant
  EXPECT_EQ(ChangedBox(picture, kGrey).height, 10);
  FreeImage_Unload(picture);

  settings_.imageOpacity = 128;
  picture = Apply(40, 30);
  Rgba half = PixelAt(picture, 2, 2);
  EXPECT_NEAR(half.r, (255 + 128) / 2, 2);
  EXPECT_NEAR(half.g, 64, 2);
  EXPECT_TRUE(Same(PixelAt(picture, 15, 7), kGrey));
  FreeImage_Unload(picture);
}

TEST_F(PictureWatermarkTest, LargerThanThePictureIsCutFromItsTopLeft) {
  settings_.image = QuadrantPng(60, 40);
  FIBITMAP* picture = Apply(25, 15);
  // The 25 x 15 top-left part of the watermark: red left of x = 30, above y = 20.
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 25; ++x) ASSERT_TRUE(Same(PixelAt(picture, x, y), (Rgba{255, 0, 0, 255}))) << x << "," << y;
  }
  FreeImage_Unload(picture);
}

TEST_F(PictureWatermarkTest, UndecodableFileConvertsWithoutWatermark) {
  settings_.image = (folder_ / "not-a-picture.png").string();
  FILE* f = std::fopen(settings_.image.c_str(), "wb");
  std::fputs("plain text", f);
  std::fclose(f);
  FIBITMAP* picture = Apply(40, 30);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(FreeImage_GetBPP(picture), 24u);
  EXPECT_EQ(ChangedBox(picture, kGrey).width, 0);
  FreeImage_Unload(picture);
}

TEST_F(PictureWatermarkTest, OverThePictureLimitIsLeftOutByItsHeader) {
  // Black 1-bit PNGs, each side of 2^28 pixels.
  auto blackPng = [this](int width, int height) {
    std::string path = (folder_ / "black.png").string();
    testing::WriteBytes(path, testing::PngFileOfEqualRows(width, height, 1, 0, std::string((width + 7) / 8, '\0')));
    return path;
  };
  auto jpegClaiming = [this](int width, int height) {
    std::string path = (folder_ / "claim.jpg").string();
    testing::WriteJpeg(path, 16, 16, [](int, int) { return 0xFF0000u; });
    testing::WriteBytes(path, testing::WithFrameSize(testing::ReadBytes(path), width, height));
    return path;
  };
  const Rgba background{30, 60, 90, 255};
  const struct {
    const char* name;
    std::function<std::string()> file;
    bool drawn;
  } cases[] = {
      {"PNG of 16384 x 16384", [&] { return blackPng(16384, 16384); }, true},
      {"PNG of 16385 x 16384", [&] { return blackPng(16385, 16384); }, false},
      {"JPEG claiming 16385 x 16384", [&] { return jpegClaiming(16385, 16384); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    settings_.image = c.file();
    ConversionJob job;
    FIBITMAP* picture = ApplyWatermark(test_pictures::Solid24(64, 48, 30, 60, 90), 64, 48, settings_, job, nullptr);
    ASSERT_NE(picture, nullptr);  // the file is converted either way
    Box marked = ChangedBox(picture, background);
    if (c.drawn) {
      EXPECT_EQ(marked.width, 64);
      EXPECT_EQ(marked.height, 48);
      EXPECT_TRUE(Same(PixelAt(picture, 63, 47), (Rgba{0, 0, 0, 255})));
    } else {
      EXPECT_EQ(marked.width, 0);
    }
    FreeImage_Unload(picture);
  }
}

TEST_F(PictureWatermarkTest, WiderThanTheSurfaceLimit) {
  // A red band of 40000 x 4, laid along a picture as it is and, turned a
  // quarter, down one.
  FIBITMAP* band = test_pictures::Solid24(40000, 4, 255, 0, 0);
  settings_.image = (folder_ / "band.png").string();
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, band, settings_.image.c_str(), 0));
  FreeImage_Unload(band);
  const struct {
    int width, height, rotation;
  } cases[] = {{40000, 8, 0}, {8, 40000, 90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rotation);
    settings_.watermarkImageRotation = c.rotation;
    FIBITMAP* picture = Apply(c.width, c.height);
    const Box box = ChangedBox(picture, kGrey);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.width, c.rotation ? 4 : 40000);
    EXPECT_EQ(box.height, c.rotation ? 40000 : 4);
    EXPECT_TRUE(Same(PixelAt(picture, box.width - 1, box.height - 1), (Rgba{255, 0, 0, 255})));
    FreeImage_Unload(picture);
  }
}

}  // namespace
}  // namespace jpg2dds
