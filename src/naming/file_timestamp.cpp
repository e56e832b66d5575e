#include "naming/file_timestamp.h"

#include "platform/clock.h"
#include "platform/file_times.h"
#include "settings/keywords.h"

namespace jpg2dds {

void ApplyFileTimestamp(const ConversionSettings& settings, const std::string& outputPath,
                        const std::string& inputPath) {
  switch (settings.fileTimestamp) {
    case choice::kTimestampOriginal: {
      // The instant is copied as it is rather than through local calendar
      // fields, which an hour repeated at a clock change would make ambiguous.
      // An unreadable input time leaves the time of writing, not 1970.
      std::time_t instant = 0;
      if (GetModificationTime(inputPath, instant)) SetModificationTime(outputPath, instant);
      break;
    }
    case choice::kTimestampCustom:
      SetModificationTime(outputPath, DateValueToInstant(settings.customTimestamp));
      break;
    default:
      break;
  }
}

}  // namespace jpg2dds
