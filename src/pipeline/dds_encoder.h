// The built-in DDS encoder: a mipmap chain filtered in linear light and
// blocks compressed by stb_dxt, spread over threads. The bytes are the same
// whatever the number of threads.
#pragma once
#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pipeline/dds_format.h"

namespace jpg2dds {

// A whole DDS file in memory: its header, then the levels, largest first.
struct EncodedDds {
  std::string header;
  std::vector<std::vector<uint8_t>> levels;
};

// Encodes the picture (any depth FreeImage can turn into 32-bit rows) with
// every level down to 1 x 1 on at most `threads` threads, and releases it.
// False when its rows cannot be read or memory cannot be had.
bool EncodeDds(FIBITMAP* picture, DdsFormat format, int threads, EncodedDds& encoded);

}  // namespace jpg2dds
