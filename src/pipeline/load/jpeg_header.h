// The size of a JPEG picture from its frame header alone, read by libjpeg:
// nothing is decoded, whatever the file is (a progressive one included).
#pragma once
#include <cstdint>
#include <string>

namespace jpg2dds {

// Width and height as the frame header gives them (before any EXIF turn);
// false when libjpeg cannot read a header from the bytes.
bool ReadJpegFrameSize(const std::string& jpeg, uint32_t& width, uint32_t& height);

}  // namespace jpg2dds
