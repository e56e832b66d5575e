// Pipeline step 1: decoding the input file as an upright JPEG picture.
#pragma once
#include <FreeImage.h>

#include <string>

namespace jpg2dds {

// The picture decoded as JPEG whatever the file's name, turned upright by its
// EXIF orientation; null when it cannot be decoded or its header claims more
// pixels than kMaxPicturePixels.
FIBITMAP* LoadSourceImage(const std::string& path);

}  // namespace jpg2dds
