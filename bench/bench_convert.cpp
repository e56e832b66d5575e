// Converts one JPEG with default settings and prints where the time and the
// memory went: wall time, FreeImage decode, DevIL mipmaps + save, DevIL's
// copy of the pixels (ilTexImage), the rest,
// and the process's peak resident memory. One picture per process, so the
// peak belongs to that picture (bench/run.sh loops over a folder).
#include <IL/il.h>
#include <IL/ilu.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "batch/conversion_job.h"
#include "pipeline/convert_file.h"
#include "pipeline/load/jpeg_header.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/conversion_settings.h"
#include "settings/keywords.h"

using namespace jpg2dds;

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: jpg2dds_bench PICTURE.jpg OUTPUT_FOLDER/ [DDS_COMPRESSION]\n");
    return 2;
  }
  ilInit();
  iluInit();
  ConversionSettings settings;
  ApplyDefaults(settings, DefaultsVariant::kConsole);
  if (argc == 4) settings.ddsCompression = static_cast<int8_t>(KeywordToValue(kDdsCompressionKeywords, argv[3]));
  ConversionJob job;
  InitConversionJob(job, "/");
  job.currentInputFile = argv[1];
  job.outputFolder = argv[2];
  if (job.outputFolder.empty() || job.outputFolder.back() != '/') job.outputFolder += '/';
  job.outputType = "dds";
  job.keepSourceBitDepth = true;

  // Size from the header only, for the per-pixel memory figure.
  std::string bytes;
  uint32_t width = 0, height = 0;
  ReadWholeFile(argv[1], size_t{1} << 32, bytes);
  ReadJpegFrameSize(bytes, width, height);
  std::string().swap(bytes);  // move-assigning an empty text would keep the buffer
  const double pixels = double(width) * height;

  StepTimings timings;
  const auto start = std::chrono::steady_clock::now();
  const bool ok = ConvertFile(settings, job, nullptr, &timings).status == FileStatus::kConverted;
  const auto wall = std::chrono::steady_clock::now() - start;

  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  const double peakBytes = double(usage.ru_maxrss) * 1024.0;
  auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
  const double wallMs = ms(wall), decodeMs = ms(timings.decode), devilMs = ms(timings.mipmapAndSave);
  const double copyMs = ms(timings.devilCopy);
  const double otherMs = wallMs - decodeMs - devilMs - copyMs;
  std::printf("%-44s %5ux%-5u %6.1f MP  wall %7.1f ms  decode %7.1f  mipmaps+save %7.1f  ilTexImage %6.1f  other %6.1f ms (%4.1f%%)  "
              "peak %6.1f MiB (%4.1f B/px, target < 16)%s\n",
              FileNamePart(argv[1]).c_str(), width, height, pixels / 1e6, wallMs, decodeMs, devilMs, copyMs, otherMs,
              100.0 * otherMs / wallMs, peakBytes / 1048576.0, peakBytes / pixels, ok ? "" : "  NOT OK");
  return ok ? 0 : 1;
}
