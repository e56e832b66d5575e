#include "encoder/dds_encoder.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>

#include "encoder/mipmap_filter.h"
#include "encoder/picture_rows.h"
#include "platform/parallel_for.h"

namespace jpg2dds {
namespace {

// Rows per task: large enough that a task outweighs handing it out, small
// enough that the last ones keep every thread busy.
constexpr int kRowsPerTask = 32;

// A level's rows as 32-bit pixels; level 0 reads the picture itself.
struct LevelRows {
  int width = 0;
  int height = 0;
  FIBITMAP* picture = nullptr;
  const uint8_t* pixels = nullptr;  // width x 4 bytes a row, top row first

  // The row in its own bytes where they serve, else converted into scratch.
  PixelRow Row(int y, uint8_t* scratch) const {
    if (picture) return PictureRow(picture, y, scratch);
    return {pixels + static_cast<size_t>(y) * width * 4, 4};
  }
  // The row as 32-bit pixels.
  void Copy(int y, uint8_t* bgra) const {
    if (picture) {
      ReadBgraRow(picture, y, bgra);
    } else {
      std::memcpy(bgra, pixels + static_cast<size_t>(y) * width * 4, static_cast<size_t>(width) * 4);
    }
  }
};

// Rows [first, first + 4) of the level: the encoded block row `blockRow`.
// Blocks that reach past the picture repeat its last row and column.
void EncodeBlockRow(const LevelRows& level, const DdsFormat& format, BlockCompressor compress, int blockRow,
                    uint8_t* out, std::vector<uint8_t>& scratch) {
  const size_t rowBytes = static_cast<size_t>(level.width) * 4;
  PixelRow rows[4];
  for (int r = 0; r < 4; ++r) {
    rows[r] = level.Row(std::min(blockRow * 4 + r, level.height - 1), &scratch[rowBytes * r]);
  }
  uint8_t block[64];
  for (int bx = 0; bx * 4 < level.width; ++bx, out += format.blockBytes) {
    for (int r = 0; r < 4; ++r) {
      for (int c = 0; c < 4; ++c) {
        const uint8_t* p = rows[r].pixels + static_cast<size_t>(std::min(bx * 4 + c, level.width - 1)) * rows[r].stride;
        uint8_t* q = &block[(r * 4 + c) * 4];
        q[0] = p[2];
        q[1] = p[1];
        q[2] = p[0];
        q[3] = 255;  // the pictures are opaque
      }
    }
    compress(block, out);
  }
}

// Encodes rows [first, last) of the level (block rows for the compressed
// formats, pixel rows for the uncompressed one) into its bytes.
void EncodeRows(const LevelRows& level, const DdsFormat& format, BlockCompressor compress, int first, int last,
                uint8_t* bytes) {
  const size_t rowBytes = static_cast<size_t>(level.width) * 4;
  if (!IsBlockCompressed(format)) {
    for (int y = first; y < last; ++y) {
      uint8_t* row = bytes + rowBytes * y;
      level.Copy(y, row);
      for (size_t x = 3; x < rowBytes; x += 4) row[x] = 255;
    }
    return;
  }
  std::vector<uint8_t> rows(rowBytes * 4);
  const size_t blockRowBytes = DdsLevelBytes(format, level.width, 4);
  for (int blockRow = first; blockRow < last; ++blockRow) {
    EncodeBlockRow(level, format, compress, blockRow, bytes + blockRowBytes * blockRow, rows);
  }
}

// Rows of level 0 that have been made, for tasks that must wait for theirs.
struct RowGate {
  std::mutex mutex;
  std::condition_variable changed;
  int rows = 0;
  bool failed = false;

  void Publish(int done, bool ok) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      rows = done;
      failed = failed || !ok;
    }
    changed.notify_all();
  }
  void WaitFor(int needed) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [&] { return rows >= needed || failed; });
  }
};

// One piece of work: rows [first, last) of a level, encoded, or built from
// the level above; `needs` is how many rows of the level above (or of the
// picture, for level 0's encoding) must exist first.
struct Task {
  int level;
  bool build;
  int first, last;
  int needs;
};

