#include "pipeline/encoded_dds_writer.h"

#include "pipeline/dds_encoder.h"
#include "pipeline/output_depth.h"
#include "pipeline/output_file.h"

namespace jpg2dds {

namespace {

// Rows handed from the decoder to the encoder in steps of this many.
constexpr int kDecodedRowsPerStep = 16;

bool EncodeAndWrite(FIBITMAP* picture, DdsFormat format, const ConversionSettings& settings, ConversionJob& job,
                    const RowProducer& producer) {
  if (!picture) return false;
  if (job.keepSourceBitDepth) job.outputBitDepth = PickAutoBitDepth(job.outputType, job.sourceBitDepth);
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  // The whole file is encoded before its temporary file exists, so that file
  // lives only while the bytes are written.
  EncodedDds encoded;
  if (!EncodeDds(picture, format, job.threads, encoded, producer)) return false;
  return WriteOutputFile(settings, job, width, height, [&](std::FILE* file) {
    bool ok = std::fwrite(encoded.header.data(), 1, encoded.header.size(), file) == encoded.header.size();
    for (const LargeBuffer& level : encoded.levels) {
      ok = ok && std::fwrite(level.data(), 1, level.size(), file) == level.size();
    }
    return ok;
  });
}

}  // namespace

bool WriteEncodedDdsFile(FIBITMAP* picture, DdsFormat format, const ConversionSettings& settings,
                         ConversionJob& job) {
  return EncodeAndWrite(picture, format, settings, job, nullptr);
}

bool WriteStreamedDdsFile(JpegRowDecoder& decoder, DdsFormat format, const ConversionSettings& settings,
                          ConversionJob& job) {
  const bool ok = EncodeAndWrite(decoder.picture, format, settings, job, [&](int& rowsDone) {
    const bool decoded = DecodeJpegRows(decoder, kDecodedRowsPerStep);
    rowsDone = decoder.rowsDone;
    return decoded;
  });
  // The encoder has released the picture.
  decoder.picture = nullptr;
  FinishJpegRows(decoder);
  return ok;
}

}  // namespace jpg2dds
