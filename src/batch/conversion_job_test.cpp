#include "batch/conversion_job.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"

namespace jpg2dds {
namespace {

TEST(InitConversionJob, InitialValues) {
  ConversionJob job;
  job.currentInputFile = "left over";
  job.sequenceNumber = 42;
  job.inputList.push_back({"/a.jpg", "", ""});
  InitConversionJob(job, "/x/");
  ASSERT_TRUE(ClaimOutputPath(*job.writtenOutputs, "/out/a.dds"));
  InitConversionJob(job, ProgramFolder());
  EXPECT_TRUE(ClaimOutputPath(*job.writtenOutputs, "/out/a.dds"));  // a new run has written nothing
  EXPECT_FALSE(ClaimOutputPath(*job.writtenOutputs, "/out/a.dds"));
  EXPECT_EQ(job.sequenceNumber, 1);
  EXPECT_GE(job.randomNumber, 1);
  EXPECT_LE(job.randomNumber, 99999);
  EXPECT_TRUE(job.inputList.empty());
  EXPECT_TRUE(job.currentInputFile.empty());
  EXPECT_EQ(job.outputBitDepth, 0);
  EXPECT_FALSE(job.keepSourceBitDepth);
  ASSERT_FALSE(job.programFolder.empty());
  EXPECT_EQ(job.programFolder.front(), '/');
  EXPECT_EQ(job.programFolder.back(), '/');
  EXPECT_EQ(job.acceptedExtensions, (std::vector<std::string>{"jpg", "jpeg", "jpe", "jif"}));
}

TEST(InitConversionJob, RandomNumbersStayInRange) {
  ConversionJob job;
  bool differs = false;
  int first = 0;
  for (int i = 0; i < 200; ++i) {
    InitConversionJob(job, "/x/");
    ASSERT_GE(job.randomNumber, 1);
    ASSERT_LE(job.randomNumber, 99999);
    if (i == 0) first = job.randomNumber;
    differs = differs || job.randomNumber != first;
  }
  EXPECT_TRUE(differs) << "the random number never changed";
}

}  // namespace
}  // namespace jpg2dds
