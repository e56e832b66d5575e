// Helpers of the pipeline's unit tests: pictures made in memory, JPEG files in
// a temporary folder, and reading written DDS files back through DevIL.
#pragma once
#include <FreeImage.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "batch/conversion_job.h"
#include "settings/conversion_settings.h"

namespace jpg2dds::testing {

using PixelFunction = std::function<uint32_t(int x, int y)>;  // 0xRRGGBB, y from the top

// A fresh folder, removed with its contents when the object goes; inside
// `base` when that folder exists (e.g. a memory file system, where fsync is
// free), else in the system's temporary folder.
class TempFolder {
 public:
  explicit TempFolder(const std::string& base = "");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }  // ends with "/"
  std::string File(const std::string& name) const { return path_ + name; }
  std::vector<std::string> Names() const;  // sorted

 private:
  std::string path_;
};

// A 24-bit (or 8-bit greyscale, taking the red byte) picture.
FIBITMAP* MakePicture(int width, int height, const PixelFunction& pixel, bool grey = false);
inline FIBITMAP* MakeFlatPicture(int width, int height, uint32_t rgb) {
  return MakePicture(width, height, [rgb](int, int) { return rgb; });
}

// Colour at (x, y from the top) as 0xAARRGGBB, whatever the depth.
uint32_t PixelAt(FIBITMAP* picture, int x, int y);

// Writes a JPEG of the best quality; `grey` makes a one-channel JPEG.
void WriteJpeg(const std::string& path, int width, int height, const PixelFunction& pixel, bool grey = false);

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// The JPEG with an APP1 Exif segment carrying the orientation tag put right
// after its start marker.
std::string WithExifOrientation(const std::string& jpeg, int orientation);

// The JPEG with an APP1 segment of that payload put right after its start
// marker.
std::string WithApp1Segment(const std::string& jpeg, const std::string& payload);

// The JPEG with its frame header claiming another size (the pixel data stays
// that of the real size).
std::string WithFrameSize(const std::string& jpeg, int width, int height);

// Console defaults (fixed dates), output type dds with automatic depth.
ConversionSettings DefaultSettings();
ConversionJob JobFor(const std::string& input, const std::string& outputFolder);

// A DDS file as DevIL's own loader reads it; pixels top row first, RGBA.
struct DdsPicture {
  bool loaded = false;
  int width = 0;
  int height = 0;
  int mipmaps = 0;  // levels below the base picture
  std::vector<uint8_t> rgba;
  uint32_t At(int x, int y) const;  // 0xAARRGGBB
};
DdsPicture ReadDds(const std::string& path);

// Fields of the file's own header.
struct DdsHeader {
  bool valid = false;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t mipMapCount = 0;
  std::string fourCC;
};
DdsHeader ReadDdsHeader(const std::string& path);

// Channel distance between two 0xAARRGGBB colours, the largest of the four.
int ColorDistance(uint32_t a, uint32_t b);

}  // namespace jpg2dds::testing
