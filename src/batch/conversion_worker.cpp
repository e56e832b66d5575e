#include "batch/conversion_worker.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

#include "batch/up_to_date.h"
#include "encoder/dds_format.h"
#include "naming/file_timestamp.h"
#include "naming/filename_mask.h"
#include "pipeline/convert_file.h"
#include "platform/console.h"
#include "platform/parallel_for.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/text_case.h"
#include "platform/threads.h"

namespace jpg2dds {
namespace {

// What the worker needs of the run besides the job.
struct RunContext {
  const ConversionSettings& settings;
  const WatermarkFont* font;
  ConversionProgress& progress;
  RunReport& report;
  const std::string& skippedLine;
  bool debug;         // the per-file lines
  bool statusLine;    // the in-place progress line
  bool skipUpToDate;
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
    ShowStatusLine(StatusLineText(n, run.total, job.currentInputFile, TerminalColumns()));
    run.progress.statusLineShown = true;
  }
  if (run.debug) PrintLine("Processing: " + job.currentInputFile);
}

// The output of the job's current input when it is to be skipped; empty
// when it is to be converted.
std::string SkipTarget(const RunContext& run, ConversionJob& job) {
  return run.skipUpToDate ? UpToDateOutput(run.settings, job) : std::string();
}

// The end of a file's turn: its result lines, and what a written file
// changes for the files after it.
void ConcludeEntry(const RunContext& run, const FileResult& result, ConversionJob& job) {
  const bool ok = result.status == FileStatus::kConverted;
  if (run.debug) {
    PrintLine("Saving As: " + job.currentOutputPath);
    PrintLine(ok ? "OK" : result.status == FileStatus::kSkipped ? run.skippedLine : "Not OK");
  }
  if (ok) {
    job.randomNumber = RandomInRange(1, 99999);
    ++job.sequenceNumber;
    ApplyFileTimestamp(run.settings, job.currentOutputPath, job.currentInputFile);
  }
}

// A single file with more than one thread: DevIL's part of a large picture
// is cut into pieces made side by side by helpers (one per further thread)
// and this process.
int32_t ConvertOneAfterAnother(const RunContext& run, ConversionJob& job) {
  DevilHelpers devil;
  if (job.threads > 1 && job.inputList.size() == 1 && !FindDdsFormat(run.settings.ddsCompression)) {
    StartDevilHelpers(devil, job.threads - 1);
  }
  DevilHelpers* pieces = devil.live > 0 ? &devil : nullptr;
  int32_t n = 0;
  int32_t converted = 0;
  for (const InputEntry& entry : job.inputList) {
    // A controller may clear running; it takes effect before the next entry.
    if (!run.progress.running) break;
    ++n;
    // Memory that runs out fails the file (ConvertFile gives back what it
    // took); the run goes on with the next one.
    FileResult result;
    try {
      BeginEntry(job, entry);
      AnnounceEntry(run, n, job);
      const std::string skipTo = SkipTarget(run, job);
      result = skipTo.empty() ? ConvertFile(run.settings, job, run.font, nullptr, pieces) : SkipInput(job, skipTo);
      ConcludeEntry(run, result, job);
    } catch (const std::bad_alloc&) {
      NoteFailure(result, FailureReason::kOutOfMemory);
    }
    ReportInput(run.report, entry.path, result);
    if (result.status == FileStatus::kConverted) ++converted;
  }
  StopDevilHelpers(devil);
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

// A file between its preparation and its turn.
struct FileInFlight {
  ConversionJob mine;
  PreparedFile prepared;
  std::string skipTo;
  bool begun = false;
  bool ready = false;  // prepared: waits for its turn
};

// The file's turn: everything that names, writes, prints or counts. True
// when the file was converted.
bool TakeTurn(const RunContext& run, ConversionJob& job, const ConversionJob& start, const InputEntry& entry,
              int i, bool prepareInTurn, FileInFlight& file) {
  FileResult result;
  try {
    if (!file.begun) {
      file.mine = start;
      BeginEntry(file.mine, entry);
    }
    ConversionJob& mine = file.mine;
    TakeRunFields(mine, job);
    AnnounceEntry(run, i + 1, mine);
    if (prepareInTurn && file.skipTo.empty()) PrepareFile(run.settings, mine, run.font, file.prepared);
    result = file.skipTo.empty() ? WritePreparedFile(file.prepared, run.settings, mine) : SkipInput(mine, file.skipTo);
    ConcludeEntry(run, result, mine);
    TakeRunFields(job, mine);
  } catch (const std::bad_alloc&) {
    NoteFailure(result, FailureReason::kOutOfMemory);
  }
  ReportInput(run.report, entry.path, result);
  return result.status == FileStatus::kConverted;
}

// Files are prepared on several threads and written in turn, in input
// order: everything that names, writes, prints or counts happens in a
// file's turn, so the run is the one-after-another run but faster. DevIL's
// part of a file runs in a helper process before the turn, as many at once
// as there are threads. A text watermark that shows the counters needs them
// before it is drawn; its files are prepared in their turn too, with DevIL
// here. A prepared file waits for its turn without its thread: whichever
// thread finds the turn's file ready takes the turn, and the others go on
// preparing later files.
int32_t ConvertSideBySide(const RunContext& run, ConversionJob& job, int threads) {
  const InputList entries = std::move(job.inputList);
  job.inputList.clear();
  // Each file starts from the run's fields as they stand now; those that
  // change from file to file are taken from `job` in the file's turn.
  const ConversionJob start = job;
  const int count = static_cast<int>(entries.size());
  const bool prepareInTurn = run.settings.doWatermark != 0 && WatermarkTextUsesRunCounters(run.settings);
  DevilHelpers devil;
  if (!prepareInTurn && !FindDdsFormat(run.settings.ddsCompression)) {
    StartDevilHelpers(devil, std::min(threads, count));
  }
  const bool apart = devil.live > 0;  // no other thread runs yet
  // How many files may be taken from the one whose turn it is on: each holds
  // its picture until its turn, but with helpers only the DDS data, a few
  // percent of a picture.
  const int ahead = apart ? 2 * threads : threads;
  std::vector<FileInFlight> waiting(static_cast<size_t>(ahead));  // file i in waiting[i % ahead]
  TaskHelpers helpers;
  int next = 0, turn = 0, converted = 0;  // guarded by helpers.mutex
  bool turnTaken = false;                 // guarded: a thread is in a file's turn
  auto turnReady = [&] { return !turnTaken && turn < next && waiting[turn % ahead].ready; };
  // Takes the turns that are ready, one file after another; called and
  // returns with the lock held. While a turn is taken no other thread
  // touches the run's job; the lock publishes what was done in it.
  auto takeTurns = [&](std::unique_lock<std::mutex>& lock) {
    while (turnReady()) {
      turnTaken = true;
      const int i = turn;
      FileInFlight file = std::move(waiting[i % ahead]);
      waiting[i % ahead] = FileInFlight{};
      lock.unlock();
      const bool ok = TakeTurn(run, job, start, entries[i], i, prepareInTurn, file);
      lock.lock();
      if (ok) ++converted;
      ++turn;
      turnTaken = false;
      helpers.changed.notify_all();
    }
  };
  auto work = [&] {
    UseTaskHelpers(&helpers);
    // Memory this thread decodes into for the helpers: kept from file to
    // file, so that its pages are not faulted in and cleared for each.
    SharedBlock pixels;
    for (;;) {
      int i = -1;
      {
        std::unique_lock<std::mutex> lock(helpers.mutex);
        takeTurns(lock);
        if (next >= count || !run.progress.running) break;
        if (next < turn + ahead) i = next++;
      }
      if (i < 0) {
        WaitHelping(helpers, [&] {
          return next < turn + ahead || turnReady() || next >= count || !run.progress.running;
        });
        continue;
      }
      // Memory that runs out fails this file and no other: the turn passes
      // on whatever happens.
      FileInFlight file;
      try {
        file.mine = start;
        BeginEntry(file.mine, entries[i]);
        file.begun = true;
        // The up-to-date test names no counter, so it need not wait for the turn.
        file.skipTo = SkipTarget(run, file.mine);
        if (!prepareInTurn && file.skipTo.empty()) {
          // The last file to prepare has no other to share the cores with:
          // a large one is cut into pieces as a single file is, made by
          // helpers and this thread side by side, from its 32-bit picture.
          const bool last = i == count - 1;
          PrepareFile(run.settings, file.mine, run.font, file.prepared, nullptr, apart && !last ? &pixels : nullptr);
          if (last) MakeDdsApart(file.prepared, devil, true, threads - 1);
          if (file.prepared.made.state == HelperState::kNotMade) MakeDdsApart(file.prepared, devil);
          // Once the helper has answered, the memory is free for the next file.
          if (!file.prepared.picture && file.prepared.pixels.data) std::swap(pixels, file.prepared.pixels);
        }
      } catch (const std::bad_alloc&) {
        // Nothing prepared: the file fails in its turn.
        file.prepared.result.reason = FailureReason::kOutOfMemory;
      }
      file.ready = true;
      {
        std::lock_guard<std::mutex> lock(helpers.mutex);
        waiting[i % ahead] = std::move(file);
      }
      helpers.changed.notify_all();
    }
    // The files taken are written before any thread ends; and a helper dies
    // with the thread that started it (a replacement may have been started
    // here): no thread ends while another may still need one.
    for (;;) {
      {
        std::unique_lock<std::mutex> lock(helpers.mutex);
        takeTurns(lock);
        if (turn == next) break;
      }
      WaitHelping(helpers, [&] { return turn == next || turnReady(); });
    }
    ReleaseSharedBlock(pixels);
    UseTaskHelpers(nullptr);
  };
  // Threads the system refuses are done without: the files wait for one of
  // those that run, the calling thread at least.
  StartedThreads others;
  StartThreads(others, std::min(threads, count) - 1, work);
  work();
  JoinThreads(others);
  StopDevilHelpers(devil);
  job.inputList = entries;
  return converted;
}

// A character of a name as the progress line shows it, and its columns.
struct ShownCharacter {
  std::string text;
  int columns;
};

std::vector<ShownCharacter> ShownCharacters(const std::string& name) {
  std::vector<ShownCharacter> shown;
  for (size_t at = 0, length; (length = CharacterLength(name, at)) > 0; at += length) {
    const int columns = CharacterColumns(name, at, length);
    if (columns >= 0) {
      shown.push_back({name.substr(at, length), columns});
      continue;
    }
    std::string escaped;
    for (size_t i = at; i < at + length; ++i) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned>(static_cast<unsigned char>(name[i])));
      escaped += octal;
    }
    shown.push_back({escaped, static_cast<int>(escaped.size())});
  }
  return shown;
}

