// Makes the large progressive test photo from a real one: rescaled with
// FreeImage's bicubic filter and saved as a progressive JPEG of quality 100
// without chroma subsampling (what image editors write at that quality), or
// with the subsampling named (422 or 420, as cameras write).
//
// Usage: jpg2dds_make_progressive IN.jpg OUT.jpg WIDTH HEIGHT [444|422|420]
#include <FreeImage.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  const char* sampling = argc == 6 ? argv[5] : "444";
  const int samplingFlag = std::strcmp(sampling, "444") == 0   ? JPEG_SUBSAMPLING_444
                           : std::strcmp(sampling, "422") == 0 ? JPEG_SUBSAMPLING_422
                           : std::strcmp(sampling, "420") == 0 ? JPEG_SUBSAMPLING_420
                                                               : -1;
  if ((argc != 5 && argc != 6) || samplingFlag < 0) {
    std::fprintf(stderr, "usage: jpg2dds_make_progressive IN.jpg OUT.jpg WIDTH HEIGHT [444|422|420]\n");
    return 2;
  }
  FIBITMAP* photo = FreeImage_Load(FIF_JPEG, argv[1], JPEG_ACCURATE);
  FIBITMAP* scaled = photo ? FreeImage_Rescale(photo, std::atoi(argv[3]), std::atoi(argv[4]), FILTER_BICUBIC) : nullptr;
  const bool saved = scaled && FreeImage_Save(FIF_JPEG, scaled, argv[2], 100 | JPEG_PROGRESSIVE | samplingFlag);
  if (scaled) FreeImage_Unload(scaled);
  if (photo) FreeImage_Unload(photo);
  return saved ? 0 : 1;
}
