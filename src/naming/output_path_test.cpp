#include "naming/output_path.h"

#include <gtest/gtest.h>

namespace jpg2dds {
namespace {

TEST(BuildOutputPath, JoinsFolderSubfolderAndMaskedName) {
  ConversionSettings settings;
  ApplyDefaults(settings, DefaultsVariant::kConsole, 0, 0);
  ConversionJob job;
  job.outputFolder = "/out/";
  job.outputType = "dds";
  job.currentInputFile = "/pics/Sea.jpg";

  settings.keepSubfolders = 1;
  EXPECT_EQ(BuildOutputPath(settings, job), "/out/Sea.dds");
  settings.keepSubfolders = 0;
  EXPECT_EQ(BuildOutputPath(settings, job), "/out/Sea.dds");

  job.currentSubfolder = "2024/";
  settings.keepSubfolders = 1;
  EXPECT_EQ(BuildOutputPath(settings, job), "/out/2024/Sea.dds");
  EXPECT_EQ(OutputFolderPart(settings, job), "/out/2024/");
  settings.keepSubfolders = 0;
  EXPECT_EQ(BuildOutputPath(settings, job), "/out/Sea.dds");

  // Nothing is added: a mask without extension gives a name without one.
  settings.filenameMask = "fixed";
  EXPECT_EQ(BuildOutputPath(settings, job), "/out/fixed");
}

}  // namespace
}  // namespace jpg2dds
