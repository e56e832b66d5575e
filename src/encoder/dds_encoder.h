// The built-in DDS encoder: a mipmap chain filtered in linear light and
// blocks compressed by stb_dxt (or fitted harder), spread over threads. The
// bytes are the same whatever the number of threads.
#pragma once
#include <FreeImage.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "encoder/dds_format.h"
#include "platform/large_buffer.h"

namespace jpg2dds {

// A whole DDS file in memory: its header, then the levels, largest first.
struct EncodedDds {
  int width = 0;
  int height = 0;
  std::string header;
  std::vector<LargeBuffer> levels;
};

// Makes more rows of a picture that is still being made (a decoder) and
// sets `rowsDone` to the rows from the top that are finished; false when
// making them failed.
using RowProducer = std::function<bool(int& rowsDone)>;

// Encodes the picture (any depth FreeImage can turn into 32-bit rows) with
// every level down to 1 x 1 on at most `threads` threads, its blocks made by
// the format's compressor for the DDS Quality value, and releases it.
// With a producer, the picture's rows are made while it is encoded: one
// thread runs the producer to the end while the others encode the rows that
// are done. False when its rows cannot be read or made, or memory cannot be
// had.
bool EncodeDds(FIBITMAP* picture, const DdsFormat& format, int32_t quality, int threads, EncodedDds& encoded,
               const RowProducer& producer = nullptr);

}  // namespace jpg2dds
