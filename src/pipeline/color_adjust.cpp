#include "pipeline/color_adjust.h"

namespace jpg2dds {

FIBITMAP* ApplyColorCorrection(FIBITMAP* picture, const ConversionSettings& settings) {
  if (!picture || !settings.doImageColorCorrection) return picture;
  FreeImage_AdjustColors(picture, settings.imageBrightness, settings.imageContrast, settings.imageGamma,
                         settings.imageInvert ? TRUE : FALSE);
  return picture;
}

FIBITMAP* ApplyGreyscale(FIBITMAP* picture, const ConversionSettings& settings) {
  if (!picture || !settings.doImageGreyscale) return picture;
  FIBITMAP* grey = FreeImage_ConvertToGreyscale(picture);
  FreeImage_Unload(picture);
  return grey;
}

FIBITMAP* ApplyThreshold(FIBITMAP* picture, const ConversionSettings& settings) {
  if (!picture || !settings.doImageThreshold) return picture;
  const BYTE threshold = static_cast<BYTE>(settings.imageThreshold & 0xFF);
  FIBITMAP* blackWhite = FreeImage_Threshold(picture, threshold);
  FreeImage_Unload(picture);
  return blackWhite;
}

}  // namespace jpg2dds