// EncodeDds's work; memory that runs out throws, and `picture` is null once
// released.
bool EncodeLevels(FIBITMAP*& picture, const DdsFormat& format, int32_t quality, int threads, EncodedDds& encoded,
                  const RowProducer& producer) {
  const BlockCompressor compress = QualityCompressor(format, quality);
  const std::vector<LevelSize> chain =
      MipChain(static_cast<int>(FreeImage_GetWidth(picture)), static_cast<int>(FreeImage_GetHeight(picture)));
  const int levels = static_cast<int>(chain.size());
  std::vector<LargeBuffer> pixels(levels);  // the filtered levels; level 0 is the picture
  encoded.levels.clear();
  encoded.levels.resize(levels);
  bool allocated = true;
  for (int i = 0; i < levels; ++i) {
    encoded.levels[i] = LargeBuffer(DdsLevelBytes(format, chain[i].width, chain[i].height));
    if (i > 0) pixels[i] = LargeBuffer(static_cast<size_t>(chain[i].width) * chain[i].height * 4);
    allocated = allocated && encoded.levels[i].data() && (i == 0 || pixels[i].data());
  }
  if (!allocated) return false;
  std::vector<LevelRows> rows(levels);
  for (int i = 0; i < levels; ++i) {
    rows[i] = {chain[i].width, chain[i].height, i == 0 ? picture : nullptr, i == 0 ? nullptr : pixels[i].data()};
  }
  RowGate gate;
  gate.rows = producer ? 0 : chain[0].height;

  auto encodeTasks = [&](int level, std::vector<Task>& tasks) {
    const int total = EncodedRowCount(format, chain[level].height);
    const int perRow = IsBlockCompressed(format) ? 4 : 1;
    for (int first = 0; first < total; first += kRowsPerTask) {
      const int last = std::min(total, first + kRowsPerTask);
      tasks.push_back({level, false, first, last, std::min(chain[level].height, last * perRow)});
    }
  };
  auto buildTasks = [&](int level, std::vector<Task>& tasks) {
    const int64_t above = chain[level - 1].height, height = chain[level].height;
    for (int first = 0; first < height; first += kRowsPerTask) {
      const int last = std::min<int>(static_cast<int>(height), first + kRowsPerTask);
      tasks.push_back({level, true, first, last, static_cast<int>((last * above + height - 1) / height)});
    }
  };
  auto run = [&](const Task& task) {
    // Level 0's blocks and level 1's pixels are made from the picture's rows.
    const bool readsPicture = task.build ? task.level == 1 : task.level == 0;
    if (readsPicture) gate.WaitFor(task.needs);
    if (!task.build) {
      EncodeRows(rows[task.level], format, compress, task.first, task.last, encoded.levels[task.level].data());
      return;
    }
    const LevelRows& above = rows[task.level - 1];
    const LevelSize size = chain[task.level];
    DownsampleRows([&](int y, uint8_t* scratch) { return above.Row(y, scratch); }, above.width, above.height, size.width,
                   size.height, task.first, task.last,
                   pixels[task.level].data() + static_cast<size_t>(task.first) * size.width * 4);
  };
  auto runAll = [&](std::vector<Task>& tasks, const std::function<void()>& leader) {
    // Tasks that wait for rows are handed out in the order those rows come.
    std::stable_sort(tasks.begin(), tasks.end(), [](const Task& a, const Task& b) { return a.needs < b.needs; });
    ParallelFor(static_cast<int>(tasks.size()), threads, [&](int i) { run(tasks[i]); }, leader);
  };

  // First everything that reads level 0: its own blocks and level 1, while
  // a producer is still making its rows.
  std::vector<Task> first;
  encodeTasks(0, first);
  if (levels > 1) buildTasks(1, first);
  std::function<void()> leader;
  if (producer) {
    leader = [&] {
      int done = 0;
      try {
        for (const int height = chain[0].height; done < height;) {
          const bool ok = producer(done);
          gate.Publish(done, ok);
          if (!ok) return;
        }
      } catch (...) {
        gate.Publish(done, false);  // tasks that wait for rows must not wait for ever
        throw;
      }
    };
  }
  runAll(first, leader);
  FreeImage_Unload(picture);
  picture = nullptr;
  if (gate.failed) return false;
  // Each further level from the one above, then every level's blocks.
  for (int i = 2; i < levels; ++i) {
    std::vector<Task> build;
    buildTasks(i, build);
    runAll(build, nullptr);
  }
  std::vector<Task> rest;
  for (int i = 1; i < levels; ++i) encodeTasks(i, rest);
  runAll(rest, nullptr);
  encoded.width = chain[0].width;
  encoded.height = chain[0].height;
  encoded.header = DdsFileHeader(format, chain[0].width, chain[0].height, levels);
  return true;
}

}  // namespace

bool EncodeDds(FIBITMAP* picture, const DdsFormat& format, int32_t quality, int threads, EncodedDds& encoded,
               const RowProducer& producer) {
  bool ok = false;
  if (HasBgraRows(picture)) {
    try {
      ok = EncodeLevels(picture, format, quality, threads, encoded, producer);
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (picture) FreeImage_Unload(picture);
  if (!ok) encoded = EncodedDds{};
  return ok;
}

}  // namespace jpg2dds
