#include "pipeline/edits/color_adjust.h"

#include "pipeline/step_contract.h"

namespace jpg2dds {

FIBITMAP* ApplyColorCorrection(FIBITMAP* picture, const ConversionSettings& settings) {
  if (!picture || !settings.doImageColorCorrection) return picture;
  FreeImage_AdjustColors(picture, settings.imageBrightness, settings.imageContrast, settings.imageGamma,
                         settings.imageInvert ? TRUE : FALSE);
  return picture;
}

FIBITMAP* ApplyGreyscale(FIBITMAP* picture, const ConversionSettings& settings) {
  if (!picture || !settings.doImageGreyscale) return picture;
  return ReplacePicture(picture, FreeImage_ConvertToGreyscale(picture));
}

FIBITMAP* ApplyThreshold(FIBITMAP* picture, const ConversionSettings& settings) {
  if (!picture || !settings.doImageThreshold) return picture;
  const BYTE threshold = static_cast<BYTE>(settings.imageThreshold & 0xFF);
  return ReplacePicture(picture, FreeImage_Threshold(picture, threshold));
}

}  // namespace jpg2dds
