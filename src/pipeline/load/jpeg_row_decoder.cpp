#include "pipeline/load/jpeg_row_decoder.h"

// jpeglib.h needs size_t and FILE declared first.
#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>
#include <jerror.h>

namespace jpg2dds {

struct JpegRowDecoderState {
  jpeg_error_mgr errors;  // first, so libjpeg's error pointer leads back here
  jpeg_decompress_struct info;
  std::jmp_buf escape;
  bool created = false;
  bool finished = false;
};

namespace {

JpegRowDecoderState* StateOf(j_common_ptr info) { return reinterpret_cast<JpegRowDecoderState*>(info->err); }

// As FreeImage's loader: an unknown marker is no reason to give up.
void EscapeOnError(j_common_ptr info) {
  if (info->err->msg_code == JERR_UNKNOWN_MARKER) return;
  std::longjmp(StateOf(info)->escape, 1);
}

void Silently(j_common_ptr) {}

void Destroy(JpegRowDecoderState& state) {
  if (state.created) jpeg_destroy_decompress(&state.info);
  state.created = false;
}

}  // namespace

bool StartJpegRows(const std::string& jpeg, JpegRowDecoder& decoder, RowLayout layout, SharedBlock* into) {
  decoder = JpegRowDecoder{};
  if (jpeg.empty()) return false;
  auto state = std::make_shared<JpegRowDecoderState>();
  JpegRowDecoderState& s = *state;
  s.info.err = jpeg_std_error(&s.errors);
  s.errors.error_exit = EscapeOnError;
  s.errors.output_message = Silently;
  // Nothing is allocated here before the last libjpeg call that can fail.
  if (setjmp(s.escape)) {
    Destroy(s);
    return false;
  }
  jpeg_create_decompress(&s.info);
  s.created = true;
  jpeg_mem_src(&s.info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
  // The markers FreeImage keeps for its metadata are kept here too, so that
  // damaged ones are read the same way.
  jpeg_save_markers(&s.info, JPEG_COM, 0xFFFF);
  for (int m = 0; m < 16; ++m) jpeg_save_markers(&s.info, JPEG_APP0 + m, 0xFFFF);
  jpeg_read_header(&s.info, TRUE);
  if (s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK) {
    Destroy(s);
    return false;
  }
  // libjpeg writes the 32-bit layout itself (opaque alpha), with the same
  // arithmetic as the red-green-blue or grey rows FreeImage's loader takes.
  const bool bgra = layout == RowLayout::kBgra32;
  const int bgraComponents = s.info.out_color_space == JCS_RGB ? 3 : s.info.out_color_space == JCS_GRAYSCALE ? 1 : 0;
  if (bgra && bgraComponents == 0) {
    Destroy(s);
    return false;
  }
  if (bgra) s.info.out_color_space = JCS_EXT_BGRA;
  // A progressive picture is read whole here; rows follow from its
  // coefficients.
  jpeg_start_decompress(&s.info);
  const int components = bgra ? bgraComponents : s.info.output_components;
  if (components != 1 && components != 3) {
    Destroy(s);
    return false;
  }
  const int width = static_cast<int>(s.info.output_width), height = static_cast<int>(s.info.output_height);
  LargeBuffer pixels;
  FIBITMAP* picture = nullptr;
  if (bgra && into) {
    // A block kept from an earlier picture has its pages already: no fault
    // and no clearing for this one.
    const size_t size = static_cast<size_t>(width) * 4 * static_cast<size_t>(height);
    if (into->size < size) {
      ReleaseSharedBlock(*into);
      MapSharedBlock(NewSharedMemoryFile(), size, true, *into);
    }
    picture = into->data ? FreeImage_ConvertFromRawBitsEx(FALSE, into->data, FIT_BITMAP, width, height, width * 4, 32,
                                                          FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE)
                         : nullptr;
  } else if (bgra) {
    picture = FreeImage_Allocate(width, height, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
  } else {
    // Pixels that need no clearing pass (every row is decoded into) and come
    // in huge pages: a whole picture's worth of page faults is not spent.
    const int pitch = (width * 8 * components + 31) / 32 * 4;
    pixels = LargeBuffer(static_cast<size_t>(pitch) * static_cast<size_t>(height));
    picture = pixels.data() ? FreeImage_ConvertFromRawBitsEx(FALSE, pixels.data(), FIT_BITMAP, width, height, pitch,
                                                             8 * components, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                                             FI_RGBA_BLUE_MASK, FALSE)
                            : nullptr;
  }
  if (!picture) {
    Destroy(s);
    return false;
  }
  if (components == 1 && !bgra) {
    RGBQUAD* palette = FreeImage_GetPalette(picture);
    for (int i = 0; i < 256; ++i) palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
  }
  if (s.info.density_unit == 1) {
    FreeImage_SetDotsPerMeterX(picture, static_cast<unsigned>(static_cast<float>(s.info.X_density) / 0.0254 + 0.5));
    FreeImage_SetDotsPerMeterY(picture, static_cast<unsigned>(static_cast<float>(s.info.Y_density) / 0.0254 + 0.5));
  } else if (s.info.density_unit == 2) {
    FreeImage_SetDotsPerMeterX(picture, static_cast<unsigned>(s.info.X_density * 100));
    FreeImage_SetDotsPerMeterY(picture, static_cast<unsigned>(s.info.Y_density * 100));
  }
  decoder.picture = picture;
  decoder.decodedBitDepth = 8 * components;
  decoder.pixels = std::move(pixels);
  decoder.state = std::move(state);
  return true;
}

bool DecodeJpegRows(JpegRowDecoder& decoder, int rows) {
  if (!decoder.state || !decoder.state->created) return false;
  JpegRowDecoderState& s = *decoder.state;
  if (setjmp(s.escape)) {
    Destroy(s);
    return false;
  }
  const int height = static_cast<int>(s.info.output_height);
  const int width = static_cast<int>(s.info.output_width);
  for (int i = 0; i < rows && decoder.rowsDone < height; ++i) {
    JSAMPROW row = FreeImage_GetScanLine(decoder.picture, height - 1 - decoder.rowsDone);
    jpeg_read_scanlines(&s.info, &row, 1);
    if (s.info.out_color_space != JCS_EXT_BGRA && s.info.output_components == 3) {
      // libjpeg gives red first; FreeImage keeps blue first.
      for (int x = 0; x < width; ++x) std::swap(row[x * 3], row[x * 3 + 2]);
    }
    ++decoder.rowsDone;
  }
  if (decoder.rowsDone == height && !s.finished) {
    jpeg_finish_decompress(&s.info);
    s.finished = true;
  }
  return true;
}

void FinishJpegRows(JpegRowDecoder& decoder) {
  if (decoder.state) Destroy(*decoder.state);
  decoder.state.reset();
}

}  // namespace jpg2dds
