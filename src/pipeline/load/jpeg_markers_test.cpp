#include "pipeline/load/jpeg_markers.h"

#include <gtest/gtest.h>

#include <string>

namespace jpg2dds {
namespace {

std::string Segment(char marker, const std::string& payload) {
  const size_t length = payload.size() + 2;
  return std::string{'\xFF', marker, static_cast<char>(length >> 8), static_cast<char>(length & 0xFF)} + payload;
}

// A damaged Exif block: 65535 entries claimed in a few bytes.
const std::string kDamaged = std::string("Exif\0\0MM\0*\0\0\0\x08\xFF\xFF", 16) + std::string(40, '\x7F');
const std::string kFrame = Segment('\xC0', std::string("\x08\0\x10\0\x10\x01\x01\x11\0", 9));
const std::string kScan = Segment('\xDA', std::string("\x01\x01\0\0\x3F\0", 6)) + "\x12\x34\xFF\x00\x56\xFF\xD0\x78";

// Wherever libjpeg's marker reader meets an Exif block, the walk meets it
// too and takes it out: behind bytes that are no marker, a stuffed zero, a
// reserved marker without a length, between the scans of a progressive
// file; so FreeImage never parses it.
TEST(ReplaceExifSegments, FindsEveryExifBlockLibjpegReads) {
  const std::string exif = Segment('\xE1', kDamaged);
  const std::string soi = "\xFF\xD8";
  const std::string cases[] = {
      soi + exif + kFrame + kScan,
      soi + "garbage" + exif + kFrame + kScan,
      soi + std::string("\x01\xFF\x00\x02", 4) + exif + kFrame + kScan,   // a stuffed zero between segments
      soi + std::string("\xFF\x02\x00\x05", 4) + exif + kFrame + kScan,   // a reserved marker, no length
      soi + Segment('\xE0', "JFIF") + Segment('\xE1', "") + exif + kFrame + kScan,
      soi + kFrame + kScan + exif + kScan,                                // between two scans
      soi + kFrame + kScan + exif.substr(0, 20),                          // cut off at the end
      soi + Segment('\xE0', std::string("JFXX\0\x10", 6) + "\xFF\xD8" + exif) + kFrame + kScan,  // a thumbnail
  };
  for (const std::string& jpeg : cases) {
    std::string bytes = jpeg;
    EXPECT_EQ(ReplaceExifSegments(bytes), 0);
    EXPECT_EQ(bytes.find(std::string("MM\0*\0\0\0\x08\xFF\xFF", 10)), std::string::npos);
    EXPECT_EQ(bytes.find("Exif"), std::string::npos);
    EXPECT_NE(bytes.find(kFrame), std::string::npos);
  }
  // After the end of the picture nothing is read, and nothing is changed.
  std::string after = soi + kFrame + kScan + "\xFF\xD9" + exif;
  EXPECT_EQ(ReplaceExifSegments(after), 0);
  EXPECT_EQ(after, soi + kFrame + kScan + "\xFF\xD9" + exif);
}

}  // namespace
}  // namespace jpg2dds
