#include "batch/conversion_job.h"

#include <algorithm>
#include <thread>

#include "formats/format_tables.h"
#include "platform/random.h"

namespace jpg2dds {

void InitConversionJob(ConversionJob& job, const std::string& programFolder) {
  job = ConversionJob{};
  job.programFolder = programFolder;
  job.randomNumber = RandomInRange(1, 99999);
  job.sequenceNumber = 1;
  job.acceptedExtensions = DeriveAcceptedExtensions();
  job.writtenOutputs = std::make_shared<WrittenOutputs>();
  job.threads = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace jpg2dds
