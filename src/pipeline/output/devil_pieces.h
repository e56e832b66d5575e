// DevIL's DXT1 file of one picture made in pieces that can be made side by
// side, in helper processes: DevIL compresses each 4 x 4 block on its own
// and writes the levels one after another. So the level-0 data of a picture
// is that of a band of rows from its top (a multiple of 4 rows high)
// followed by that of the rows below, and the data of levels 1 and down is
// that of a picture made from DevIL's level 1 with mipmaps of its own.
// Joined behind the header, the pieces are the bytes of a whole save.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pipeline/output/devil_dds_writer.h"

namespace jpg2dds {

// Whether a picture is worth cutting into pieces: smaller ones are made
// whole, as the cost of the pieces would outweigh the gain.
bool WorthCutting(uint32_t width, uint32_t height);

// Whether DevIL is left at DXT1 (its default), the only compression whose
// file the pieces make.
bool DevilWritesDxt1();

// The level-0 rows from the top for each of `helpers` helpers (equal
// bands, each a multiple of 4 rows); the rows below them, at least one, go
// with levels 1 and down to the converter itself, sized so that both sides
// take about the same time.
std::vector<uint32_t> HelperBands(uint32_t height, int helpers);

// The DXT1 data (without a header) DevIL writes for level 0 of `rows` rows
// of pixels as DevIL takes them (bottom row first, blue-green-red-alpha),
// appended to `out`. The top of the rows must lie a multiple of 4 rows
// below the picture's top. Made a band at a time, so that DevIL's copies
// of the pixels stay small.
DevilDdsOutcome AppendLevelZeroRows(const uint8_t* pixels, uint32_t width, uint32_t rows, std::string& out);

// DevIL's own copy of a whole picture, from which the pieces made here
// come.
struct DevilPicture {
  unsigned image = 0;               // DevIL's name for it; 0 when none
  const uint8_t* pixels = nullptr;  // its pixels, as DevIL takes them
  uint32_t width = 0;
  uint32_t height = 0;
};

// Hands the pixels to DevIL; false (nothing held) when it cannot take them.
bool TakeIntoDevil(const uint8_t* pixels, uint32_t width, uint32_t height, DevilPicture& picture);

// The DXT1 data (without a header) of levels 1 and down of the picture,
// appended to `out`. DevIL's copy of the picture is released as soon as
// level 1 is made from it.
DevilDdsOutcome AppendLowerLevels(DevilPicture& picture, std::string& out);

void ReleaseDevilPicture(DevilPicture& picture);

// The header DevIL writes for the whole DXT1 file with its mipmaps.
std::string WholeDxt1Header(uint32_t width, uint32_t height);

// What the pieces together made: each stage made only when it was in
// every piece; out of memory when any piece ran out.
DevilDdsOutcome JoinOutcomes(const DevilDdsOutcome& a, const DevilDdsOutcome& b);

}  // namespace jpg2dds
