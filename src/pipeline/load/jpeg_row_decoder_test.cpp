#include "pipeline/load/jpeg_row_decoder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::TempFolder;

bool SameBitmap(FIBITMAP* a, FIBITMAP* b) {
  if (!a || !b || FreeImage_GetWidth(a) != FreeImage_GetWidth(b) || FreeImage_GetHeight(a) != FreeImage_GetHeight(b) ||
      FreeImage_GetBPP(a) != FreeImage_GetBPP(b) || FreeImage_GetDotsPerMeterX(a) != FreeImage_GetDotsPerMeterX(b)) {
    return false;
  }
  for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y) {
    if (std::memcmp(FreeImage_GetScanLine(a, y), FreeImage_GetScanLine(b, y), FreeImage_GetLine(a)) != 0) return false;
  }
  if (FreeImage_GetBPP(a) == 8) return std::memcmp(FreeImage_GetPalette(a), FreeImage_GetPalette(b), 1024) == 0;
  return true;
}

FIBITMAP* FreeImageDecode(std::string& jpeg) {
  FIMEMORY* memory = FreeImage_OpenMemory(reinterpret_cast<BYTE*>(jpeg.data()), static_cast<DWORD>(jpeg.size()));
  FIBITMAP* picture = FreeImage_LoadFromMemory(FIF_JPEG, memory, JPEG_ACCURATE);
  FreeImage_CloseMemory(memory);
  return picture;
}

// Decodes in uneven steps, as the encoder asks for rows; the picture is
// null when decoding failed.
void RowDecode(const std::string& jpeg, JpegRowDecoder& decoder, RowLayout layout = RowLayout::kAsDecoded) {
  if (!StartJpegRows(jpeg, decoder, layout)) return;
  bool ok = true;
  for (int step = 1; ok && decoder.rowsDone < static_cast<int>(FreeImage_GetHeight(decoder.picture)); step += 2) {
    ok = DecodeJpegRows(decoder, step);
  }
  FinishJpegRows(decoder);
  if (!ok) {
    FreeImage_Unload(decoder.picture);
    decoder.picture = nullptr;
  }
}

// Every kind of file the photos come as: baseline and progressive, each
// chroma subsampling, grey, sizes that are no multiple of a block, and
// damaged ones. The row decoder gives FreeImage's bitmap, byte for byte, or
// fails where FreeImage fails; in the 32-bit layout, FreeImage's bitmap
// converted to 32 bits.
TEST(JpegRowDecoder, GivesFreeImagesBitmapForEveryKindOfFile) {
  TempFolder folder;
  const int kinds[] = {JPEG_SUBSAMPLING_444, JPEG_SUBSAMPLING_420, JPEG_SUBSAMPLING_422, JPEG_SUBSAMPLING_411,
                       JPEG_PROGRESSIVE | JPEG_SUBSAMPLING_444, JPEG_PROGRESSIVE | JPEG_SUBSAMPLING_420};
  const int sizes[][2] = {{1, 1}, {17, 9}, {33, 65}, {64, 48}};
  for (bool grey : {false, true}) {
    for (int kind : kinds) {
      for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(kind) + (grey ? " grey " : " ") + std::to_string(size[0]) + "x" +
                     std::to_string(size[1]));
        FIBITMAP* source =
            testing::MakePicture(size[0], size[1], [](int x, int y) { return uint32_t(x * 37 + y * 11) * 0x010305u; }, grey);
        ASSERT_TRUE(FreeImage_Save(FIF_JPEG, source, folder.File("a.jpg").c_str(), 90 | kind));
        FreeImage_Unload(source);
        std::string jpeg = testing::ReadBytes(folder.File("a.jpg"));
        for (size_t cut : {jpeg.size(), jpeg.size() * 2 / 3, size_t{300}}) {
          std::string bytes = jpeg.substr(0, cut);
          FIBITMAP* theirs = FreeImageDecode(bytes);
          JpegRowDecoder decoder;
          RowDecode(bytes, decoder);
          FIBITMAP* ours = decoder.picture;
          EXPECT_EQ(ours != nullptr, theirs != nullptr) << "cut at " << cut;
          if (ours && theirs) {
            EXPECT_TRUE(SameBitmap(ours, theirs)) << "cut at " << cut;
          }
          if (ours) FreeImage_Unload(ours);
          JpegRowDecoder bgra;
          RowDecode(bytes, bgra, RowLayout::kBgra32);
          EXPECT_EQ(bgra.picture != nullptr, theirs != nullptr) << "32 bits, cut at " << cut;
          if (bgra.picture && theirs) {
            FIBITMAP* theirs32 = FreeImage_ConvertTo32Bits(theirs);
            EXPECT_TRUE(SameBitmap(bgra.picture, theirs32)) << "32 bits, cut at " << cut;
            EXPECT_EQ(bgra.decodedBitDepth, static_cast<int>(FreeImage_GetBPP(theirs)));
            FreeImage_Unload(theirs32);
          }
          if (bgra.picture) FreeImage_Unload(bgra.picture);
          if (theirs) FreeImage_Unload(theirs);
        }
      }
    }
  }
}

TEST(JpegRowDecoder, RefusesWhatItCannotDecode) {
  JpegRowDecoder decoder;
  EXPECT_FALSE(StartJpegRows("", decoder));
  EXPECT_FALSE(StartJpegRows("not a picture", decoder));
  EXPECT_EQ(decoder.picture, nullptr);
}

}  // namespace
}  // namespace jpg2dds
