#include "batch/conversion_worker.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "platform/threads.h"
#include "settings/keywords.h"
#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

// The folder's files and their bytes.
std::map<std::string, std::string> Contents(const TempFolder& folder) {
  std::map<std::string, std::string> files;
  for (const std::string& name : folder.Names()) files[name] = ReadBytes(folder.File(name));
  return files;
}

// Files prepared side by side and written in turn give the run of one file
// after another: the same names (the counter in the mask and in a watermark
// advances in input order, past a file that fails), the same bytes; also
// when the system gives fewer threads than asked, or none.
TEST(ConversionWorker, SameFilesAndNamesWhateverTheThreadCount) {
  ilInit();
  iluInit();
  TempFolder inputs;
  InputList list;
  for (int i = 0; i < 7; ++i) {
    const std::string path = inputs.File("photo" + std::to_string(i) + ".jpg");
    if (i == 2) {
      testing::WriteBytes(path, "not a picture");
    } else {
      testing::WriteJpeg(path, 40 + 13 * i, 30 + 7 * i, [i](int x, int y) { return uint32_t(x * y * (i + 3)) * 0x010203u; });
    }
    list.push_back({path, "", ""});
  }
  RunOptions runOptions;
  runOptions.consoleRun = true;
  for (int compression : {choice::kDdsAuto, choice::kDdsDxt1}) {
    for (bool watermark : {false, true}) {
      std::map<std::string, std::string> first;
      // Threads asked for, and how many of them the system gives (-1: all).
      for (const auto& [threads, given] : {std::pair{1, -1}, {2, -1}, {4, -1}, {8, -1}, {4, 0}, {8, 1}}) {
        SCOPED_TRACE(std::to_string(compression) + (watermark ? " watermark " : " ") + std::to_string(threads) +
                     " given " + std::to_string(given));
        RefuseThreadsAfter(given);
        TempFolder out;
        ConversionSettings settings = testing::DefaultSettings();
        settings.filenameMask = "%n%_%filename%.%ext%";
        settings.ddsCompression = static_cast<int8_t>(compression);
        // A picture watermark keeps the test free of fonts; a text one would
        // show the counter, which only a run in order knows.
        ConversionJob job = testing::JobFor("", out.path());
        job.inputList = list;
        job.threads = threads;
        ConversionProgress progress;
        progress.running = true;
        if (watermark) {
          settings.doWatermark = choice::kWatermarkImage;
          settings.image = inputs.File("photo0.jpg");
          settings.imageXOffset = settings.imageYOffset = 0;
        }
        EXPECT_EQ(ConversionWorker(runOptions, settings, job, nullptr, progress), 6);
        RefuseThreadsAfter(-1);
        EXPECT_EQ(job.sequenceNumber, 7);
        const std::map<std::string, std::string> files = Contents(out);
        EXPECT_EQ(files.size(), 6u);
        EXPECT_EQ(files.count("00001_photo0.dds") + files.count("00006_photo6.dds"), 2u);
        if (first.empty()) first = files;
        EXPECT_TRUE(files == first);
      }
    }
  }
}

TEST(StatusLineText, NumberAlignedToTheTotal) {
  EXPECT_EQ(StatusLineText(37, 500, "/in/a b/name.jpg"), "[ 37/500] name.jpg");
  EXPECT_EQ(StatusLineText(1, 2, "x.jpg"), "[1/2] x.jpg");
  EXPECT_EQ(StatusLineText(7, 1000, "d/e.JPG"), "[   7/1000] e.JPG");
}

}  // namespace
}  // namespace jpg2dds
