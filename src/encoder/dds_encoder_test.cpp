#include "encoder/dds_encoder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <utility>
#include <thread>

#include "settings/keywords.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

std::string Bytes(const EncodedDds& encoded) {
  std::string all = encoded.header;
  for (const LargeBuffer& level : encoded.levels) all.append(reinterpret_cast<const char*>(level.data()), level.size());
  return all;
}

// Rows that a producer has not made yet hold nothing: the encoder must not
// read them early, whatever the number of threads and however slowly the
// rows come. The bytes are those of one thread at every quality.
TEST(EncodeDds, RowsStillBeingMadeAreWaitedFor) {
  auto scene = [](int x, int y) { return uint32_t(x * 7 + y * 13) * 0x030507u; };
  const std::pair<int, int> kinds[] = {{choice::kDdsDxt1, choice::kDdsQualityNormal},
                                       {choice::kDdsDxt1, choice::kDdsQualityBest},
                                       {choice::kDdsDxt5, choice::kDdsQualityBest},
                                       {choice::kDdsNone, choice::kDdsQualityNormal}};
  for (const auto& [compression, quality] : kinds) {
    const DdsFormat* format = FindDdsFormat(compression);
    SCOPED_TRACE(std::string(format->name) + " quality " + std::to_string(quality));
    EncodedDds whole;
    ASSERT_TRUE(EncodeDds(testing::MakePicture(150, 301, scene), *format, quality, 1, whole));
    for (int threads : {2, 5}) {
      FIBITMAP* full = testing::MakePicture(150, 301, scene);
      FIBITMAP* growing = FreeImage_Allocate(150, 301, 24);
      const unsigned pitch = FreeImage_GetPitch(full);
      EncodedDds streamed;
      int made = 0;
      ASSERT_TRUE(EncodeDds(growing, *format, quality, threads, streamed, [&](int& rowsDone) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        for (int k = 0; k < 7 && made < 301; ++k, ++made) {
          std::memcpy(FreeImage_GetScanLine(growing, 300 - made), FreeImage_GetScanLine(full, 300 - made), pitch);
        }
        rowsDone = made;
        return true;
      }));
      EXPECT_EQ(Bytes(streamed), Bytes(whole)) << threads << " threads";
      FreeImage_Unload(full);
    }
  }
}

}  // namespace
}  // namespace jpg2dds
