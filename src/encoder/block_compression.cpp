#include "encoder/block_compression.h"

// stb_dxt's implementation uses memcpy without including its header.
#include <cstring>

#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>

namespace jpg2dds {

void CompressBc1Block(const uint8_t* rgba, uint8_t* out) { stb_compress_dxt_block(out, rgba, 0, STB_DXT_HIGHQUAL); }

void CompressBc3Block(const uint8_t* rgba, uint8_t* out) { stb_compress_dxt_block(out, rgba, 1, STB_DXT_HIGHQUAL); }

}  // namespace jpg2dds
