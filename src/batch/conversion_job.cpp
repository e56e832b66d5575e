#include "batch/conversion_job.h"

#include "formats/format_tables.h"
#include "platform/random.h"

namespace jpg2dds {

void InitConversionJob(ConversionJob& job, const std::string& programFolder) {
  job = ConversionJob{};
  job.programFolder = programFolder;
  job.randomNumber = RandomInRange(1, 99999);
  job.sequenceNumber = 1;
  job.acceptedExtensions = DeriveAcceptedExtensions();
}

}  // namespace jpg2dds
