#include "pipeline/output/devil_helpers.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "pipeline/load/picture_limits.h"
#include "pipeline/output/devil_pieces.h"
#include "platform/new_file.h"

namespace jpg2dds {
namespace {

// What a helper makes of the pixels it is sent.
enum class Piece : uint32_t {
  kWholeFile,     // DevIL's whole DDS file
  kLevelZeroRows, // the level-0 data of rows of a larger picture
};

// One picture (or rows of one) to make: its pixels and an empty file for
// the DDS data come with it.
struct Request {
  uint32_t width;
  uint32_t height;
  Piece piece;
};

struct Answer {
  DevilDdsOutcome outcome;
  uint64_t size;  // of the DDS data
};

// A helper's life: one picture after another until the parent's end closes.
void ServePictures(int socket) {
  KeepFreedMemory();
  for (;;) {
    Request request{};
    int files[2];
    int count = 0;
    if (!ReceiveMessage(socket, &request, sizeof request, files, 2, &count)) return;
    Answer answer{};
    if (count == 2) {
      SharedBlock pixels;
      const size_t size = size_t{request.width} * request.height * 4;
      const bool mapped = MapSharedBlock(files[0], size, false, pixels);  // the block owns files[0] now
      std::FILE* out = OpenStreamOnFile(files[1]);
      if (mapped && out && request.piece == Piece::kLevelZeroRows) {
        std::string data;
        answer.outcome = AppendLevelZeroRows(pixels.data, request.width, request.height, data);
        ReleaseSharedBlock(pixels);
        if (std::fwrite(data.data(), 1, data.size(), out) != data.size()) answer.outcome.saved = false;
      } else if (mapped && out) {
        answer.outcome = MakeDevilDds(pixels.data, request.width, request.height, out,
                                      [&] { ReleaseSharedBlock(pixels); });
      }
      if (mapped && out) {
        // Memory for the data that runs out is a save that ran out of memory.
        if (std::fflush(out) != 0 && answer.outcome.saved) {
          answer.outcome.saved = false;
          answer.outcome.outOfMemory = true;
        }
        const int64_t written = WrittenSize(out);
        answer.size = written > 0 ? static_cast<uint64_t>(written) : 0;
      }
      if (out) std::fclose(out);
      ReleaseSharedBlock(pixels);
      CloseFile(files[1]);
    } else {
      for (int i = 0; i < count; ++i) CloseFile(files[i]);
    }
    if (!SendMessage(socket, &answer, sizeof answer)) return;
  }
}

bool TakeHelper(DevilHelpers& helpers, HelperProcess& helper) {
  std::unique_lock<std::mutex> lock(helpers.mutex);
  helpers.changed.wait(lock, [&] { return !helpers.idle.empty() || helpers.live == 0; });
  if (helpers.idle.empty()) return false;
  helper = helpers.idle.front();
  helpers.idle.erase(helpers.idle.begin());
  return true;
}

void ReturnHelper(DevilHelpers& helpers, const HelperProcess& helper) {
  {
    std::lock_guard<std::mutex> lock(helpers.mutex);
    helpers.idle.push_back(helper);
  }
  helpers.changed.notify_all();
}

// A helper that ended (or stopped making sense): reaped, and a new one in
// its place when the system gives one.
void ReplaceHelper(DevilHelpers& helpers, HelperProcess& helper) {
  EndHelperProcess(helper);
  HelperProcess fresh;
  const bool started = StartHelperProcess(fresh, ServePictures);
  {
    std::lock_guard<std::mutex> lock(helpers.mutex);
    if (started) {
      helpers.idle.push_back(fresh);
    } else {
      --helpers.live;
    }
  }
  helpers.changed.notify_all();
}

}  // namespace

void StartDevilHelpers(DevilHelpers& helpers, int count) {
  helpers.idle.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) {
    HelperProcess helper;
    if (!StartHelperProcess(helper, ServePictures)) break;
    std::lock_guard<std::mutex> lock(helpers.mutex);
    helpers.idle.push_back(helper);
    ++helpers.live;
  }
}

