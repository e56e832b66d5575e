#include "pipeline/output/encoded_dds_writer.h"

#include "pipeline/output/output_depth.h"
#include "pipeline/output/output_file.h"

namespace jpg2dds {
namespace {

// Rows handed from the decoder to the encoder in steps of this many.
constexpr int kDecodedRowsPerStep = 16;

}  // namespace

bool EncodePicture(FIBITMAP* picture, const DdsFormat& format, int32_t quality, ConversionJob& job,
                   EncodedDds& encoded) {
  if (!picture) return false;
  RecordOutputBitDepth(job);
  return EncodeDds(picture, format, quality, job.threads, encoded);
}

bool EncodeWhileDecoding(JpegRowDecoder& decoder, const DdsFormat& format, int32_t quality, ConversionJob& job,
                         EncodedDds& encoded, FileResult& result) {
  RecordOutputBitDepth(job);
  const bool ok = EncodeDds(decoder.picture, format, quality, job.threads, encoded, [&](int& rowsDone) {
    const bool decoded = DecodeJpegRows(decoder, kDecodedRowsPerStep);
    if (!decoded) NoteFailure(result, FailureReason::kDamaged);
    rowsDone = decoder.rowsDone;
    return decoded;
  });
  // Rows that were all decoded: the encoder's memory failed.
  if (!ok) NoteFailure(result, FailureReason::kOutOfMemory);
  // The encoder has released the picture.
  decoder.picture = nullptr;
  FinishJpegRows(decoder);
  return ok;
}

bool WriteEncodedDds(const EncodedDds& encoded, const ConversionSettings& settings, ConversionJob& job,
                     FileResult& result) {
  // The whole file is encoded before its temporary file exists, so that file
  // lives only while the bytes are written.
  return WriteOutputFile(settings, job, encoded.width, encoded.height, result, [&](std::FILE* file) {
    bool ok = std::fwrite(encoded.header.data(), 1, encoded.header.size(), file) == encoded.header.size();
    for (const LargeBuffer& level : encoded.levels) {
      ok = ok && std::fwrite(level.data(), 1, level.size(), file) == level.size();
    }
    return ok;
  });
}

bool WriteEncodedDdsFile(FIBITMAP* picture, const DdsFormat& format, const ConversionSettings& settings,
                         ConversionJob& job) {
  EncodedDds encoded;
  FileResult result;
  return EncodePicture(picture, format, settings.ddsQuality, job, encoded) &&
         WriteEncodedDds(encoded, settings, job, result);
}

}  // namespace jpg2dds
