// How close the levels of written DDS files are to what they should show:
// PSNR (red, green, blue) of level 0 against the decoded photo, and of levels
// 1 to 3 against a reference made here in double precision: each level the
// area average of the one above, in linear light (sRGB decoded, averaged,
// encoded again). The files are read here: DXT1 and DXT5 blocks decoded by
// libsquish, uncompressed 32-bit levels as they are.
//
// Usage: jpg2dds_bench_quality PHOTO.jpg FILE.dds...
// Output: one line per file: "FILE psnr0 psnr1 psnr2 psnr3" (dB).

#include <FreeImage.h>
#include <squish.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pipeline/load/load_source.h"

namespace {

struct Level {
  int width = 0, height = 0;
  std::vector<double> rgb;  // linear light, top row first
};

double Decode(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double Encode(double l) { return l <= 0.0031308 ? l * 12.92 : 1.055 * std::pow(l, 1 / 2.4) - 0.055; }

Level FromPhoto(FIBITMAP* photo) {
  FIBITMAP* rgb = FreeImage_ConvertTo24Bits(photo);
  Level level{static_cast<int>(FreeImage_GetWidth(rgb)), static_cast<int>(FreeImage_GetHeight(rgb)), {}};
  level.rgb.resize(size_t(level.width) * level.height * 3);
  for (int y = 0; y < level.height; ++y) {
    const BYTE* row = FreeImage_GetScanLine(rgb, level.height - 1 - y);
    for (int x = 0; x < level.width; ++x) {
      double* p = &level.rgb[(size_t(y) * level.width + x) * 3];
      p[0] = Decode(row[x * 3 + FI_RGBA_RED] / 255.0);
      p[1] = Decode(row[x * 3 + FI_RGBA_GREEN] / 255.0);
      p[2] = Decode(row[x * 3 + FI_RGBA_BLUE] / 255.0);
    }
  }
  FreeImage_Unload(rgb);
  return level;
}

// Share of source pixel p in destination pixel i along one side.
double Share(int i, int p, int source, int dest) {
  const double begin = double(i) * source / dest, end = double(i + 1) * source / dest;
  return std::fmax(0.0, std::fmin(end, p + 1.0) - std::fmax(begin, double(p))) / (double(source) / dest);
}

Level Halved(const Level& above) {
  Level level{std::max(1, above.width / 2), std::max(1, above.height / 2), {}};
  level.rgb.assign(size_t(level.width) * level.height * 3, 0.0);
  for (int y = 0; y < level.height; ++y) {
    const int y0 = int(double(y) * above.height / level.height);
    for (int x = 0; x < level.width; ++x) {
      const int x0 = int(double(x) * above.width / level.width);
      double* out = &level.rgb[(size_t(y) * level.width + x) * 3];
      for (int sy = y0; sy < std::min(above.height, y0 + 4); ++sy) {
        const double wy = Share(y, sy, above.height, level.height);
        for (int sx = x0; sx < std::min(above.width, x0 + 4); ++sx) {
          const double w = wy * Share(x, sx, above.width, level.width);
          const double* in = &above.rgb[(size_t(sy) * above.width + sx) * 3];
          for (int c = 0; c < 3; ++c) out[c] += w * in[c];
        }
      }
    }
  }
  return level;
}

uint32_t Read32(const std::string& file, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(file[at + i]);
  return value;
}

// RGB bytes of levels 0 to `count - 1` of a DDS file in the classic layout
// (DXT1, DXT5 or 32-bit BGRA), top row first; fewer when the file has fewer.
struct DdsLevel {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
};

std::vector<DdsLevel> ReadDds(const char* path, int count) {
  std::ifstream in(path, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<DdsLevel> levels;
  if (file.size() < 128 || file.compare(0, 4, "DDS ") != 0) return levels;
  int height = static_cast<int>(Read32(file, 12)), width = static_cast<int>(Read32(file, 16));
  const int mipmaps = std::max(1, static_cast<int>(Read32(file, 28)));
  const std::string fourCC = file.substr(84, 4);
  const int flags = fourCC == "DXT1" ? squish::kDxt1 : fourCC == "DXT5" ? squish::kDxt5 : 0;
  size_t at = 128;
  for (int level = 0; level < std::min(count, mipmaps); ++level) {
    const size_t bytes = flags ? static_cast<size_t>(squish::GetStorageRequirements(width, height, flags))
                               : size_t(width) * height * 4;
    if (at + bytes > file.size()) break;
    std::vector<unsigned char> rgba(size_t(width) * height * 4);
    if (flags) {
      squish::DecompressImage(rgba.data(), width, height, file.data() + at, flags);
    } else {
      for (size_t i = 0; i < rgba.size(); i += 4) {  // BGRA to RGBA
        rgba[i] = file[at + i + 2];
        rgba[i + 1] = file[at + i + 1];
        rgba[i + 2] = file[at + i];
      }
    }
    DdsLevel out{width, height, std::vector<unsigned char>(size_t(width) * height * 3)};
    for (size_t i = 0; i < size_t(width) * height; ++i) {
      for (int c = 0; c < 3; ++c) out.rgb[i * 3 + c] = rgba[i * 4 + c];
    }
    levels.push_back(std::move(out));
    at += bytes;
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
  }
  return levels;
}

double Psnr(const Level& reference, const std::vector<unsigned char>& rgb, int width, int height) {
  if (width != reference.width || height != reference.height || rgb.empty()) return 0;
  double squares = 0;
  for (size_t i = 0; i < rgb.size(); ++i) {
    const double expected = std::round(Encode(reference.rgb[i]) * 255.0);
    squares += (rgb[i] - expected) * (rgb[i] - expected);
  }
  const double mse = squares / double(rgb.size());
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: jpg2dds_bench_quality PHOTO.jpg FILE.dds...\n");
    return 2;
  }
  FIBITMAP* photo = jpg2dds::LoadSourceImage(argv[1]);
  if (!photo) return 1;
  std::vector<Level> reference{FromPhoto(photo)};
  FreeImage_Unload(photo);
  for (int i = 1; i <= 3; ++i) reference.push_back(Halved(reference.back()));
  for (int f = 2; f < argc; ++f) {
    std::printf("%s", argv[f]);
    const std::vector<DdsLevel> levels = ReadDds(argv[f], 4);
    for (const DdsLevel& level : levels) {
      std::printf(" %.2f", Psnr(reference[&level - levels.data()], level.rgb, level.width, level.height));
    }
    std::printf("\n");
  }
  return 0;
}
