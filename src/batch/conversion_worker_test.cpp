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
        RunReport report;
        EXPECT_EQ(ConversionWorker(runOptions, settings, job, nullptr, progress, report, ""), 6);
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

// What a terminal would act on is shown escaped, valid UTF-8 as it is; on a
// terminal of known width the line keeps off its last column, the counter
// whole and the middle of the name cut out.
TEST(StatusLineText, EscapedAndFittedToTheTerminal) {
  const struct {
    const char* path;
    int columns;
    const char* shown;
  } cases[] = {
      {"/in/\x1B[31mred.jpg", 0, R"([1/9] \033[31mred.jpg)"},
      {"a\nb\r\t.jpg", 0, R"([1/9] a\012b\015\011.jpg)"},
      {"del\x7F.jpg", 0, R"([1/9] del\177.jpg)"},
      {"csi\xC2\x9B" "2J.jpg", 0, R"([1/9] csi\302\2332J.jpg)"},    // C1 control in UTF-8
      {"latin\xE9.jpg", 0, R"([1/9] latin\351.jpg)"},               // not UTF-8
      {"caf\xC3\xA9 \xE6\x97\xA5.jpg", 0, "[1/9] caf\xC3\xA9 \xE6\x97\xA5.jpg"},
      {"abcdefghijklmnopqrstuvwxyz.jpg", 21, "[1/9] abcde...yz.jpg"},
      {"abcdefghijklmnopqrstuvwxyz.jpg", 37, "[1/9] abcdefghijklmnopqrstuvwxyz.jpg"},
      {"abcdefghijklmnopqrstuvwxyz.jpg", 36, "[1/9] abcdefghijklm...rstuvwxyz.jpg"},
      {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE5\x90\x8D.jpg", 20,   // wide: two columns each
       "[1/9] \xE6\x97\xA5\xE6\x9C\xAC...\xE5\x90\x8D.jpg"},
      {"esc\x1B\x1B\x1B" "end.jpg", 20, R"([1/9] esc...end.jpg)"},           // an escape is never cut
      {"abc.jpg", 9, "[1/9] "},
      {"abc.jpg", 5, "[1/9"},
  };
  for (const auto& c : cases) EXPECT_EQ(StatusLineText(1, 9, c.path, c.columns), c.shown) << c.columns;
}

}  // namespace
}  // namespace jpg2dds
