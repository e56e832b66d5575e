// Shared helpers of the pipeline tests (no tests of their own); DevIL is
// initialised once for the whole test program, as startup does.
#include "testing/test_pictures.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace jpg2dds::testing {
namespace {

class DevilEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ilInit();
    iluInit();
  }
};

::testing::Environment* const kDevil = ::testing::AddGlobalTestEnvironment(new DevilEnvironment);

void Put16(std::string& out, uint16_t v) {  // big-endian, as the Exif header below says
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v >> 16));
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
}

uint32_t Le32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

}  // namespace

TempFolder::TempFolder(const std::string& base) {
  std::error_code error;
  const bool useBase = !base.empty() && std::filesystem::is_directory(base, error);
  std::string pattern =
      ((useBase ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) / "jpg2dds-unit-XXXXXX")
          .string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) ADD_FAILURE() << "no temporary folder";
  path_ = std::string(name.data()) + "/";
}

TempFolder::~TempFolder() {
  std::error_code error;
  // Read-only leftovers of a test must not keep the folder.
  for (auto& entry : std::filesystem::recursive_directory_iterator(path_, error)) {
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
  }
  std::filesystem::remove_all(path_, error);
}

std::vector<std::string> TempFolder::Names() const {
  std::vector<std::string> names;
  for (auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

FIBITMAP* MakePicture(int width, int height, const PixelFunction& pixel, bool grey) {
  FIBITMAP* picture = FreeImage_Allocate(width, height, grey ? 8 : 24);
  if (grey) {
    RGBQUAD* palette = FreeImage_GetPalette(picture);
    for (int i = 0; i < 256; ++i) {
      palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
    }
  }
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(picture, height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint32_t rgb = pixel(x, y);
      if (grey) {
        line[x] = static_cast<BYTE>((rgb >> 16) & 0xFF);
      } else {
        line[x * 3 + FI_RGBA_RED] = static_cast<BYTE>((rgb >> 16) & 0xFF);
        line[x * 3 + FI_RGBA_GREEN] = static_cast<BYTE>((rgb >> 8) & 0xFF);
        line[x * 3 + FI_RGBA_BLUE] = static_cast<BYTE>(rgb & 0xFF);
      }
    }
  }
  return picture;
}

uint32_t PixelAt(FIBITMAP* picture, int x, int y) {
  FIBITMAP* full = FreeImage_ConvertTo32Bits(picture);
  const BYTE* p = FreeImage_GetScanLine(full, FreeImage_GetHeight(full) - 1 - y) + x * 4;
  uint32_t value = (uint32_t{p[FI_RGBA_ALPHA]} << 24) | (uint32_t{p[FI_RGBA_RED]} << 16) |
                   (uint32_t{p[FI_RGBA_GREEN]} << 8) | p[FI_RGBA_BLUE];
  FreeImage_Unload(full);
  return value;
}

void WriteJpeg(const std::string& path, int width, int height, const PixelFunction& pixel, bool grey) {
  FIBITMAP* picture = MakePicture(width, height, pixel, grey);
  ASSERT_TRUE(FreeImage_Save(FIF_JPEG, picture, path.c_str(), JPEG_QUALITYSUPERB | JPEG_SUBSAMPLING_444));
  FreeImage_Unload(picture);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string WithExifOrientation(const std::string& jpeg, int orientation) {
  std::string tiff = "MM";
  Put16(tiff, 42);
  Put32(tiff, 8);  // first directory right after this header
  Put16(tiff, 1);  // one entry
  Put16(tiff, 0x0112);  // Orientation
  Put16(tiff, 3);       // SHORT
  Put32(tiff, 1);
  Put16(tiff, static_cast<uint16_t>(orientation));
  Put16(tiff, 0);
  Put32(tiff, 0);  // no next directory
  return WithApp1Segment(jpeg, std::string("Exif\0\0", 6) + tiff);
}

std::string WithApp1Segment(const std::string& jpeg, const std::string& payload) {
  std::string app1 = "\xFF\xE1";
  Put16(app1, static_cast<uint16_t>(payload.size() + 2));
  return jpeg.substr(0, 2) + app1 + payload + jpeg.substr(2);
}

std::string WithFrameSize(const std::string& jpeg, int width, int height) {
  // Baseline frame header: FF C0, length (2), precision (1), height (2), width (2).
  std::string bytes = jpeg;
  size_t sof = bytes.find("\xFF\xC0");
  if (sof == std::string::npos) {
    ADD_FAILURE() << "no frame header";
    return bytes;
  }
  bytes[sof + 5] = static_cast<char>(height >> 8);
  bytes[sof + 6] = static_cast<char>(height & 0xFF);
  bytes[sof + 7] = static_cast<char>(width >> 8);
  bytes[sof + 8] = static_cast<char>(width & 0xFF);
  return bytes;
}

ConversionSettings DefaultSettings() {
  ConversionSettings settings;
  ApplyDefaults(settings, DefaultsVariant::kConsole, 0, 0);
  return settings;
}

ConversionJob JobFor(const std::string& input, const std::string& outputFolder) {
  ConversionJob job;
  job.currentInputFile = input;
  job.outputFolder = outputFolder;
  job.outputType = "dds";
  job.outputBitDepth = 0;
  job.keepSourceBitDepth = true;
  job.randomNumber = 42;
  job.sequenceNumber = 1;
  return job;
}

uint32_t DdsPicture::At(int x, int y) const {
  const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

DdsPicture ReadDds(const std::string& path) {
  DdsPicture result;
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  if (ilLoad(IL_DDS, path.c_str())) {
    result.loaded = true;
    result.width = ilGetInteger(IL_IMAGE_WIDTH);
    result.height = ilGetInteger(IL_IMAGE_HEIGHT);
    result.mipmaps = ilGetInteger(IL_NUM_MIPMAPS);
    result.rgba.resize(static_cast<size_t>(result.width) * result.height * 4);
    ilCopyPixels(0, 0, 0, result.width, result.height, 1, IL_RGBA, IL_UNSIGNED_BYTE, result.rgba.data());
    if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT) {
      const size_t row = static_cast<size_t>(result.width) * 4;
      for (int y = 0; y < result.height / 2; ++y) {
        std::swap_ranges(result.rgba.begin() + y * row, result.rgba.begin() + (y + 1) * row,
                         result.rgba.begin() + (result.height - 1 - y) * row);
      }
    }
  }
  ilDeleteImages(1, &image);
  while (ilGetError() != IL_NO_ERROR) {
  }
  return result;
}

DdsHeader ReadDdsHeader(const std::string& path) {
  DdsHeader header;
  std::string bytes = ReadBytes(path);
  if (bytes.size() < 128 || bytes.compare(0, 4, "DDS ") != 0) return header;
  header.valid = true;
  header.height = Le32(bytes, 12);
  header.width = Le32(bytes, 16);
  header.mipMapCount = Le32(bytes, 28);
  header.fourCC = bytes.substr(84, 4);
  return header;
}

int ColorDistance(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    int d = std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    largest = std::max(largest, d);
  }
  return largest;
}

}  // namespace jpg2dds::testing
