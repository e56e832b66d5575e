#include "pipeline/overlays/image_watermark.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "settings/keywords.h"
#include "testing/overlay_test_pictures.h"
#include "testing/test_picture_files.h"

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

  std::string Write(const std::string& bytes, const char* name) {
    std::string path = (folder_ / name).string();
    testing::WriteBytes(path, bytes);
    return path;
  }

  fs::path folder_;
  ConversionSettings settings_;
};

// The colour wanted, straight; where it is fully transparent only the alpha
// counts, and a semi-transparent colour may be a step off from the drawing
// layer's premultiplied form.
::testing::AssertionResult PixelIs(FIBITMAP* overlay, int x, int y, Rgba want) {
  const Rgba got = PixelAt(overlay, x, y);
  const int slack = want.a == 255 ? 0 : 2;
  auto near = [slack](int a, int b) { return a - b <= slack && b - a <= slack; };
  if (got.a == want.a && (want.a == 0 || (near(got.r, want.r) && near(got.g, want.g) && near(got.b, want.b)))) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << got.r << "," << got.g << ","
                                       << got.b << "," << got.a << ", not " << want.r << "," << want.g << ","
                                       << want.b << "," << want.a;
}

TEST(GreyPixel, WeightsDropTheFraction) {
  EXPECT_EQ(GreyPixel(0xFF0000FF) & 0xFF, 76u);
  EXPECT_EQ(GreyPixel(0xFF00FF00) & 0xFF, 149u);
  EXPECT_EQ(GreyPixel(0xFFFF0000) & 0xFF, 28u);
  EXPECT_EQ(GreyPixel(0x80FFFFFF), 0x80FFFFFFu);
  EXPECT_EQ(GreyPixel(0x400000FF), 0x404C4C4Cu);  // alpha kept, all three channels grey
}

TEST_F(ImageWatermarkFiles, PngKeepsTransparencyAndOpacityScalesAlpha) {
  settings_.image = HalfRedPng();
  FIBITMAP* overlay = RenderImageWatermark(settings_, kWholeOverlay);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(overlay), 8u);
  EXPECT_TRUE(Same(PixelAt(overlay, 1, 1), {255, 0, 0, 255}));
  EXPECT_EQ(PixelAt(overlay, 6, 1).a, 0);
  FreeImage_Unload(overlay);

  settings_.imageOpacity = 128;
  overlay = RenderImageWatermark(settings_, kWholeOverlay);
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
  FIBITMAP* overlay = RenderImageWatermark(settings_, kWholeOverlay);
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
  FIBITMAP* jpeg = RenderImageWatermark(settings_, kWholeOverlay);
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(PixelAt(jpeg, 3, 3).a, 255);
  EXPECT_NEAR(PixelAt(jpeg, 3, 3).g, 200, 3);
  FreeImage_Unload(jpeg);

  settings_.image = Save(test_pictures::Solid24(6, 5, 10, 20, 30), FIF_BMP, "plain.bmp");
  settings_.imageOpacity = 100;
  FIBITMAP* bmp = RenderImageWatermark(settings_, kWholeOverlay);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(PixelAt(bmp, 0, 0).a, 100);  // no alpha counts as opaque
  FreeImage_Unload(bmp);
}

TEST_F(ImageWatermarkFiles, BmpOfEveryHeaderSizeLoadsUprightAndOpaque) {
  // Distinct colours for every pixel of a 5 x 3 picture (rows of 24-bit
  // pixels then need padding).
  const testing::PixelFunction colour = [](int x, int y) {
    return static_cast<uint32_t>((40 * x + 10) << 16 | (60 * y + 20) << 8 | (200 - 30 * x));
  };
  const testing::BmpLayout kinds[] = {{0, 8, false}, {0, 24, false}, {0, 32, false}, {0, 32, true}};
  for (int header : {40, 52, 56, 108, 124}) {
    for (testing::BmpLayout layout : kinds) {
      for (bool topDown : {false, true}) {
        layout.headerSize = header;
        layout.topDown = topDown;
        SCOPED_TRACE("header " + std::to_string(header) + ", " + std::to_string(layout.bitsPerPixel) + " bits" +
                     (layout.bitfields ? ", bit fields" : "") + (topDown ? ", top-down" : ""));
        settings_.image = Write(testing::BmpFile(layout, 5, 3, colour), "variant.bmp");
        FIBITMAP* overlay = RenderImageWatermark(settings_, kWholeOverlay);
        ASSERT_NE(overlay, nullptr);
        ASSERT_EQ(FreeImage_GetWidth(overlay), 5u);
        ASSERT_EQ(FreeImage_GetHeight(overlay), 3u);
        for (int i = 0; i < 15; ++i) {
          const uint32_t c = colour(i % 5, i / 5);
          const Rgba want{static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF),
                          255};
          if (!PixelIs(overlay, i % 5, i / 5, want)) {
            ADD_FAILURE() << PixelIs(overlay, i % 5, i / 5, want).message();
            break;
          }
        }
        FreeImage_Unload(overlay);
      }
    }
  }
}

