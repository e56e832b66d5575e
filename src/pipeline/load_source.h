// Pipeline step 1: decoding the input file as an upright JPEG picture.
#pragma once
#include <FreeImage.h>

#include <string>

namespace jpg2dds {

// A JPEG file decoded by FreeImage with `flags`, whatever the file's name.
// Its Exif block is replaced by a checked copy of its orientation before
// FreeImage sees it, and a frame header claiming more pixels than
// kMaxPicturePixels is refused before anything is decoded. Null when the file
// cannot be read or decoded.
FIBITMAP* LoadJpegFile(const std::string& path, int flags);

// The input picture: LoadJpegFile with accurate decoding, turned upright by
// its EXIF orientation (an unreadable Exif block turns nothing).
FIBITMAP* LoadSourceImage(const std::string& path);

}  // namespace jpg2dds
