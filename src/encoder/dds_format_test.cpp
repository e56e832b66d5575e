#include "encoder/dds_format.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/keywords.h"

namespace jpg2dds {
namespace {

// Every DDS Compression word but AUTO has exactly one complete row, so no
// word can fall through to another format's bytes; AUTO and values without a
// word have none (DevIL writes those files).
TEST(DdsFormatTable, OneCompleteRowForEveryEncoderKeyword) {
  std::set<int32_t> rows;
  for (int i = 0; i < kDdsFormatCount; ++i) {
    const DdsFormat& format = kDdsFormats[i];
    SCOPED_TRACE(format.name);
    EXPECT_TRUE(rows.insert(format.compression).second);
    EXPECT_EQ(FindDdsFormat(format.compression), &format);
    if (IsBlockCompressed(format)) {
      EXPECT_NE(format.compress, nullptr);
      EXPECT_NE(format.best, nullptr);
      EXPECT_EQ(QualityCompressor(format, choice::kDdsQualityNormal), format.compress);
      EXPECT_EQ(QualityCompressor(format, choice::kDdsQualityBest), format.best);
      ASSERT_NE(format.fourCC, nullptr);
      EXPECT_EQ(DdsFileHeader(format, 8, 8, 4).substr(84, 4), format.fourCC);
    } else {
      EXPECT_EQ(format.masks[0] | format.masks[1] | format.masks[2] | format.masks[3], 0xFFFFFFFFu);
    }
  }
  for (int i = 0; i < kDdsCompressionKeywords.count; ++i) {
    const int32_t value = kDdsCompressionKeywords.entries[i].value;
    EXPECT_EQ(rows.count(value), value == choice::kDdsAuto ? 0u : 1u) << kDdsCompressionKeywords.entries[i].word;
  }
  EXPECT_EQ(FindDdsFormat(choice::kDdsAuto), nullptr);
  EXPECT_EQ(FindDdsFormat(99), nullptr);
}

}  // namespace
}  // namespace jpg2dds