TEST_F(ImageWatermarkFiles, PngOfEveryColourTypeAndDepthLoads) {
  auto bytes = [](std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
  };
  const std::string palette = bytes({10, 20, 30, 40, 50, 60});
  struct Case {
    const char* name;
    int depth, type;
    std::string row;  // two pixels, without the filter byte
    std::string palette, transparency;
    Rgba left, right;
  };
  const Case cases[] = {
      {"grey 1", 1, 0, bytes({0x40}), "", "", {0, 0, 0, 255}, {255, 255, 255, 255}},
      {"grey 2", 2, 0, bytes({0x60}), "", "", {85, 85, 85, 255}, {170, 170, 170, 255}},
      {"grey 4", 4, 0, bytes({0x3C}), "", "", {51, 51, 51, 255}, {204, 204, 204, 255}},
      {"grey 8", 8, 0, bytes({0x12, 0xAB}), "", "", {18, 18, 18, 255}, {171, 171, 171, 255}},
      {"grey 8 tRNS", 8, 0, bytes({0x12, 0xAB}), "", bytes({0, 0x12}), {0, 0, 0, 0}, {171, 171, 171, 255}},
      {"grey 16", 16, 0, bytes({0x12, 0x34, 0xAB, 0xCD}), "", "", {18, 18, 18, 255}, {171, 171, 171, 255}},
      {"grey 16 tRNS", 16, 0, bytes({0x12, 0x34, 0xAB, 0xCD}), "", bytes({0x12, 0x34}), {0, 0, 0, 0},
       {171, 171, 171, 255}},
      {"RGB 8", 8, 2, bytes({1, 2, 3, 4, 5, 6}), "", "", {1, 2, 3, 255}, {4, 5, 6, 255}},
      {"RGB 8 tRNS", 8, 2, bytes({1, 2, 3, 4, 5, 6}), "", bytes({0, 1, 0, 2, 0, 3}), {0, 0, 0, 0}, {4, 5, 6, 255}},
      {"RGB 16", 16, 2, bytes({0x11, 1, 0x22, 2, 0x33, 3, 0x44, 4, 0x55, 5, 0x66, 6}), "", "", {17, 34, 51, 255},
       {68, 85, 102, 255}},
      {"palette 1", 1, 3, bytes({0x40}), palette, "", {10, 20, 30, 255}, {40, 50, 60, 255}},
      {"palette 2", 2, 3, bytes({0x10}), palette, "", {10, 20, 30, 255}, {40, 50, 60, 255}},
      {"palette 4", 4, 3, bytes({0x01}), palette, "", {10, 20, 30, 255}, {40, 50, 60, 255}},
      {"palette 8 tRNS", 8, 3, bytes({0, 1}), palette, bytes({0x80}), {10, 20, 30, 128}, {40, 50, 60, 255}},
      {"grey+alpha 8", 8, 4, bytes({0x12, 0x80, 0xAB, 0xFF}), "", "", {18, 18, 18, 128}, {171, 171, 171, 255}},
      {"grey+alpha 16", 16, 4, bytes({0x12, 0x34, 0x80, 0x01, 0xAB, 0xCD, 0xFF, 0xFF}), "", "", {18, 18, 18, 128},
       {171, 171, 171, 255}},
      {"RGBA 8", 8, 6, bytes({1, 2, 3, 0x80, 4, 5, 6, 0xFF}), "", "", {1, 2, 3, 128}, {4, 5, 6, 255}},
      {"RGBA 16", 16, 6, bytes({0x11, 1, 0x22, 2, 0x33, 3, 0x80, 0, 0x44, 4, 0x55, 5, 0x66, 6, 0xFF, 0xFF}), "", "",
       {17, 34, 51, 128}, {68, 85, 102, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Two rows: the second one's "up" filter repeats the first.
    std::string rows = std::string(1, '\0') + c.row + std::string(1, '\2') + std::string(c.row.size(), '\0');
    settings_.image = Write(testing::PngFile(2, 2, c.depth, c.type, rows, c.palette, c.transparency), "p.png");
    FIBITMAP* overlay = RenderImageWatermark(settings_, kWholeOverlay);
    ASSERT_NE(overlay, nullptr);
    for (int y = 0; y < 2; ++y) {
      EXPECT_TRUE(PixelIs(overlay, 0, y, c.left));
      EXPECT_TRUE(PixelIs(overlay, 1, y, c.right));
    }
    FreeImage_Unload(overlay);
    // Cut to its left column while still in the file's own form.
    overlay = RenderImageWatermark(settings_, {1, 5});
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(overlay), 1u);
    EXPECT_EQ(FreeImage_GetHeight(overlay), 2u);
    EXPECT_TRUE(PixelIs(overlay, 0, 0, c.left));
    EXPECT_TRUE(PixelIs(overlay, 0, 1, c.left));
    FreeImage_Unload(overlay);
  }
}

TEST_F(ImageWatermarkFiles, OnlyPngKeepsTransparency) {
  const struct {
    FREE_IMAGE_FORMAT format;
    const char* name;
    int alpha;
  } cases[] = {{FIF_PNG, "a.png", 0}, {FIF_BMP, "a.bmp", 255}, {FIF_TIFF, "a.tif", 255}, {FIF_TARGA, "a.tga", 255}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FIBITMAP* picture = test_pictures::Transparent32(4, 2);
    test_pictures::SetPixel(picture, 0, 0, {200, 100, 50, 255});
    test_pictures::SetPixel(picture, 3, 1, {200, 100, 50, 0});
    settings_.image = Save(picture, c.format, c.name);
    FIBITMAP* overlay = RenderImageWatermark(settings_, kWholeOverlay);
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(PixelIs(overlay, 0, 0, {200, 100, 50, 255}));
    EXPECT_EQ(PixelAt(overlay, 3, 1).a, c.alpha);
    FreeImage_Unload(overlay);
  }
}

TEST_F(ImageWatermarkFiles, UndecodableOrMissingFileGivesNoOverlay) {
  std::string path = (folder_ / "broken.png").string();
  std::ofstream(path) << "\x89PNG but not really";
  settings_.image = path;
  EXPECT_EQ(RenderImageWatermark(settings_, kWholeOverlay), nullptr);
  settings_.image = (folder_ / "missing.png").string();
  EXPECT_EQ(RenderImageWatermark(settings_, kWholeOverlay), nullptr);
}

}  // namespace
}  // namespace jpg2dds
