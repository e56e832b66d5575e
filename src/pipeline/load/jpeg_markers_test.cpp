#include "pipeline/load/jpeg_markers.h"

#include "pipeline/load/exif_orientation.h"

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

// An Exif block as a camera writes it: big-endian TIFF, a Make entry, then
// the orientation, no next directory.
std::string CameraExif(int orientation) {
  return Segment('\xE1', std::string("Exif\0\0MM\0*\0\0\0\x08\0\x02", 16) +
                             std::string("\x01\x0F\0\x02\0\0\0\x04" "Cam\0", 12) +
                             std::string("\x01\x12\0\x03\0\0\0\x01\0", 9) + static_cast<char>(orientation) +
                             std::string(6, '\0'));
}

// Several Exif blocks before the first scan: damaged ones are skipped and the
// last readable orientation counts, as in FreeImage's own reading; one after
// the first scan is no part of the header. One minimal block with that
// orientation stands where the first one stood, and the file is edited where
// it lies.
TEST(ReplaceExifSegments, TheLastReadableOrientationOfTheHeaderCounts) {
  const std::string soi = "\xFF\xD8", jfif = Segment('\xE0', std::string("JFIF\0\x01\x01", 7));
  const std::string damaged = Segment('\xE1', kDamaged);
  const std::string headerOnly = Segment('\xE1', std::string("Exif\0\0II*\0", 10));
  // Shorter than the block that replaces it: no next-directory offset.
  const std::string shortest = Segment('\xE1', MinimalExifPayload(5).substr(0, 28));
  const struct {
    std::string header, betweenScans;
    int orientation;
  } cases[] = {
      {damaged + CameraExif(6), "", 6},         {CameraExif(6) + CameraExif(3), "", 3},
      {CameraExif(3) + damaged, "", 3},         {damaged + headerOnly + CameraExif(9), "", 0},
      {CameraExif(6), jfif + CameraExif(3), 6}, {damaged + jfif + CameraExif(8) + jfif, "", 8},
      {shortest, "", 5},
  };
  const auto withoutExif = [&](std::string text) {
    for (const std::string& exif :
         {damaged, headerOnly, shortest, CameraExif(3), CameraExif(6), CameraExif(8), CameraExif(9)}) {
      for (size_t at; (at = text.find(exif)) != std::string::npos;) text.erase(at, exif.size());
    }
    return text;
  };
  const std::string tail(64, 'x');
  for (const auto& c : cases) {
    std::string bytes = soi + jfif + c.header + kFrame + kScan + c.betweenScans + kScan + tail;
    bytes.reserve(bytes.size() + 8);
    const char* before = bytes.data();
    EXPECT_EQ(ReplaceExifSegments(bytes), c.orientation);
    const std::string minimal = c.orientation ? Segment('\xE1', MinimalExifPayload(c.orientation)) : "";
    EXPECT_EQ(bytes, soi + jfif + minimal + withoutExif(c.header) + kFrame + kScan + withoutExif(c.betweenScans) +
                         kScan + tail);
    EXPECT_EQ(bytes.data(), before);
  }
}

}  // namespace
}  // namespace jpg2dds
