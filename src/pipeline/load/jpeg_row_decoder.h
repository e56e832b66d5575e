// A JPEG picture decoded row by row into a FreeImage bitmap, so that the
// rows at the top can be encoded while the rest is still being decoded. The
// bitmap is the one FreeImage's own loader makes with JPEG_ACCURATE (same
// libjpeg, same settings, same pixels), for the pictures it handles:
// greyscale and colour, not CMYK.
#pragma once
#include <FreeImage.h>

#include <memory>
#include <string>

#include "platform/helper_process.h"
#include "platform/large_buffer.h"

namespace jpg2dds {

struct JpegRowDecoderState;

// How the rows are laid out in the picture.
enum class RowLayout {
  kAsDecoded,  // 24 or 8 bits, as FreeImage's loader gives them
  kBgra32,     // 32 bits with opaque alpha, as FreeImage_ConvertTo32Bits makes of those
};

// The picture's pixels belong to the decoder in the decoded layout: it must
// outlive the picture (FreeImage_Unload it first). In the 32-bit layout the
// picture owns its pixels, so that it can go on alone, unless they were
// decoded into a shared block.
struct JpegRowDecoder {
  FIBITMAP* picture = nullptr;  // allocated by StartJpegRows, rows filled top first
  int rowsDone = 0;             // rows of `picture` (from the top) that hold their pixels
  int decodedBitDepth = 0;      // 24 or 8: the depth FreeImage's loader would give
  LargeBuffer pixels;           // the picture's pixels, taken fresh from the system
  std::shared_ptr<JpegRowDecoderState> state;
};

// Reads the header and allocates the picture. False (and nothing allocated)
// when the bytes cannot be decoded this way: damaged, CMYK, or no memory.
// `jpeg` must stay unchanged until the decoder is finished. With `into`, the
// 32-bit layout goes into that shared block (which a helper process can map)
// instead: it is used when it is large enough, else made anew; the picture
// is then only a view of it, and the block must outlive the picture.
bool StartJpegRows(const std::string& jpeg, JpegRowDecoder& decoder, RowLayout layout = RowLayout::kAsDecoded,
                   SharedBlock* into = nullptr);

// Decodes up to `rows` further rows, and ends decoding after the last one.
// False when libjpeg fails, where FreeImage's loader fails too (a truncated
// file is no failure: it ends in grey rows there as here); the picture stays
// allocated for its owner to release.
bool DecodeJpegRows(JpegRowDecoder& decoder, int rows);

// Ends decoding (also after a failure) and releases libjpeg's memory; the
// picture and its pixels stay.
void FinishJpegRows(JpegRowDecoder& decoder);

}  // namespace jpg2dds