void StopDevilHelpers(DevilHelpers& helpers) {
  std::lock_guard<std::mutex> lock(helpers.mutex);
  for (HelperProcess& helper : helpers.idle) StopHelperProcess(helper);
  helpers.idle.clear();
  helpers.live = 0;
}

HelperDds MakeDdsInHelper(DevilHelpers& helpers, FIBITMAP*& picture) {
  HelperDds made;
  if (!picture) return made;
  const unsigned width = FreeImage_GetWidth(picture);
  const unsigned height = FreeImage_GetHeight(picture);
  const uint64_t size = uint64_t{width} * height * 4;
  if (size == 0 || !FitsPictureLimit(width, height) || !FreeImage_HasPixels(picture)) return made;
  HelperProcess helper;
  if (!TakeHelper(helpers, helper)) return made;
  // The parent's copy of the pixels goes as soon as the helper has the
  // file: the helper maps the same memory.
  SharedBlock pixels;
  const int ddsFile = NewSharedMemoryFile();
  if (ddsFile < 0 || !MapSharedBlock(NewSharedMemoryFile(), static_cast<size_t>(size), true, pixels)) {
    CloseFile(ddsFile);
    ReturnHelper(helpers, helper);
    return made;
  }
  CopyDevilPixels(picture, pixels.data);
  FreeImage_Unload(picture);
  picture = nullptr;
  const Request request{width, height, Piece::kWholeFile};
  const int files[2] = {pixels.file, ddsFile};
  const bool sent = SendMessage(helper.socket, &request, sizeof request, files, 2);
  ReleaseSharedBlock(pixels);
  Answer answer{};
  if (!sent || !ReceiveMessage(helper.socket, &answer, sizeof answer)) {
    CloseFile(ddsFile);
    ReplaceHelper(helpers, helper);
    made.state = HelperState::kDied;
    return made;
  }
  ReturnHelper(helpers, helper);
  made.state = HelperState::kMade;
  made.outcome = answer.outcome;
  made.width = static_cast<int>(width);
  made.height = static_cast<int>(height);
  // Data that cannot be mapped is lost as if the save had run out of memory.
  if (!MapSharedBlock(ddsFile, static_cast<size_t>(answer.size), false, made.bytes) && made.outcome.saved) {
    made.outcome.saved = false;
    made.outcome.outOfMemory = true;
  }
  return made;
}

