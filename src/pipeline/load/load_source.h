// Pipeline step 1: decoding the input file as an upright JPEG picture.
#pragma once
#include <FreeImage.h>

#include <string>

#include "batch/file_result.h"

namespace jpg2dds {

// Reads a JPEG file for decoding, whatever the file's name: its Exif block is
// replaced by a checked copy of its orientation (returned in `orientation`,
// 0 when there is none) so that FreeImage never parses a damaged one, and a
// frame header claiming more pixels than kMaxPicturePixels is refused before
// anything is decoded. False when the file cannot be read or is refused;
// `why`, when given, then tells which: unreadable, not a JPEG file, a JPEG
// file without a readable frame header (damaged), or too large.
bool ReadJpegForDecoding(const std::string& path, std::string& bytes, int& orientation,
                         FailureReason* why = nullptr);

// FreeImage's decode of bytes that ReadJpegForDecoding gave, with `flags`;
// null when they cannot be decoded. `outOfMemory`, when given, tells whether
// a null came from memory that could not be had rather than from the data.
FIBITMAP* DecodeJpegBytes(const std::string& bytes, int flags, bool* outOfMemory = nullptr);

// Both: a JPEG file decoded with `flags`; null on any failure.
FIBITMAP* LoadJpegFile(const std::string& path, int flags);

// The input picture: decoded accurately and turned upright by its EXIF
// orientation (an unreadable Exif block turns nothing).
constexpr int kSourceLoadFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;
FIBITMAP* LoadSourceImage(const std::string& path);

}  // namespace jpg2dds
