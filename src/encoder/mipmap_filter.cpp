#include "encoder/mipmap_filter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace jpg2dds {
namespace {

// Linear light in 16 bits each way: fine enough that no sRGB step is lost
// even near black (the first step is 1/3295 of full light).
constexpr int kLinearSteps = 65536;

struct Tables {
  float toLinear[256];            // sRGB byte -> linear 0..65535
  uint16_t toLinear16[256];       // the same, rounded
  uint8_t toSrgb[kLinearSteps];  // linear 0..65535 -> sRGB byte
};

double Decode(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double Encode(double l) { return l <= 0.0031308 ? l * 12.92 : 1.055 * std::pow(l, 1 / 2.4) - 0.055; }

const Tables& LightTables() {
  static const Tables* tables = [] {
    auto* t = new Tables;
    for (int i = 0; i < 256; ++i) {
      t->toLinear[i] = static_cast<float>(Decode(i / 255.0) * (kLinearSteps - 1));
      t->toLinear16[i] = static_cast<uint16_t>(std::lround(Decode(i / 255.0) * (kLinearSteps - 1)));
    }
    for (int i = 0; i < kLinearSteps; ++i) {
      t->toSrgb[i] = static_cast<uint8_t>(std::lround(Encode(double(i) / (kLinearSteps - 1)) * 255.0));
    }
    return t;
  }();
  return *tables;
}

// The source pixels one destination pixel covers along one side, with the
// share of each: destination i covers [i, i + 1) x sourceSize / destSize.
struct Taps {
  int first = 0;
  int count = 0;
  float weight[4] = {};
};

std::vector<Taps> SideTaps(int sourceSize, int destSize) {
  std::vector<Taps> taps(destSize);
  // In units of 1/destSize of a source pixel, so every bound is a whole number.
  for (int i = 0; i < destSize; ++i) {
    const int64_t begin = int64_t{i} * sourceSize, end = begin + sourceSize;
    Taps& t = taps[i];
    t.first = static_cast<int>(begin / destSize);
    for (int64_t p = t.first; p * destSize < end && t.count < 4; ++p) {
      const int64_t covered = std::min(end, (p + 1) * destSize) - std::max(begin, p * destSize);
      t.weight[t.count++] = static_cast<float>(double(covered) / double(sourceSize));
    }
  }
  return taps;
}

}  // namespace

uint8_t LinearToSrgb(double linear) {
  const double clamped = std::fmin(1.0, std::fmax(0.0, linear));
  return LightTables().toSrgb[std::lround(clamped * (kLinearSteps - 1))];
}

double SrgbToLinear(uint8_t value) { return LightTables().toLinear[value] / (kLinearSteps - 1); }

namespace {

// Each destination pixel the mean of a 2 x 2 square: integer sums of the
// 16-bit linear values, so nothing is rounded but the mean.
void HalveRows(const RowReader& source, int destWidth, int rowBegin, int rowEnd, uint8_t* dest,
               std::vector<uint8_t>& scratchTop, std::vector<uint8_t>& scratchBottom) {
  const Tables& tables = LightTables();
  for (int y = rowBegin; y < rowEnd; ++y) {
    const PixelRow top = source(2 * y, scratchTop.data());
    const PixelRow bottom = source(2 * y + 1, scratchBottom.data());
    uint8_t* out = dest + static_cast<size_t>(y - rowBegin) * destWidth * 4;
    const uint8_t* a = top.pixels;
    const uint8_t* b = bottom.pixels;
    const int sa = top.stride, sb = bottom.stride;
    for (int x = 0; x < destWidth; ++x, a += 2 * sa, b += 2 * sb, out += 4) {
      for (int c = 0; c < 3; ++c) {
        const uint32_t sum = uint32_t{tables.toLinear16[a[c]]} + tables.toLinear16[a[sa + c]] +
                             tables.toLinear16[b[c]] + tables.toLinear16[b[sb + c]];
        out[c] = tables.toSrgb[(sum + 2) >> 2];
      }
      const uint32_t alpha = (sa == 4 ? uint32_t{a[3]} + a[7] : 510u) + (sb == 4 ? uint32_t{b[3]} + b[7] : 510u);
      out[3] = static_cast<uint8_t>((alpha + 2) >> 2);
    }
  }
}

}  // namespace

void DownsampleRows(const RowReader& source, int sourceWidth, int sourceHeight, int destWidth, int destHeight,
                    int rowBegin, int rowEnd, uint8_t* dest) {
  std::vector<uint8_t> scratch(static_cast<size_t>(sourceWidth) * 4);
  if (sourceWidth == 2 * destWidth && sourceHeight == 2 * destHeight) {
    std::vector<uint8_t> second(scratch.size());
    HalveRows(source, destWidth, rowBegin, rowEnd, dest, scratch, second);
    return;
  }
  const Tables& tables = LightTables();
  const std::vector<Taps> columns = SideTaps(sourceWidth, destWidth);
  const std::vector<Taps> rows = SideTaps(sourceHeight, destHeight);
  // Blue, green, red in linear light, alpha as it is, per destination pixel.
  std::vector<float> sum(static_cast<size_t>(destWidth) * 4);
  for (int y = rowBegin; y < rowEnd; ++y) {
    std::fill(sum.begin(), sum.end(), 0.0f);
    const Taps& vertical = rows[y];
    for (int k = 0; k < vertical.count; ++k) {
      const PixelRow row = source(vertical.first + k, scratch.data());
      const float wy = vertical.weight[k];
      for (int x = 0; x < destWidth; ++x) {
        const Taps& horizontal = columns[x];
        float b = 0, g = 0, r = 0, a = 0;
        const uint8_t* p = row.pixels + static_cast<size_t>(horizontal.first) * row.stride;
        for (int j = 0; j < horizontal.count; ++j, p += row.stride) {
          const float w = horizontal.weight[j];
          b += w * tables.toLinear[p[0]];
          g += w * tables.toLinear[p[1]];
          r += w * tables.toLinear[p[2]];
          a += w * (row.stride == 4 ? p[3] : 255);
        }
        float* s = &sum[static_cast<size_t>(x) * 4];
        s[0] += wy * b;
        s[1] += wy * g;
        s[2] += wy * r;
        s[3] += wy * a;
      }
    }
    uint8_t* out = dest + static_cast<size_t>(y - rowBegin) * destWidth * 4;
    for (int x = 0; x < destWidth * 4; x += 4) {
      for (int c = 0; c < 3; ++c) {
        const long linear = std::lround(sum[x + c]);
        out[x + c] = tables.toSrgb[std::min<long>(kLinearSteps - 1, std::max<long>(0, linear))];
      }
      out[x + 3] = static_cast<uint8_t>(std::min<long>(255, std::lround(sum[x + 3])));
    }
  }
}

}  // namespace jpg2dds
