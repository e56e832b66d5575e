// The block compressors of DDS Quality BEST: each colour block is the
// closest of stb_dxt's block, libsquish's cluster fit (where it pays) and a
// search around the better of the two, so it is never further from the
// pixels than the NORMAL block.
#pragma once
#include <cstdint>

namespace jpg2dds {

// `rgba` holds the 16 pixels of the block, rows top first, 4 bytes each (red,
// green, blue, alpha), as for CompressBc1Block and CompressBc3Block. BC1
// writes 8 bytes: a four-colour block, or a three-colour block that never
// uses index 3 (transparent black). BC3 writes 16: stb_dxt's alpha block,
// then the colour block.
void CompressBc1BlockBest(const uint8_t* rgba, uint8_t* out);
void CompressBc3BlockBest(const uint8_t* rgba, uint8_t* out);

}  // namespace jpg2dds
