#include "pipeline/dds_encoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "pipeline/block_compression.h"
#include "pipeline/mipmap_filter.h"
#include "pipeline/parallel_for.h"
#include "pipeline/picture_rows.h"

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

  void Read(int y, uint8_t* bgra) const {
    if (picture) {
      ReadBgraRow(picture, y, bgra);
    } else {
      std::memcpy(bgra, pixels + static_cast<size_t>(y) * width * 4, static_cast<size_t>(width) * 4);
    }
  }
};

int Tasks(int rows) { return (rows + kRowsPerTask - 1) / kRowsPerTask; }

// Rows [first, first + 4) of the level: the encoded block row `blockRow`.
// Blocks that reach past the picture repeat its last row and column.
void EncodeBlockRow(const LevelRows& level, DdsFormat format, int blockRow, uint8_t* out,
                    std::vector<uint8_t>& rows) {
  const size_t rowBytes = static_cast<size_t>(level.width) * 4;
  for (int r = 0; r < 4; ++r) {
    level.Read(std::min(blockRow * 4 + r, level.height - 1), &rows[rowBytes * r]);
  }
  const int blockBytes = format == DdsFormat::kDxt1 ? 8 : 16;
  uint8_t block[64];
  for (int bx = 0; bx * 4 < level.width; ++bx, out += blockBytes) {
    for (int r = 0; r < 4; ++r) {
      for (int c = 0; c < 4; ++c) {
        const uint8_t* p = &rows[rowBytes * r + static_cast<size_t>(std::min(bx * 4 + c, level.width - 1)) * 4];
        uint8_t* q = &block[(r * 4 + c) * 4];
        q[0] = p[2];
        q[1] = p[1];
        q[2] = p[0];
        q[3] = 255;  // the pictures are opaque
      }
    }
    if (format == DdsFormat::kDxt1) {
      CompressBc1Block(block, out);
    } else {
      CompressBc3Block(block, out);
    }
  }
}

// Encodes rows [first, last) of the level (block rows for the compressed
// formats, pixel rows for the uncompressed one) into its bytes.
void EncodeRows(const LevelRows& level, DdsFormat format, int first, int last, uint8_t* bytes) {
  const size_t rowBytes = static_cast<size_t>(level.width) * 4;
  if (format == DdsFormat::kBgra) {
    for (int y = first; y < last; ++y) {
      uint8_t* row = bytes + rowBytes * y;
      level.Read(y, row);
      for (size_t x = 3; x < rowBytes; x += 4) row[x] = 255;
    }
    return;
  }
  std::vector<uint8_t> rows(rowBytes * 4);
  const size_t blockRowBytes = DdsLevelBytes(format, level.width, 4);
  for (int blockRow = first; blockRow < last; ++blockRow) {
    EncodeBlockRow(level, format, blockRow, bytes + blockRowBytes * blockRow, rows);
  }
}

int EncodedRows(DdsFormat format, int height) { return format == DdsFormat::kBgra ? height : (height + 3) / 4; }

}  // namespace

bool EncodeDds(FIBITMAP* picture, DdsFormat format, int threads, EncodedDds& encoded) {
  if (!HasBgraRows(picture)) {
    if (picture) FreeImage_Unload(picture);
    return false;
  }
  const std::vector<LevelSize> chain =
      MipChain(static_cast<int>(FreeImage_GetWidth(picture)), static_cast<int>(FreeImage_GetHeight(picture)));
  const int levels = static_cast<int>(chain.size());
  std::vector<std::vector<uint8_t>> pixels(levels);  // the filtered levels; level 0 is the picture
  try {
    encoded.levels.assign(levels, {});
    for (int i = 0; i < levels; ++i) {
      encoded.levels[i].resize(DdsLevelBytes(format, chain[i].width, chain[i].height));
      if (i > 0) pixels[i].resize(static_cast<size_t>(chain[i].width) * chain[i].height * 4);
    }
  } catch (const std::bad_alloc&) {
    FreeImage_Unload(picture);
    encoded.levels.clear();
    return false;
  }
  std::vector<LevelRows> rows(levels);
  for (int i = 0; i < levels; ++i) {
    rows[i] = {chain[i].width, chain[i].height, i == 0 ? picture : nullptr, i == 0 ? nullptr : pixels[i].data()};
  }

  // Each level from the one above, its rows spread over the threads.
  for (int i = 1; i < levels; ++i) {
    const LevelRows& above = rows[i - 1];
    const LevelSize size = chain[i];
    ParallelFor(Tasks(size.height), threads, [&](int task) {
      const int first = task * kRowsPerTask, last = std::min(size.height, first + kRowsPerTask);
      DownsampleRows([&](int y, uint8_t* bgra) { above.Read(y, bgra); }, above.width, above.height, size.width,
                     size.height, first, last,
                     pixels[i].data() + static_cast<size_t>(first) * size.width * 4);
    });
  }

  // Then every level's rows at once, as one list of tasks.
  std::vector<std::pair<int, int>> tasks;  // (level, first encoded row)
  for (int i = 0; i < levels; ++i) {
    for (int first = 0; first < EncodedRows(format, chain[i].height); first += kRowsPerTask) tasks.push_back({i, first});
  }
  ParallelFor(static_cast<int>(tasks.size()), threads, [&](int task) {
    const auto [level, first] = tasks[task];
    const int last = std::min(EncodedRows(format, chain[level].height), first + kRowsPerTask);
    EncodeRows(rows[level], format, first, last, encoded.levels[level].data());
  });
  FreeImage_Unload(picture);
  encoded.header = DdsFileHeader(format, chain[0].width, chain[0].height, levels);
  return true;
}

}  // namespace jpg2dds
