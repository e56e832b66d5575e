#include "pipeline/output/devil_helpers.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "encoder/dds_format.h"
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

HelperDds MakeDdsInHelper(DevilHelpers& helpers, FIBITMAP*& picture, const SharedBlock& pixelsIn) {
  HelperDds made;
  if (!picture) return made;
  const unsigned width = FreeImage_GetWidth(picture);
  const unsigned height = FreeImage_GetHeight(picture);
  const uint64_t size = uint64_t{width} * height * 4;
  if (size == 0 || !FitsPictureLimit(width, height) || !FreeImage_HasPixels(picture)) return made;
  HelperProcess helper;
  if (!TakeHelper(helpers, helper)) return made;
  // Pixels decoded into shared memory go as they are; others are copied
  // into a block of their own, which goes as soon as the helper has the
  // file: the helper maps the same memory.
  const bool shared = pixelsIn.data && pixelsIn.data == FreeImage_GetBits(picture) &&
                      FreeImage_GetBPP(picture) == 32 && FreeImage_GetPitch(picture) == width * 4;
  SharedBlock copied;
  const int ddsFile = NewSharedMemoryFile();
  if (ddsFile < 0 || (!shared && !MapSharedBlock(NewSharedMemoryFile(), static_cast<size_t>(size), true, copied))) {
    CloseFile(ddsFile);
    ReturnHelper(helpers, helper);
    return made;
  }
  if (!shared) CopyDevilPixels(picture, copied.data);
  FreeImage_Unload(picture);
  picture = nullptr;
  const Request request{width, height, Piece::kWholeFile};
  const int files[2] = {shared ? pixelsIn.file : copied.file, ddsFile};
  const bool sent = SendMessage(helper.socket, &request, sizeof request, files, 2);
  ReleaseSharedBlock(copied);
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

namespace {

// The pieces of one picture: the helpers taken for them, whether each has
// gone back (returned or replaced), and the shared files of each (-1 once
// closed or owned by a block).
struct PieceHelpers {
  std::vector<HelperProcess> taken;
  std::vector<char> back;
  std::vector<int> rowFiles;
  std::vector<int> ddsFiles;
};

void GiveBack(DevilHelpers& helpers, PieceHelpers& pieces, size_t i, bool ended) {
  if (ended) {
    ReplaceHelper(helpers, pieces.taken[i]);
  } else {
    ReturnHelper(helpers, pieces.taken[i]);
  }
  pieces.back[i] = 1;
  CloseFile(pieces.rowFiles[i]);
  CloseFile(pieces.ddsFiles[i]);
  pieces.rowFiles[i] = pieces.ddsFiles[i] = -1;
}

// Made, once helpers are taken and the shared files had.
void MakePieces(DevilHelpers& helpers, PieceHelpers& pieces, const std::vector<uint32_t>& bands,
                FIBITMAP*& picture, HelperDds& made) {
  const uint32_t width = FreeImage_GetWidth(picture);
  const uint32_t height = FreeImage_GetHeight(picture);
  const size_t pitch = size_t{width} * 4;
  const size_t count = pieces.taken.size();
  made.state = HelperState::kMade;
  made.width = static_cast<int>(width);
  made.height = static_cast<int>(height);
  // The memory the decoding freed goes back first: the helpers' rows take
  // its place, and they start before DevIL's copy of the picture is made.
  ReturnFreedMemory();
  const uint8_t* decoded = FreeImage_GetBits(picture);
  std::vector<char> tried(count, 0), sent(count, 0);
  uint32_t above = 0;
  for (size_t i = 0; i < count; ++i) {
    above += bands[i];
    SharedBlock rows;
    const bool mapped = MapSharedBlock(pieces.rowFiles[i], pitch * bands[i], false, rows);
    pieces.rowFiles[i] = -1;  // the block's now
    if (mapped) {
      std::memcpy(rows.data, decoded + pitch * (height - above), pitch * bands[i]);
      const Request request{width, bands[i], Piece::kLevelZeroRows};
      const int files[2] = {rows.file, pieces.ddsFiles[i]};
      tried[i] = 1;
      sent[i] = SendMessage(pieces.taken[i].socket, &request, sizeof request, files, 2);
    }
    // The parent's map goes as soon as the rows are sent.
    ReleaseSharedBlock(rows);
  }
  // The rest comes from DevIL's copy of the picture: the decoded one goes
  // at once, and the memory it leaves serves the pieces made here.
  DevilPicture whole;
  const bool inDevil = TakeIntoDevil(decoded, width, height, whole);
  FreeImage_Unload(picture);
  picture = nullptr;
  ReturnFreedMemory();
  std::string below, lower;
  DevilDdsOutcome outcome;
  // DevIL's copy is released here on every way out: AppendLowerLevels
  // releases it when it is done with it.
  try {
    if (inDevil) {
      outcome = AppendLevelZeroRows(whole.pixels, width, height - above, below);
      outcome = JoinOutcomes(outcome, AppendLowerLevels(whole, lower));
    }
  } catch (const std::bad_alloc&) {
    ReleaseDevilPicture(whole);
    throw;
  }

  made.joined.reserve(kDdsHeaderBytes + uint64_t{width} * height);  // more than DXT1 of all levels
  made.joined = WholeDxt1Header(width, height);
  for (size_t i = 0; i < count; ++i) {
    Answer answer{};
    if (!sent[i] || !ReceiveMessage(pieces.taken[i].socket, &answer, sizeof answer)) {
      // Rows that could not be mapped are rows without memory; a helper
      // that took no message or never answered ended.
      if (tried[i]) {
        made.state = HelperState::kDied;
      } else {
        outcome.saved = false;
        outcome.outOfMemory = true;
      }
      GiveBack(helpers, pieces, i, tried[i] != 0);
      continue;
    }
    outcome = JoinOutcomes(outcome, answer.outcome);
    SharedBlock data;
    // Data that cannot be mapped is lost as if the save had run out of memory.
    if (MapSharedBlock(pieces.ddsFiles[i], static_cast<size_t>(answer.size), false, data)) {
      made.joined.append(reinterpret_cast<const char*>(data.data), data.size);
    } else {
      outcome.saved = false;
      outcome.outOfMemory = true;
    }
    pieces.ddsFiles[i] = -1;  // the block's
    ReleaseSharedBlock(data);
    GiveBack(helpers, pieces, i, false);
  }
  made.joined += below;
  made.joined += lower;
  made.outcome = outcome;
}

}  // namespace

HelperDds MakeDdsInPieces(DevilHelpers& helpers, FIBITMAP*& picture, int most) {
  HelperDds made;
  if (!picture) return made;
  std::lock_guard<std::mutex> devil(DevilInThisProcess());
  const uint32_t width = FreeImage_GetWidth(picture);
  const uint32_t height = FreeImage_GetHeight(picture);
  const size_t pitch = size_t{width} * 4;
  if (!WorthCutting(width, height) || !FitsPictureLimit(width, height) || !FreeImage_HasPixels(picture) ||
      FreeImage_GetBPP(picture) != 32 || FreeImage_GetPitch(picture) != pitch || !DevilWritesDxt1()) {
    return made;
  }
  // The helpers idle now, and no waiting for others: the picture's own
  // rows are made here either way.
  PieceHelpers pieces;
  {
    std::lock_guard<std::mutex> lock(helpers.mutex);
    const int idle = static_cast<int>(helpers.idle.size());
    const size_t count = HelperBands(height, std::min(idle, most)).size();
    pieces.taken.assign(helpers.idle.begin(), helpers.idle.begin() + static_cast<long>(count));
    pieces.back.assign(count, 0);
    pieces.rowFiles.assign(count, -1);
    pieces.ddsFiles.assign(count, -1);
    helpers.idle.erase(helpers.idle.begin(), helpers.idle.begin() + static_cast<long>(count));
  }
  const size_t count = pieces.taken.size();
  if (count == 0) return made;
  try {
    const std::vector<uint32_t> bands = HelperBands(height, static_cast<int>(count));
    // Each helper's rows go in a shared memory file of their own, and its
    // data comes back in another. Files that cannot be had or made that
    // long (`ulimit -f` holds for them too) leave the picture to be made
    // whole.
    bool files = true;
    for (size_t i = 0; i < count; ++i) {
      pieces.rowFiles[i] = NewSharedMemoryFile();
      pieces.ddsFiles[i] = NewSharedMemoryFile();
      files = files && pieces.ddsFiles[i] >= 0 && GrowSharedMemoryFile(pieces.rowFiles[i], pitch * bands[i]);
    }
    if (files) MakePieces(helpers, pieces, bands, picture, made);
  } catch (const std::bad_alloc&) {
    // Memory that ran out here fails the picture as a save that ran out
    // of memory; a helper that may be busy with its rows is replaced.
    made = HelperDds{};
    made.state = HelperState::kMade;
    made.outcome.texture = made.outcome.mipmaps = true;
    made.outcome.outOfMemory = true;
    made.width = static_cast<int>(width);
    made.height = static_cast<int>(height);
    if (picture) FreeImage_Unload(picture);
    picture = nullptr;
    for (size_t i = 0; i < count; ++i) {
      if (!pieces.back[i]) GiveBack(helpers, pieces, i, true);
    }
  }
  for (size_t i = 0; i < count; ++i) {
    if (!pieces.back[i]) GiveBack(helpers, pieces, i, false);
  }
  return made;
}

void ReleaseHelperDds(HelperDds& made) {
  ReleaseSharedBlock(made.bytes);
  made = HelperDds{};
}

}  // namespace jpg2dds
