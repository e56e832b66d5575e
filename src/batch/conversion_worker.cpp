#include "batch/conversion_worker.h"

#include <algorithm>
#include <new>
#include <vector>

#include "naming/file_timestamp.h"
#include "naming/filename_mask.h"
#include "pipeline/convert_file.h"
#include "platform/console.h"
#include "platform/parallel_for.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/threads.h"

namespace jpg2dds {
namespace {

// What the worker needs of the run besides the job.
struct RunContext {
  const ConversionSettings& settings;
  const WatermarkFont* font;
  ConversionProgress& progress;
  bool debug;         // the per-file lines
  bool statusLine;    // the in-place progress line
  int32_t total;
};

void BeginEntry(ConversionJob& job, const InputEntry& entry) {
  job.currentInputFile = entry.path;
  job.currentSubfolder = entry.relativeSubfolder;
  job.currentOutputFolder = entry.outputFolder;
}

// The start of a file's turn: its number, its progress line, its first line.
void AnnounceEntry(const RunContext& run, int32_t n, const ConversionJob& job) {
  {
    std::lock_guard<std::mutex> lock(run.progress.mutex);
    run.progress.currentFileNumber = n;
    run.progress.currentFilePath = job.currentInputFile;
  }
  if (run.statusLine) {
    ShowStatusLine(StatusLineText(n, run.total, job.currentInputFile));
    run.progress.statusLineShown = true;
  }
  if (run.debug) PrintLine("Processing: " + job.currentInputFile);
}

// The end of a file's turn: its result lines and what a written file
// changes for the files after it.
void ConcludeEntry(const RunContext& run, bool ok, ConversionJob& job) {
  if (run.debug) {
    PrintLine("Saving As: " + job.currentOutputPath);
    PrintLine(ok ? "OK" : "Not OK");
  }
  if (ok) {
    job.randomNumber = RandomInRange(1, 99999);
    ++job.sequenceNumber;
    ApplyFileTimestamp(run.settings, job.currentOutputPath, job.currentInputFile);
  }
}

int32_t ConvertOneAfterAnother(const RunContext& run, ConversionJob& job) {
  int32_t n = 0;
  int32_t converted = 0;
  for (const InputEntry& entry : job.inputList) {
    // A controller may clear running; it takes effect before the next entry.
    if (!run.progress.running) break;
    ++n;
    // Memory that runs out fails the file (ConvertFile gives back what it
    // took); the run goes on with the next one.
    bool ok = false;
    try {
      BeginEntry(job, entry);
      AnnounceEntry(run, n, job);
      ok = ConvertFile(run.settings, job, run.font);
      ConcludeEntry(run, ok, job);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
    if (ok) ++converted;
  }
  return converted;
}

// The fields a file's turn takes from the run and gives back to it: the
// counters, and the paths that keep the previous file's values until a file
// is named.
void TakeRunFields(ConversionJob& mine, const ConversionJob& run) {
  mine.randomNumber = run.randomNumber;
  mine.sequenceNumber = run.sequenceNumber;
  mine.currentOutputPath = run.currentOutputPath;
  mine.temporaryOutputPath = run.temporaryOutputPath;
  mine.outputWidth = run.outputWidth;
  mine.outputHeight = run.outputHeight;
}

// Files are prepared on several threads and written in turn, in input
// order: everything that names, writes, prints or counts happens in a
// file's turn, so the run is the one-after-another run but faster. A text
// watermark that shows the counters needs them before it is drawn; its
// files are prepared in their turn too.
int32_t ConvertSideBySide(const RunContext& run, ConversionJob& job, int threads) {
  const InputList entries = std::move(job.inputList);
  job.inputList.clear();
  // Each file starts from the run's fields as they stand now; those that
  // change from file to file are taken from `job` in the file's turn.
  const ConversionJob start = job;
  const int count = static_cast<int>(entries.size());
  const bool prepareInTurn = run.settings.doWatermark != 0 && WatermarkTextUsesRunCounters(run.settings);
  TaskHelpers helpers;
  int next = 0, turn = 0, converted = 0;  // guarded by helpers.mutex
  auto work = [&] {
    UseTaskHelpers(&helpers);
    for (;;) {
      int i;
      {
        std::lock_guard<std::mutex> lock(helpers.mutex);
        if (next >= count || !run.progress.running) break;
        i = next++;
      }
      // Memory that runs out fails this file and no other: the turn passes
      // on whatever happens.
      ConversionJob mine;
      PreparedFile prepared;
      bool begun = false;
      try {
        mine = start;
        BeginEntry(mine, entries[i]);
        begun = true;
        if (!prepareInTurn) PrepareFile(run.settings, mine, run.font, prepared);
      } catch (const std::bad_alloc&) {
        // Nothing prepared: the file fails in its turn.
      }
      WaitHelping(helpers, [&] { return turn == i; });
      // This file's turn: no other thread touches the run's job until the
      // turn passes on, which publishes what was done here.
      bool ok = false;
      try {
        if (!begun) {
          mine = start;
          BeginEntry(mine, entries[i]);
        }
        TakeRunFields(mine, job);
        AnnounceEntry(run, i + 1, mine);
        if (prepareInTurn) PrepareFile(run.settings, mine, run.font, prepared);
        ok = WritePreparedFile(prepared, run.settings, mine);
        ConcludeEntry(run, ok, mine);
        TakeRunFields(job, mine);
      } catch (const std::bad_alloc&) {
        ok = false;
      }
      {
        std::lock_guard<std::mutex> lock(helpers.mutex);
        if (ok) ++converted;
        ++turn;
      }
      helpers.changed.notify_all();
    }
    UseTaskHelpers(nullptr);
  };
  // Threads the system refuses are done without: the files wait for one of
  // those that run, the calling thread at least.
  StartedThreads others;
  StartThreads(others, std::min(threads, count) - 1, work);
  work();
  JoinThreads(others);
  job.inputList = entries;
  return converted;
}

}  // namespace

std::string StatusLineText(int32_t number, int32_t total, const std::string& path) {
  const std::string all = std::to_string(total);
  std::string current = std::to_string(number);
  if (current.size() < all.size()) current.insert(0, all.size() - current.size(), ' ');
  return "[" + current + "/" + all + "] " + FileNamePart(path);
}

int32_t ConversionWorker(const RunOptions& runOptions, const ConversionSettings& settings, ConversionJob& job,
                         const WatermarkFont* font, ConversionProgress& progress) {
  const int32_t total = static_cast<int32_t>(job.inputList.size());
  const bool debug = runOptions.consoleRun && runOptions.debug;
  // The progress line is for a person watching a terminal, and only when the
  // status lines and the per-file lines are not printed instead.
  const bool statusLine = runOptions.consoleRun && !runOptions.quiet && !runOptions.debug && total > 1 &&
                          StandardOutputIsTerminal();
  RunContext run{settings, font, progress, debug, statusLine, total};
  const int32_t converted = job.threads > 1 && total > 1 ? ConvertSideBySide(run, job, job.threads)
                                                          : ConvertOneAfterAnother(run, job);
  std::lock_guard<std::mutex> lock(progress.mutex);
  progress.convertedCount = converted;
  return converted;
}

}  // namespace jpg2dds
