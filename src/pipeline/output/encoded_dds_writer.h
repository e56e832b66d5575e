// The DDS file made by the built-in encoder (DXT1, DXT5 or uncompressed
// BGRA, mipmaps filtered in linear light) instead of DevIL: encoding, which
// touches nothing shared between files, apart from writing, which names the
// output and must come one file at a time.
#pragma once
#include <FreeImage.h>

#include "batch/conversion_job.h"
#include "batch/file_result.h"
#include "encoder/dds_encoder.h"
#include "encoder/dds_format.h"
#include "pipeline/load/jpeg_row_decoder.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// Encodes the picture as it is (no 32-bit copy is made) at the DDS Quality
// `quality` on the job's threads and releases it; records the automatic
// output bit depth (32) as the DevIL path does. False when it cannot be
// encoded.
bool EncodePicture(FIBITMAP* picture, const DdsFormat& format, int32_t quality, ConversionJob& job,
                   EncodedDds& encoded);

// The same for a picture still being decoded: its rows are encoded as the
// decoder finishes them, so decoding and encoding overlap. Ends the decoder
// and releases its picture; false also when decoding fails. The result gets
// the reason: damaged data, else no memory.
bool EncodeWhileDecoding(JpegRowDecoder& decoder, const DdsFormat& format, int32_t quality, ConversionJob& job,
                         EncodedDds& encoded, FileResult& result);

// Writes the encoded file through the same safe write as the DevIL path,
// recording the same job and result fields. True only when the complete
// file stands under the output path.
bool WriteEncodedDds(const EncodedDds& encoded, const ConversionSettings& settings, ConversionJob& job,
                     FileResult& result);

// EncodePicture at the settings' DDS Quality, then WriteEncodedDds; always
// releases the picture.
bool WriteEncodedDdsFile(FIBITMAP* picture, const DdsFormat& format, const ConversionSettings& settings,
                         ConversionJob& job);

}  // namespace jpg2dds
