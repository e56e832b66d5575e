// Optional measuring points of the pipeline, for the benchmark: durations
// added up over the calls that were given the record.
#pragma once
#include <chrono>

namespace jpg2dds {

struct StepTimings {
  std::chrono::nanoseconds decode{0};        // FreeImage loading the JPEG
  std::chrono::nanoseconds devilCopy{0};      // ilTexImage taking the pixels
  std::chrono::nanoseconds mipmapAndSave{0};  // iluBuildMipmaps + ilSaveF
};

}  // namespace jpg2dds
