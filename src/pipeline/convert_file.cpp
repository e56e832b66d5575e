#include "pipeline/convert_file.h"

#include <FreeImage.h>

#include <new>
#include <utility>

#include "pipeline/edits/color_adjust.h"
#include "pipeline/edits/geometry.h"
#include "pipeline/load/jpeg_row_decoder.h"
#include "pipeline/load/load_source.h"
#include "pipeline/load/picture_limits.h"
#include "pipeline/output/devil_dds_writer.h"
#include "pipeline/output/encoded_dds_writer.h"
#include "pipeline/output/output_depth.h"
#include "pipeline/overlays/frame.h"
#include "pipeline/overlays/watermark.h"
#include "settings/keywords.h"

namespace jpg2dds {

namespace {

// Whether any of the steps between loading and writing is switched on; off,
// each hands the decoded picture on as it is.
bool AnyEditSwitchedOn(const ConversionSettings& s) {
  return s.doImageRotation || s.doImageResize || s.doImageFlipHorizontal || s.doImageFlipVertical ||
         s.doImageColorCorrection || s.doImageGreyscale || s.doImageThreshold ||
         s.doFrame != choice::kFrameNone || s.doWatermark != choice::kWatermarkNone;
}

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Why a step left no picture: it would have made one past the picture
// limit, or memory for the new one could not be had.
FailureReason LostPicture(bool fitsLimit) {
  return fitsLimit ? FailureReason::kOutOfMemory : FailureReason::kTooLarge;
}

// The picture is owned here and handed from step to step: each step returns
// the bitmap that replaces the one it was given (releasing that one when it
// made a new one), and a null picture passes through every step to fail the
// write at the end.
void Prepare(const ConversionSettings& settings, ConversionJob& job, const WatermarkFont* font,
             PreparedFile& prepared, StepTimings* timings, SharedBlock* handOver) {
  FileResult& result = prepared.result;
  const auto decodeStart = Clock::now();
  std::string bytes;
  int orientation = 0;
  FailureReason unread = FailureReason::kNone;
  const bool readable = ReadJpegForDecoding(job.currentInputFile, bytes, orientation, &unread);
  NoteFailure(result, unread);
  // A DDS Compression with a row in the encoder's table is the built-in
  // encoder's; AUTO is DevIL's.
  const DdsFormat* format = FindDdsFormat(settings.ddsCompression);
  prepared.encoded = format != nullptr;
  if (format) result.format = format->name;
  // With no edit and no turn, the built-in encoder takes the rows as they
  // are decoded: the same picture, but decoding and encoding overlap.
  if (readable && prepared.encoded && !AnyEditSwitchedOn(settings) && orientation <= 1) {
    JpegRowDecoder decoder;
    if (StartJpegRows(bytes, decoder)) {
      job.sourceBitDepth = static_cast<int32_t>(FreeImage_GetBPP(decoder.picture));
      prepared.ready = EncodeWhileDecoding(decoder, *format, settings.ddsQuality, job, prepared.dds, result);
      result.seconds = SecondsSince(decodeStart);
      return;
    }
  }
  // DevIL takes 32-bit pixels: with no edit and no turn, the rows are
  // decoded straight into that layout, the same pixels without a picture of
  // the decoded depth and a conversion pass over it; for a helper, straight
  // into memory it maps.
  if (readable && !prepared.encoded && !AnyEditSwitchedOn(settings) && orientation <= 1) {
    JpegRowDecoder decoder;
    if (StartJpegRows(bytes, decoder, RowLayout::kBgra32, handOver)) {
      if (handOver) std::swap(prepared.pixels, *handOver);
      job.sourceBitDepth = decoder.decodedBitDepth;
      const bool decoded = DecodeJpegRows(decoder, static_cast<int>(FreeImage_GetHeight(decoder.picture)));
      FinishJpegRows(decoder);
      if (timings) timings->decode += Clock::now() - decodeStart;
      if (decoded) {
        prepared.picture = handOver ? decoder.picture : ConvertToOutputDepth(decoder.picture, job);
        if (handOver) RecordOutputBitDepth(job);
        prepared.ready = prepared.picture != nullptr;
        if (!prepared.ready) NoteFailure(result, FailureReason::kOutOfMemory);
      } else {
        FreeImage_Unload(decoder.picture);
        NoteFailure(result, FailureReason::kDamaged);
      }
      result.seconds = SecondsSince(decodeStart);
      return;
    }
  }
  bool outOfMemory = false;
  FIBITMAP* picture = readable ? DecodeJpegBytes(bytes, kSourceLoadFlags, &outOfMemory) : nullptr;
  if (readable && !picture) NoteFailure(result, outOfMemory ? FailureReason::kOutOfMemory : FailureReason::kDamaged);
  std::string().swap(bytes);  // move-assigning an empty text would keep the buffer
  if (timings) timings->decode += Clock::now() - decodeStart;

  int width = static_cast<int>(FreeImage_GetWidth(picture));
  int height = static_cast<int>(FreeImage_GetHeight(picture));
  job.sourceBitDepth = static_cast<int32_t>(FreeImage_GetBPP(picture));
  if (width == 0 || height == 0) {
    if (picture) FreeImage_Unload(picture);
    NoteFailure(result, FailureReason::kDamaged);
    result.seconds = SecondsSince(decodeStart);
    return;
  }

  picture = ApplyRotation(picture, settings);
  if (!picture) {
    const bool turnFits = settings.imageRotationType != choice::kRotationSimple ||
                          FitsPictureLimitWhenTurned(width, height, settings.imageRotation);
    NoteFailure(result, LostPicture(turnFits));
  }
  width = static_cast<int>(FreeImage_GetWidth(picture));
  height = static_cast<int>(FreeImage_GetHeight(picture));

  picture = ApplyResize(picture, width, height, settings);
  if (!picture) {
    int32_t targetWidth = 0, targetHeight = 0;
    NoteFailure(result, LostPicture(!ResizeTarget(width, height, settings, targetWidth, targetHeight) ||
                                    FitsPictureLimit(targetWidth, targetHeight)));
  }
  // This size stays valid up to the output depth: the later steps neither
  // grow nor shrink the picture.
  width = static_cast<int>(FreeImage_GetWidth(picture));
  height = static_cast<int>(FreeImage_GetHeight(picture));

  ApplyFlip(picture, settings);
  picture = ApplyColorCorrection(picture, settings);
  picture = ApplyGreyscale(picture, settings);
  picture = ApplyThreshold(picture, settings);
  picture = ApplyFrame(picture, width, height, settings);
  picture = ApplyWatermark(picture, width, height, settings, job, font);
  if (prepared.encoded) {
    prepared.ready = EncodePicture(picture, *format, settings.ddsQuality, job, prepared.dds);
  } else if (handOver) {
    RecordOutputBitDepth(job);
    prepared.picture = picture;
    prepared.ready = prepared.picture != nullptr;
  } else {
    prepared.picture = ConvertToOutputDepth(picture, job);
    prepared.ready = prepared.picture != nullptr;
  }
  // Past the two steps that may refuse a size, only memory can be missing.
  if (!prepared.ready) NoteFailure(result, FailureReason::kOutOfMemory);
  result.seconds = SecondsSince(decodeStart);
}

}  // namespace

void PrepareFile(const ConversionSettings& settings, ConversionJob& job, const WatermarkFont* font,
                 PreparedFile& prepared, StepTimings* timings, SharedBlock* handOver) {
  prepared = PreparedFile{};
  try {
    Prepare(settings, job, font, prepared, timings, handOver);
  } catch (const std::bad_alloc&) {
    // Memory ran out where no picture was held (reading the file): the file
    // fails, and what it took is given back for the next one.
    ReleaseSharedBlock(prepared.pixels);
    prepared = PreparedFile{};
    prepared.result.reason = FailureReason::kOutOfMemory;
  }
}

void MakeDdsApart(PreparedFile& prepared, DevilHelpers& helpers, bool inPieces, int most) {
  if (!prepared.ready || prepared.encoded) return;
  const auto start = Clock::now();
  prepared.made = inPieces ? MakeDdsInPieces(helpers, prepared.picture, most)
                           : MakeDdsInHelper(helpers, prepared.picture, prepared.pixels);
  prepared.result.seconds += SecondsSince(start);
  if (prepared.made.state == HelperState::kDied) {
    prepared.ready = false;
    NoteFailure(prepared.result, FailureReason::kHelperDied);
  }
}

FileResult WritePreparedFile(PreparedFile& prepared, const ConversionSettings& settings, ConversionJob& job,
                             StepTimings* timings) {
  const auto start = Clock::now();
  FileResult result = prepared.result;
  bool ok = false;
  // Neither writer lets memory that runs out escape.
  if (prepared.ready && prepared.encoded) {
    ok = WriteEncodedDds(prepared.dds, settings, job, result);
  } else if (prepared.ready && prepared.made.state == HelperState::kMade) {
    const HelperDds& made = prepared.made;
    const bool joined = made.bytes.data == nullptr;
    ok = WriteMadeDds(made.outcome, joined ? reinterpret_cast<const uint8_t*>(made.joined.data()) : made.bytes.data,
                      joined ? made.joined.size() : made.bytes.size, made.width, made.height, settings, job, result);
  } else if (prepared.ready) {
    ok = WriteDdsFile(prepared.picture, settings, job, result, timings);
    prepared.picture = nullptr;  // released by the writer
  }
  if (prepared.picture) FreeImage_Unload(prepared.picture);
  ReleaseSharedBlock(prepared.pixels);
  ReleaseHelperDds(prepared.made);
  prepared = PreparedFile{};
  result.status = ok ? FileStatus::kConverted : FileStatus::kFailed;
  if (ok) result.reason = FailureReason::kNone;
  result.seconds += SecondsSince(start);
  return result;
}

FileResult ConvertFile(const ConversionSettings& settings, ConversionJob& job, const WatermarkFont* font,
                       StepTimings* timings, DevilHelpers* helpers) {
  PreparedFile prepared;
  PrepareFile(settings, job, font, prepared, timings);
  if (helpers) MakeDdsApart(prepared, *helpers, true);
  return WritePreparedFile(prepared, settings, job, timings);
}

}  // namespace jpg2dds
