// The per-file conversion: load, edit, write one DDS file. It comes in two
// halves: preparing touches nothing that files share, so several files may
// be prepared at once; writing names the output and uses DevIL's global
// state, so files are written one at a time, in input order.
#pragma once
#include <FreeImage.h>

#include "batch/conversion_job.h"
#include "batch/file_result.h"
#include "encoder/dds_encoder.h"
#include "pipeline/output/devil_helpers.h"
#include "pipeline/step_timings.h"
#include "platform/font.h"
#include "settings/conversion_settings.h"

namespace jpg2dds {

// What preparing made of a file, ready to be written.
struct PreparedFile {
  bool ready = false;           // something to write; false when the file failed before writing
  bool encoded = false;         // made by the built-in encoder (`dds`), else DevIL's `picture`
  FIBITMAP* picture = nullptr;  // for DevIL: at its output depth, or at its own when converted as handed over
  SharedBlock pixels;           // the picture's pixels, when decoded into memory a helper maps
  HelperDds made;               // DevIL's part done by a helper, or the picture is still for DevIL here
  EncodedDds dds;
  FileResult result;            // so far: the reason when not ready, the time taken
};

// Loading, the edits and the output depth (steps 1 to 12) and, for the
// built-in encoder, the encoding, of the job's current input file. Records
// the source depth and, for a text watermark, the output values in the job.
// With `handOver` the picture is for a helper process: with no edit and no
// turn it is decoded into that block (used when large enough, else made
// anew), which moves into `prepared.pixels` (and what that held into
// `handOver`); otherwise the picture keeps its own depth and is converted as
// it is handed to DevIL (the same 32-bit pixels, written straight to where
// DevIL reads them).
void PrepareFile(const ConversionSettings& settings, ConversionJob& job, const WatermarkFont* font,
                 PreparedFile& prepared, StepTimings* timings = nullptr, SharedBlock* handOver = nullptr);

// DevIL's part of a prepared picture in a helper process, before its turn
// to be written, or with `inPieces` in pieces made side by side by the idle
// helpers (at most `most` of them) and this process; a picture no helper
// takes is left as it is. A helper that dies fails the file.
void MakeDdsApart(PreparedFile& prepared, DevilHelpers& helpers, bool inPieces = false, int most = INT_MAX);

// Writing (step 13): the file's result, converted exactly when the output
// file was written. Always releases what the preparation holds.
FileResult WritePreparedFile(PreparedFile& prepared, const ConversionSettings& settings, ConversionJob& job,
                             StepTimings* timings = nullptr);

// Both halves: converts the job's current input file; the result is
// converted exactly when the output file was written, else failed with its
// reason. Prints nothing. `font` is the run's watermark font or null.
// `timings`, when given, gets the decode and DevIL durations (benchmark).
// With `helpers`, DevIL's part of a large picture is made in pieces side by
// side with them.
FileResult ConvertFile(const ConversionSettings& settings, ConversionJob& job, const WatermarkFont* font,
                       StepTimings* timings = nullptr, DevilHelpers* helpers = nullptr);

}  // namespace jpg2dds
