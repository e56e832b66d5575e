// How close the levels of written DDS files are to what they should show:
// PSNR (red, green, blue) of level 0 against the decoded photo, and of levels
// 1 to 3 against a reference made here in double precision: each level the
// area average of the one above, in linear light (sRGB decoded, averaged,
// encoded again). The files are read back through DevIL.
//
// Usage: jpg2dds_bench_quality PHOTO.jpg FILE.dds...
// Output: one line per file: "FILE psnr0 psnr1 psnr2 psnr3" (dB).

#include <FreeImage.h>
#include <IL/il.h>

#include <cmath>
#include <cstdio>
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

// RGB bytes of one level of a DDS file, top row first; empty when missing.
std::vector<unsigned char> DdsLevel(ILuint image, int mipmap, int& width, int& height) {
  ilBindImage(image);
  if (mipmap > 0 && !ilActiveMipmap(mipmap)) return {};
  width = ilGetInteger(IL_IMAGE_WIDTH);
  height = ilGetInteger(IL_IMAGE_HEIGHT);
  std::vector<unsigned char> rgb(size_t(width) * height * 3);
  ilCopyPixels(0, 0, 0, width, height, 1, IL_RGB, IL_UNSIGNED_BYTE, rgb.data());
  if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT) {
    const size_t row = size_t(width) * 3;
    for (int y = 0; y < height / 2; ++y) {
      std::swap_ranges(rgb.begin() + y * row, rgb.begin() + (y + 1) * row, rgb.begin() + (height - 1 - y) * row);
    }
  }
  return rgb;
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
  ilInit();
  FIBITMAP* photo = jpg2dds::LoadSourceImage(argv[1]);
  if (!photo) return 1;
  std::vector<Level> reference{FromPhoto(photo)};
  FreeImage_Unload(photo);
  for (int i = 1; i <= 3; ++i) reference.push_back(Halved(reference.back()));
  for (int f = 2; f < argc; ++f) {
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::printf("%s", argv[f]);
    if (ilLoad(IL_DDS, argv[f])) {
      for (int level = 0; level <= 3; ++level) {
        int width = 0, height = 0;
        const std::vector<unsigned char> rgb = DdsLevel(image, level, width, height);
        std::printf(" %.2f", Psnr(reference[level], rgb, width, height));
      }
    }
    std::printf("\n");
    ilDeleteImages(1, &image);
  }
  return 0;
}
