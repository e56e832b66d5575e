#include "pipeline/load/picture_limits.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <vector>

namespace jpg2dds {
namespace {

TEST(PictureLimit, QuarterTurnsOfTheLargestPicturesFit) {
  // A turn by a multiple of 90 degrees only swaps the sides; every other
  // angle needs a larger canvas than the limit.
  const struct {
    uint64_t width, height;
  } sizes[] = {{16384, 16384}, {65535, 4096}, {4096, 65535}, {16383, 16385}};
  for (const auto& size : sizes) {
    for (int angle = 1; angle < 360; ++angle) {
      EXPECT_EQ(FitsPictureLimitWhenTurned(size.width, size.height, angle), angle % 90 == 0)
          << size.width << " x " << size.height << " by " << angle;
    }
  }
  EXPECT_FALSE(FitsPictureLimitWhenTurned(16385, 16384, 90));
  EXPECT_FALSE(FitsPictureLimitWhenTurned(16385, 16384, 180));
  EXPECT_TRUE(FitsPictureLimitWhenTurned(100, 100, 45));
  EXPECT_FALSE(FitsPictureLimitWhenTurned(65535, 16, 45));  // thin, but over two billion pixels standing
}

TEST(TurnedCanvasSize, IsTheCanvasFreeImageMakesForEveryAngle) {
  const struct {
    unsigned width, height;
  } sizes[] = {{1, 1}, {2, 3}, {7, 5}, {100, 1}, {1, 100}, {64, 48}, {91, 13}, {13, 91}};
  std::vector<double> angles;
  for (int angle = 1; angle < 360; ++angle) angles.push_back(angle);
  for (double angle : {0.5, 44.999, 45.001, 134.5, 225.5, 315.001, 359.5, -30.0, 400.0}) angles.push_back(angle);
  for (const auto& size : sizes) {
    FIBITMAP* picture = FreeImage_Allocate(size.width, size.height, 8);
    ASSERT_NE(picture, nullptr);
    for (double angle : angles) {
      FIBITMAP* turned = FreeImage_Rotate(picture, angle, nullptr);
      ASSERT_NE(turned, nullptr);
      const CanvasSize estimate = TurnedCanvasSize(size.width, size.height, angle);
      EXPECT_EQ(estimate.width, FreeImage_GetWidth(turned)) << size.width << " x " << size.height << " by " << angle;
      EXPECT_EQ(estimate.height, FreeImage_GetHeight(turned)) << size.width << " x " << size.height << " by " << angle;
      FreeImage_Unload(turned);
    }
    FreeImage_Unload(picture);
  }
}

}  // namespace
}  // namespace jpg2dds
