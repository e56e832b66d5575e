// Times the overlay steps of the pipeline on one photo and sets each against
// the photo's decode: the JPEG decode, the solid frame, a default text
// watermark and a 400 x 200 picture watermark with alpha.
//
// Usage: jpg2dds_bench_overlays PHOTO.jpg [RUNS]   (a 5120 x 2880 photo is the target case)

#include <FreeImage.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "batch/conversion_job.h"
#include "pipeline/overlays/frame.h"
#include "pipeline/overlays/text_watermark.h"
#include "pipeline/overlays/watermark.h"
#include "settings/conversion_settings.h"
#include "settings/keywords.h"

namespace {

using namespace jpg2dds;
using Clock = std::chrono::steady_clock;

FIBITMAP* Decode(const char* path) { return FreeImage_Load(FIF_JPEG, path, JPEG_ACCURATE | JPEG_EXIFROTATE); }

// Median wall time in milliseconds of `runs` calls; `prepare` makes the
// input outside the timed part, `step` consumes it and returns what to free.
double MedianMs(int runs, const std::function<FIBITMAP*()>& prepare, const std::function<FIBITMAP*(FIBITMAP*)>& step) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    FIBITMAP* input = prepare();
    Clock::time_point start = Clock::now();
    FIBITMAP* output = step(input);
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    if (output) FreeImage_Unload(output);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// A 400 x 200 watermark: an opaque ellipse on a transparent ground.
std::string WriteWatermarkPng(const std::filesystem::path& folder) {
  FIBITMAP* mark = FreeImage_AllocateT(FIT_BITMAP, 400, 200, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                       FI_RGBA_BLUE_MASK);
  for (int y = 0; y < 200; ++y) {
    BYTE* p = FreeImage_GetScanLine(mark, y);
    for (int x = 0; x < 400; ++x, p += 4) {
      double dx = (x - 200) / 200.0, dy = (y - 100) / 100.0;
      bool inside = dx * dx + dy * dy <= 1.0;
      p[FI_RGBA_RED] = static_cast<BYTE>(x * 255 / 399);
      p[FI_RGBA_GREEN] = 128;
      p[FI_RGBA_BLUE] = static_cast<BYTE>(y * 255 / 199);
      p[FI_RGBA_ALPHA] = inside ? 255 : 0;
    }
  }
  std::string path = (folder / "watermark.png").string();
  bool saved = FreeImage_Save(FIF_PNG, mark, path.c_str(), 0);
  FreeImage_Unload(mark);
  return saved ? path : std::string();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PHOTO.jpg [RUNS]\n", argv[0]);
    return 2;
  }
  const char* photo = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  FIBITMAP* original = Decode(photo);
  if (!original) {
    std::fprintf(stderr, "cannot decode %s\n", photo);
    return 1;
  }
  const int width = static_cast<int>(FreeImage_GetWidth(original));
  const int height = static_cast<int>(FreeImage_GetHeight(original));
  auto copy = [&] { return FreeImage_Clone(original); };

  ConversionSettings settings;
  ApplyDefaults(settings, DefaultsVariant::kConsole);
  ConversionJob job;
  job.outputType = "dds";

  const double decodeMs = MedianMs(runs, [] { return nullptr; }, [&](FIBITMAP*) { return Decode(photo); });

  ConversionSettings framed = settings;
  framed.doFrame = choice::kFrameSolid;
  framed.solidLeft = framed.solidRight = framed.solidTop = framed.solidBottom = 40;
  framed.solidLeftColor = framed.solidRightColor = "FF8000";
  framed.solidTopColor = framed.solidBottomColor = "0060C0";
  framed.solidOpacity = 200;
  const double frameMs =
      MedianMs(runs, copy, [&](FIBITMAP* p) { return ApplyFrame(p, width, height, framed); });

  ConversionSettings text = settings;
  text.doWatermark = choice::kWatermarkText;
  WatermarkFont* font = CreateWatermarkFont(WatermarkFontRequest(text));
  const double textMs =
      MedianMs(runs, copy, [&](FIBITMAP* p) { return ApplyWatermark(p, width, height, text, job, font); });
  ReleaseWatermarkFont(font);

  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("jpg2dds_bench_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  ConversionSettings picture = settings;
  picture.doWatermark = choice::kWatermarkImage;
  picture.image = WriteWatermarkPng(folder);
  const double pictureMs =
      MedianMs(runs, copy, [&](FIBITMAP* p) { return ApplyWatermark(p, width, height, picture, job, nullptr); });
  std::filesystem::remove_all(folder);
  FreeImage_Unload(original);

  std::printf("photo %s, %d x %d, median of %d runs\n", photo, width, height, runs);
  std::printf("%-28s %9.1f ms\n", "JPEG decode", decodeMs);
  const struct {
    const char* name;
    double ms;
  } steps[] = {{"frame (40 px, opacity 200)", frameMs}, {"text watermark (default)", textMs},
               {"picture watermark 400x200", pictureMs}};
  for (const auto& step : steps) {
    std::printf("%-28s %9.1f ms  %5.1f%% of decode (target <= 25%%)\n", step.name, step.ms,
                100.0 * step.ms / decodeMs);
  }
  return 0;
}
