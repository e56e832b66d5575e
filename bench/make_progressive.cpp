// Makes the large progressive test photo from a real one: rescaled with
// FreeImage's bicubic filter and saved as a progressive JPEG of quality 100
// without chroma subsampling (what image editors write at that quality).
//
// Usage: jpg2dds_make_progressive IN.jpg OUT.jpg WIDTH HEIGHT
#include <FreeImage.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: jpg2dds_make_progressive IN.jpg OUT.jpg WIDTH HEIGHT\n");
    return 2;
  }
  FIBITMAP* photo = FreeImage_Load(FIF_JPEG, argv[1], JPEG_ACCURATE);
  FIBITMAP* scaled = photo ? FreeImage_Rescale(photo, std::atoi(argv[3]), std::atoi(argv[4]), FILTER_BICUBIC) : nullptr;
  const bool saved = scaled && FreeImage_Save(FIF_JPEG, scaled, argv[2], 100 | JPEG_PROGRESSIVE | JPEG_SUBSAMPLING_444);
  if (scaled) FreeImage_Unload(scaled);
  if (photo) FreeImage_Unload(photo);
  return saved ? 0 : 1;
}
