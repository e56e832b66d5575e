// DevIL's part of files (texture, mipmaps, DDS data) in helper processes,
// several files at once: DevIL keeps one current image per process. The
// parent keeps everything else (names, the write, lines, counters), so the
// files and lines are those of a run that writes in-process.
#pragma once
#include <FreeImage.h>

#include <climits>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "batch/file_result.h"
#include "pipeline/output/devil_dds_writer.h"
#include "platform/helper_process.h"

namespace jpg2dds {

struct DevilHelpers {
  std::mutex mutex;
  std::condition_variable changed;   // notified when a helper comes back or is given up
  // Guarded; taken from the front and returned to the back, so that each
  // helper gets its turn. Its room is reserved at the start: taking and
  // returning never allocate.
  std::vector<HelperProcess> idle;
  int live = 0;                      // guarded: started and not yet stopped, idle or busy
};

// Starts up to `count` helpers; as many as the system gives (maybe none).
// The calling thread must outlive their use: a helper dies with the thread
// that started it.
void StartDevilHelpers(DevilHelpers& helpers, int count);

// Stops every helper and waits for each; all must be idle.
void StopDevilHelpers(DevilHelpers& helpers);

// What a helper made of one picture.
enum class HelperState {
  kNotMade,  // no helper could take it: the picture is still there, for WriteDdsFile
  kMade,     // `outcome` and the DDS data in `bytes`; the picture is released
  kDied,     // the helper ended before it answered; the picture is released
};

struct HelperDds {
  HelperState state = HelperState::kNotMade;
  DevilDdsOutcome outcome;
  int width = 0;
  int height = 0;
  SharedBlock bytes;
  std::string joined;  // the DDS data instead, when made in pieces
};

// Hands the 32-bit picture to an idle helper (waiting for one while all are
// busy) and waits for its answer. A helper that ended is reaped and
// replaced. Pictures WriteDdsFile refuses before DevIL sees them, and any
// that cannot be handed over, stay for WriteDdsFile, which fails them or
// writes them as ever. A picture whose pixels are `pixels` (decoded into
// shared memory) is sent without a copy; the block stays the caller's.
HelperDds MakeDdsInHelper(DevilHelpers& helpers, FIBITMAP*& picture, const SharedBlock& pixels = SharedBlock{});

// One picture's DXT1 file made in pieces side by side (DevilPieces): the
// top bands of level 0 in the idle helpers, the rows below them and levels
// 1 and down here, joined into `joined`. Pictures too small to be worth it,
// when DevIL would not write DXT1, or when no helper is idle, stay as they
// are (kNotMade). At most `most` helpers take a band. A helper that ended
// is reaped and replaced.
HelperDds MakeDdsInPieces(DevilHelpers& helpers, FIBITMAP*& picture, int most = INT_MAX);

// Gives back the DDS data.
void ReleaseHelperDds(HelperDds& made);

}  // namespace jpg2dds
