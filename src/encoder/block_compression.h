// 4 x 4 blocks compressed by stb_dxt in its high-quality mode: the block
// compressors of the format table.
#pragma once
#include <cstdint>

namespace jpg2dds {

// `rgba` holds the 16 pixels of the block, rows top first, 4 bytes each (red,
// green, blue, alpha). BC1 writes 8 bytes and ignores alpha; BC3 writes 16
// (alpha block, then colour block).
void CompressBc1Block(const uint8_t* rgba, uint8_t* out);
void CompressBc3Block(const uint8_t* rgba, uint8_t* out);

}  // namespace jpg2dds
