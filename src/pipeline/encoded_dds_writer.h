// The DDS file written by the built-in encoder (DXT1, DXT5 or uncompressed
// BGRA, mipmaps filtered in linear light) instead of DevIL.
#pragma once
#include <FreeImage.h>

#include "batch/conversion_job.h"
#include "pipeline/dds_format.h"
#include "pipeline/jpeg_row_decoder.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Encodes the picture as it is (no 32-bit copy is made) on the job's threads
// and writes it through the same safe write as the DevIL path, recording the
// same job fields; the automatic output bit depth is still recorded (32).
// Always releases the picture. True only when the complete file stands under
// the output path.
bool WriteEncodedDdsFile(FIBITMAP* picture, DdsFormat format, const ConversionSettings& settings,
                         ConversionJob& job);

// The same for a picture still being decoded: its rows are encoded as the
// decoder finishes them, so decoding and encoding overlap. Ends the decoder
// and releases its picture; false also when decoding fails.
bool WriteStreamedDdsFile(JpegRowDecoder& decoder, DdsFormat format, const ConversionSettings& settings,
                          ConversionJob& job);

}  // namespace jpg2dds
