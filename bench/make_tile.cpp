// Makes the large baseline test tile from a real photo: the photo scaled
// with FreeImage's bicubic filter until it covers SIZE x SIZE, its centre
// square cut out and written by libjpeg as a baseline JPEG of quality 90
// with 4:2:0 chroma subsampling (libjpeg's defaults at that quality).
//
// Usage: jpg2dds_make_tile IN.jpg OUT.jpg SIZE
#include <FreeImage.h>

// jpeglib.h needs size_t and FILE declared first.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// Writes a 24-bit FreeImage bitmap (bottom row first, blue first) top row
// first, red first.
bool SaveBaseline(FIBITMAP* picture, const char* path, int quality) {
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.comp_info[0].h_samp_factor = 2;
  info.comp_info[0].v_samp_factor = 2;
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    const BYTE* bits = FreeImage_GetScanLine(picture, height - 1 - y);
    for (int x = 0; x < width; ++x) {
      row[x * 3] = bits[x * 3 + FI_RGBA_RED];
      row[x * 3 + 1] = bits[x * 3 + FI_RGBA_GREEN];
      row[x * 3 + 2] = bits[x * 3 + FI_RGBA_BLUE];
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: jpg2dds_make_tile IN.jpg OUT.jpg SIZE\n");
    return 2;
  }
  const int size = std::atoi(argv[3]);
  FIBITMAP* photo = FreeImage_Load(FIF_JPEG, argv[1], JPEG_ACCURATE);
  if (!photo || size <= 0) return 1;
  const double w = FreeImage_GetWidth(photo), h = FreeImage_GetHeight(photo);
  const double scale = size / (w < h ? w : h);
  const int coverW = static_cast<int>(w * scale + 0.5), coverH = static_cast<int>(h * scale + 0.5);
  FIBITMAP* cover = FreeImage_Rescale(photo, coverW < size ? size : coverW, coverH < size ? size : coverH,
                                      FILTER_BICUBIC);
  FreeImage_Unload(photo);
  if (!cover) return 1;
  const int left = (static_cast<int>(FreeImage_GetWidth(cover)) - size) / 2;
  const int top = (static_cast<int>(FreeImage_GetHeight(cover)) - size) / 2;
  FIBITMAP* tile = FreeImage_Copy(cover, left, top, left + size, top + size);
  FreeImage_Unload(cover);
  FIBITMAP* tile24 = tile ? FreeImage_ConvertTo24Bits(tile) : nullptr;
  if (tile) FreeImage_Unload(tile);
  const bool saved = tile24 && SaveBaseline(tile24, argv[2], 90);
  if (tile24) FreeImage_Unload(tile24);
  return saved ? 0 : 1;
}