// The characters within `columns`: all of them, or as many from the start
// and the end as fit around "...", which stands for the rest.
std::string Fitted(const std::vector<ShownCharacter>& shown, int columns) {
  int64_t width = 0;
  for (const ShownCharacter& c : shown) width += c.columns;
  std::string text;
  if (width <= columns) {
    for (const ShownCharacter& c : shown) text += c.text;
    return text;
  }
  const int room = columns - 3;
  if (room < 0) return text;
  size_t head = 0, tail = shown.size();
  int used = 0;
  while (head < tail && used + shown[head].columns <= room / 2) used += shown[head++].columns;
  while (tail > head && used + shown[tail - 1].columns <= room) used += shown[--tail].columns;
  for (size_t i = 0; i < head; ++i) text += shown[i].text;
  text += "...";
  for (size_t i = tail; i < shown.size(); ++i) text += shown[i].text;
  return text;
}

}  // namespace

std::string StatusLineText(int32_t number, int32_t total, const std::string& path, int columns) {
  const std::string all = std::to_string(total);
  std::string current = std::to_string(number);
  if (current.size() < all.size()) current.insert(0, all.size() - current.size(), ' ');
  const std::string counter = "[" + current + "/" + all + "] ";
  const std::vector<ShownCharacter> name = ShownCharacters(FileNamePart(path));
  if (columns <= 0) return counter + Fitted(name, INT_MAX);
  // A line that fills the last column makes some terminals wrap it, and the
  // rewrite in place would then go to the wrong line.
  const int room = columns - 1 - static_cast<int>(counter.size());
  if (room < 0) return counter.substr(0, static_cast<size_t>(columns - 1));
  return counter + Fitted(name, room);
}

int32_t ConversionWorker(const RunOptions& runOptions, const ConversionSettings& settings, ConversionJob& job,
                         const WatermarkFont* font, ConversionProgress& progress, RunReport& report,
                         const std::string& skippedLine) {
  const int32_t total = static_cast<int32_t>(job.inputList.size());
  const bool debug = runOptions.consoleRun && runOptions.debug;
  // The progress line is for a person watching a terminal, and only when the
  // status lines and the per-file lines are not printed instead.
  const bool statusLine = runOptions.consoleRun && !runOptions.quiet && !runOptions.debug && total > 1 &&
                          StandardOutputIsTerminal();
  RunContext run{settings, font, progress, report, skippedLine, debug, statusLine, settings.skipUpToDate != 0, total};
  const int32_t converted = job.threads > 1 && total > 1 ? ConvertSideBySide(run, job, job.threads)
                                                          : ConvertOneAfterAnother(run, job);
  std::lock_guard<std::mutex> lock(progress.mutex);
  progress.convertedCount = converted;
  return converted;
}

}  // namespace jpg2dds