HelperDds MakeDdsInPieces(DevilHelpers& helpers, FIBITMAP*& picture) {
  HelperDds made;
  if (!picture) return made;
  const uint32_t width = FreeImage_GetWidth(picture);
  const uint32_t height = FreeImage_GetHeight(picture);
  const size_t pitch = size_t{width} * 4;
  if (!WorthCutting(width, height) || !FitsPictureLimit(width, height) || !FreeImage_HasPixels(picture) ||
      FreeImage_GetBPP(picture) != 32 || FreeImage_GetPitch(picture) != pitch || !DevilWritesDxt1()) {
    return made;
  }
  // The helpers idle now, and no waiting for others: the picture's own
  // rows are made here either way.
  std::vector<HelperProcess> taken;
  {
    std::lock_guard<std::mutex> lock(helpers.mutex);
    const std::vector<uint32_t> most = HelperBands(height, static_cast<int>(helpers.idle.size()));
    taken.assign(helpers.idle.begin(), helpers.idle.begin() + static_cast<long>(most.size()));
    helpers.idle.erase(helpers.idle.begin(), helpers.idle.begin() + static_cast<long>(most.size()));
  }
  if (taken.empty()) return made;
  const std::vector<uint32_t> bands = HelperBands(height, static_cast<int>(taken.size()));
  // Each helper's rows go in a shared memory file of their own, and its
  // data comes back in another. Files that cannot be had or made that long
  // (`ulimit -f` holds for them too) leave the picture to be made whole.
  std::vector<int> rowFiles(taken.size(), -1), ddsFiles(taken.size(), -1);
  bool files = true;
  for (size_t i = 0; i < taken.size(); ++i) {
    rowFiles[i] = NewSharedMemoryFile();
    ddsFiles[i] = NewSharedMemoryFile();
    files = files && ddsFiles[i] >= 0 && GrowSharedMemoryFile(rowFiles[i], pitch * bands[i]);
  }
  if (!files) {
    for (size_t i = 0; i < taken.size(); ++i) {
      CloseFile(rowFiles[i]);
      CloseFile(ddsFiles[i]);
      ReturnHelper(helpers, taken[i]);
    }
    return made;
  }
  made.state = HelperState::kMade;
  made.width = static_cast<int>(width);
  made.height = static_cast<int>(height);
  // Every piece comes from DevIL's copy of the picture: the decoded one goes
  // at once, and the memory it leaves serves the pieces made here.
  DevilPicture whole;
  const bool inDevil = TakeIntoDevil(FreeImage_GetBits(picture), width, height, whole);
  FreeImage_Unload(picture);
  picture = nullptr;
  ReturnFreedMemory();
  if (!inDevil) {
    for (size_t i = 0; i < taken.size(); ++i) {
      CloseFile(rowFiles[i]);
      CloseFile(ddsFiles[i]);
      ReturnHelper(helpers, taken[i]);
    }
    return made;  // pixels DevIL could not take: the outcome says so
  }
  const uint8_t* pixels = whole.pixels;

  // The parent's map of the rows goes as soon as they are sent.
  std::vector<bool> tried(taken.size(), false), sent(taken.size(), false);
  uint32_t above = 0;
  for (size_t i = 0; i < taken.size(); ++i) {
    above += bands[i];
    SharedBlock rows;
    if (MapSharedBlock(rowFiles[i], pitch * bands[i], false, rows)) {  // the block owns the file now
      std::memcpy(rows.data, pixels + pitch * (height - above), pitch * bands[i]);
      const Request request{width, bands[i], Piece::kLevelZeroRows};
      const int sentFiles[2] = {rows.file, ddsFiles[i]};
      tried[i] = true;
      sent[i] = SendMessage(taken[i].socket, &request, sizeof request, sentFiles, 2);
    }
    ReleaseSharedBlock(rows);
  }

  std::string below, lower;
  DevilDdsOutcome outcome = AppendLevelZeroRows(pixels, width, height - above, below);
  outcome = JoinOutcomes(outcome, AppendLowerLevels(whole, lower));

  made.joined = WholeDxt1Header(width, height);
  for (size_t i = 0; i < taken.size(); ++i) {
    Answer answer{};
    if (!sent[i] || !ReceiveMessage(taken[i].socket, &answer, sizeof answer)) {
      // Rows that could not be sent are rows without memory; a helper
      // that took no message or never answered ended.
      if (tried[i]) {
        ReplaceHelper(helpers, taken[i]);
        made.state = HelperState::kDied;
      } else {
        ReturnHelper(helpers, taken[i]);
        outcome.saved = false;
        outcome.outOfMemory = true;
      }
      CloseFile(ddsFiles[i]);
      continue;
    }
    ReturnHelper(helpers, taken[i]);
    outcome = JoinOutcomes(outcome, answer.outcome);
    SharedBlock data;
    // Data that cannot be mapped is lost as if the save had run out of memory.
    if (MapSharedBlock(ddsFiles[i], static_cast<size_t>(answer.size), false, data)) {
      made.joined.append(reinterpret_cast<const char*>(data.data), data.size);
    } else {
      outcome.saved = false;
      outcome.outOfMemory = true;
    }
    ReleaseSharedBlock(data);
  }
  made.joined += below;
  made.joined += lower;
  made.outcome = outcome;
  return made;
}

void ReleaseHelperDds(HelperDds& made) {
  ReleaseSharedBlock(made.bytes);
  made = HelperDds{};
}

}  // namespace jpg2dds
