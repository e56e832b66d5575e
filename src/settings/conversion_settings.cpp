#include "settings/conversion_settings.h"

#include <cstring>

#include "app/program_identity.h"
#include "platform/clock.h"

namespace jpg2dds {

using S = ConversionSettings;
using T = FieldType;

// Record order; the configuration file, the report and the option table all
// name fields through this one list.
const SettingField kSettingFields[] = {
    {"General", "CFG", T::kInt, &S::cfg},
    {"General", "Language", T::kText, &S::language},
    {"General", "Update Range", T::kInt, &S::updateRange},
    {"General", "Update Date", T::kTime, &S::updateDate},
    {"General", "Save Window Position", T::kFlag, &S::saveWindowPosition},
    {"Window", "IsMaximized", T::kFlag, &S::isMaximized},
    {"Window", "X", T::kInt, &S::x},
    {"Window", "Y", T::kInt, &S::y},
    {"Window", "Width", T::kInt, &S::width},
    {"Window", "Height", T::kInt, &S::height},
    {"Window", "Hide Passwords", T::kFlag, &S::hidePasswords},
    {"Window", "Show Single Password", T::kFlag, &S::showSinglePassword},
    {"Window", "Show Password List", T::kFlag, &S::showPasswordList},
    {"Window", "Show Character Set", T::kFlag, &S::showCharacterSet},
    {"Window", "Show Advanced Options", T::kFlag, &S::showAdvancedOptions},
    {"Interface", "UI Theme", T::kText, &S::uiTheme},
    {"Interface", "UI Size", T::kInt, &S::uiSize},
    {"Input", "Format", T::kText, &S::inputFormat},
    {"Input", "DDS Load As", T::kCode32, &S::ddsLoadAs},
    {"Input", "GIF Frame Loading", T::kCode32, &S::gifFrameLoading},
    {"Input", "ICO Frame Loading", T::kCode32, &S::icoFrameLoading},
    {"Input", "TIFF Frame Loading", T::kCode32, &S::tiffFrameLoading},
    {"Input", "PSD Color Model", T::kCode32, &S::psdColorModel},
    {"Input", "RAW Load As", T::kCode32, &S::rawLoadAs},
    {"Input", "RAW Header Size", T::kInt, &S::rawHeaderSize},
    {"Input", "RAW Image Width", T::kInt, &S::rawImageWidth},
    {"Input", "RAW Image Height", T::kInt, &S::rawImageHeight},
    {"Input", "RAW Tone Mapping", T::kCode32, &S::rawToneMapping},
    {"Output", "Format", T::kText, &S::outputFormat},
    {"Output", "BMP BPP", T::kInt, &S::bmpBpp},
    {"Output", "BMP Compression", T::kCode32, &S::bmpCompression},
    {"Output", "BMP Color Table", T::kCode32, &S::bmpColorTable},
    {"Output", "DDS BPP", T::kInt, &S::ddsBpp},
    {"Output", "DDS Compression", T::kCode8, &S::ddsCompression},
    {"Output", "DDS Quality", T::kCode8, &S::ddsQuality},
    {"Output", "EXR BPP", T::kInt, &S::exrBpp},
    {"Output", "EXR Compression", T::kCode32, &S::exrCompression},
    {"Output", "GIF BPP", T::kInt, &S::gifBpp},
    {"Output", "HDR BPP", T::kInt, &S::hdrBpp},
    {"Output", "ICO BPP", T::kInt, &S::icoBpp},
    {"Output", "J2K BPP", T::kInt, &S::j2kBpp},
    {"Output", "JNG BPP", T::kInt, &S::jngBpp},
    {"Output", "JP2 BPP", T::kInt, &S::jp2Bpp},
    {"Output", "JPG BPP", T::kInt, &S::jpgBpp},
    {"Output", "JPG Quality", T::kInt, &S::jpgQuality},
    {"Output", "JPG Chroma", T::kCode32, &S::jpgChroma},
    {"Output", "JPG Save As", T::kCode32, &S::jpgSaveAs},
    {"Output", "JXR BPP", T::kInt, &S::jxrBpp},
    {"Output", "PBM BPP", T::kInt, &S::pbmBpp},
    {"Output", "PCX BPP", T::kInt, &S::pcxBpp},
    {"Output", "PFM BPP", T::kInt, &S::pfmBpp},
    {"Output", "PGM BPP", T::kInt, &S::pgmBpp},
    {"Output", "PNG BPP", T::kInt, &S::pngBpp},
    {"Output", "PNG Compression", T::kCode32, &S::pngCompression},
    {"Output", "PNG Interlaced", T::kFlag, &S::pngInterlaced},
    {"Output", "PPM BPP", T::kInt, &S::ppmBpp},
    {"Output", "PSD BPP", T::kInt, &S::psdBpp},
    {"Output", "TGA BPP", T::kInt, &S::tgaBpp},
    {"Output", "TGA Compression", T::kCode32, &S::tgaCompression},
    {"Output", "TIFF BPP", T::kInt, &S::tiffBpp},
    {"Output", "TIFF Compression", T::kCode32, &S::tiffCompression},
    {"Output", "TIFF Color Model", T::kCode32, &S::tiffColorModel},
    {"Output", "WBMP BPP", T::kInt, &S::wbmpBpp},
    {"Output", "WEBP BPP", T::kInt, &S::webpBpp},
    {"Output", "WEBP Quality", T::kInt, &S::webpQuality},
    {"Output", "XPM BPP", T::kInt, &S::xpmBpp},
    {"Transform", "Do Image Rotation", T::kFlag, &S::doImageRotation},
    {"Transform", "Image Rotation Type", T::kCode8, &S::imageRotationType},
    {"Transform", "Image Rotation", T::kInt, &S::imageRotation},
    {"Transform", "Image Rotation Back Color", T::kColour, &S::imageRotationBackColor},
    {"Transform", "Do Image Resize", T::kFlag, &S::doImageResize},
    {"Transform", "Image Width", T::kInt, &S::imageWidth},
    {"Transform", "Image Width Unit", T::kCode8, &S::imageWidthUnit},
    {"Transform", "Image Height", T::kInt, &S::imageHeight},
    {"Transform", "Image Height Unit", T::kCode8, &S::imageHeightUnit},
    {"Transform", "Keep Aspect Ratio", T::kFlag, &S::keepAspectRatio},
    {"Transform", "Image Resize Type", T::kCode8, &S::imageResizeType},
    {"Transform", "Image Resize Algorithm", T::kCode8, &S::imageResizeAlgorithm},
    {"Transform", "Do Image Flip Horizontal", T::kFlag, &S::doImageFlipHorizontal},
    {"Transform", "Do Image Flip Vertical", T::kFlag, &S::doImageFlipVertical},
    {"Adjustment", "Do Image Color Correction", T::kFlag, &S::doImageColorCorrection},
    {"Adjustment", "Image Brightness", T::kInt, &S::imageBrightness},
    {"Adjustment", "Image Contrast", T::kInt, &S::imageContrast},
    {"Adjustment", "Image Gamma", T::kReal, &S::imageGamma},
    {"Adjustment", "Image Invert", T::kFlag, &S::imageInvert},
    {"Adjustment", "Do Image Greyscale", T::kFlag, &S::doImageGreyscale},
    {"Adjustment", "Do Image Threshold", T::kFlag, &S::doImageThreshold},
    {"Adjustment", "Image Threshold", T::kInt, &S::imageThreshold},
    {"Frame", "Do Frame", T::kCode8, &S::doFrame},
    {"Frame", "Solid Left", T::kInt, &S::solidLeft},
    {"Frame", "Solid Right", T::kInt, &S::solidRight},
    {"Frame", "Solid Top", T::kInt, &S::solidTop},
    {"Frame", "Solid Bottom", T::kInt, &S::solidBottom},
    {"Frame", "Solid Left Color", T::kColour, &S::solidLeftColor},
    {"Frame", "Solid Right Color", T::kColour, &S::solidRightColor},
    {"Frame", "Solid Top Color", T::kColour, &S::solidTopColor},
    {"Frame", "Solid Bottom Color", T::kColour, &S::solidBottomColor},
    {"Frame", "Solid Opacity", T::kInt, &S::solidOpacity},
    {"Watermark", "Do Watermark", T::kCode8, &S::doWatermark},
    {"Watermark", "Text", T::kText, &S::text},
    {"Watermark", "Fonts", T::kText, &S::fonts},
    {"Watermark", "Font", T::kText, &S::font},
    {"Watermark", "Font Size", T::kInt, &S::fontSize},
    {"Watermark", "Font Leading", T::kInt, &S::fontLeading},
    {"Watermark", "Font Colors", T::kText, &S::fontColors},
    {"Watermark", "Font Color", T::kColour, &S::fontColor},
    {"Watermark", "Font Style", T::kCode8, &S::fontStyle},
    {"Watermark", "Font Effect", T::kCode8, &S::fontEffect},
    {"Watermark", "Text Antialiasing", T::kFlag, &S::textAntialiasing},
    {"Watermark", "Text Alignment", T::kCode8, &S::textAlignment},
    {"Watermark", "Text Padding", T::kInt, &S::textPadding},
    {"Watermark", "Text Opacity", T::kInt, &S::textOpacity},
    {"Watermark", "Back Colors", T::kText, &S::backColors},
    {"Watermark", "Back Color", T::kColour, &S::backColor},
    {"Watermark", "Back Opacity", T::kInt, &S::backOpacity},
    {"Watermark", "Text Boundary", T::kCode8, &S::textBoundary},
    {"Watermark", "Text Position", T::kCode8, &S::textPosition},
    {"Watermark", "Text X Offset", T::kInt, &S::textXOffset},
    {"Watermark", "Text Y Offset", T::kInt, &S::textYOffset},
    {"Watermark", "Text Rotation", T::kInt, &S::textRotation},
    {"Watermark", "Text Size", T::kCode8, &S::textSize},
    {"Watermark", "Text Scale", T::kInt, &S::textScale},
    {"Watermark", "Image", T::kText, &S::image},
    {"Watermark", "Image Greyscale", T::kFlag, &S::imageGreyscale},
    {"Watermark", "Image Opacity", T::kInt, &S::imageOpacity},
    {"Watermark", "Image Boundary", T::kCode8, &S::imageBoundary},
    {"Watermark", "Image Position", T::kCode8, &S::imagePosition},
    {"Watermark", "Image X Offset", T::kInt, &S::imageXOffset},
    {"Watermark", "Image Y Offset", T::kInt, &S::imageYOffset},
    {"Watermark", "Image Rotation", T::kInt, &S::watermarkImageRotation},
    {"Watermark", "Image Size", T::kCode8, &S::imageSize},
    {"Watermark", "Image Scale", T::kInt, &S::imageScale},
    {"Advanced", "Filename Mask", T::kText, &S::filenameMask},
    {"Advanced", "File Timestamp", T::kCode8, &S::fileTimestamp},
    {"Advanced", "Custom Timestamp", T::kTime, &S::customTimestamp},
    {"Advanced", "Out Folders History", T::kFlag, &S::outFoldersHistory},
    {"Advanced", "Out Folders Number", T::kInt8, &S::outFoldersNumber},
    {"Advanced", "Keep Subfolders", T::kFlag, &S::keepSubfolders},
    {"Advanced", "Recursive Folders", T::kFlag, &S::recursiveFolders},
    {"Advanced", "Threads", T::kInt, &S::threads},
    {"Advanced", "Report File", T::kText, &S::reportFile},
    {"Advanced", "Exit Code", T::kFlag, &S::exitCode},
    {"Advanced", "Skip Up To Date", T::kFlag, &S::skipUpToDate},
    {"File", "TxtFields", T::kText, &S::txtFields},
    {"File", "CsvDelimiter", T::kText, &S::csvDelimiter},
    {"File", "Recent Out Folders", T::kText, &S::recentOutFolders},
    {"File", "Recent Files", T::kText, &S::recentFiles},
    {"Privacy", "Clean Recent Files", T::kFlag, &S::cleanRecentFiles},
};

const int kSettingFieldCount = static_cast<int>(sizeof(kSettingFields) / sizeof(kSettingFields[0]));

const SettingField* FindSettingField(const char* group, const char* key) {
  for (int i = 0; i < kSettingFieldCount; ++i) {
    if (std::strcmp(kSettingFields[i].group, group) == 0 &&
        std::strcmp(kSettingFields[i].key, key) == 0) {
      return &kSettingFields[i];
    }
  }
  return nullptr;
}

void ApplyDefaults(ConversionSettings& s, DefaultsVariant variant, int32_t updateDate,
                   int32_t customTimestamp) {
  s.cfg = 18;
  s.language = "en";
  s.updateRange = 2;
  s.updateDate = updateDate;
  s.saveWindowPosition = 1;

  // No desktop on this platform: the window defaults fall back to 100.
  s.isMaximized = 0;
  s.x = 100;
  s.y = 100;
  s.width = 510;
  s.height = 260;
  s.hidePasswords = 0;
  s.showSinglePassword = 1;
  s.showPasswordList = 1;
  s.showCharacterSet = 1;
  s.showAdvancedOptions = 1;

  s.uiTheme = "handdrawn";
  s.uiSize = 2;

  s.inputFormat = "jpg";  // first of the input type list
  s.ddsLoadAs = 0;
  s.gifFrameLoading = 0;
  s.icoFrameLoading = 0;
  s.tiffFrameLoading = 0;
  s.psdColorModel = 0;
  s.rawLoadAs = 0;
  s.rawHeaderSize = 0;
  s.rawImageWidth = 0;
  s.rawImageHeight = 0;
  s.rawToneMapping = 2;

  s.outputFormat = "dds";  // first of the output type list
  s.bmpBpp = 0;
  s.bmpCompression = 0;
  s.bmpColorTable = 0;
  s.ddsBpp = 0;
  s.ddsCompression = 0;
  s.ddsQuality = 0;
  s.exrBpp = 0;
  s.exrCompression = 0;
  s.gifBpp = 0;
  s.hdrBpp = 0;
  s.icoBpp = 0;
  s.j2kBpp = 0;
  s.jngBpp = 0;
  s.jp2Bpp = 0;
  s.jpgBpp = 0;
  s.jpgQuality = 95;
  s.jpgChroma = 0;
  s.jpgSaveAs = 0;
  s.jxrBpp = 0;
  s.pbmBpp = 0;
  s.pcxBpp = 0;
  s.pfmBpp = 0;
  s.pgmBpp = 0;
  s.pngBpp = 0;
  s.pngCompression = 0;
  s.pngInterlaced = 0;
  s.ppmBpp = 0;
  s.psdBpp = 0;
  s.tgaBpp = 0;
  s.tgaCompression = 0;
  s.tiffBpp = 0;
  s.tiffCompression = 0;
  s.tiffColorModel = 0;
  s.wbmpBpp = 0;
  s.webpBpp = 0;
  s.webpQuality = 100;
  s.xpmBpp = 0;

  s.doImageRotation = 0;
  s.imageRotationType = 0;
  s.imageRotation = 0;
  s.imageRotationBackColor = "000000";
  s.doImageResize = 0;
  s.imageWidth = 0;
  s.imageWidthUnit = 0;
  s.imageHeight = 0;
  s.imageHeightUnit = 0;
  s.keepAspectRatio = variant == DefaultsVariant::kWindowed ? 1 : 0;
  s.imageResizeType = 0;
  s.imageResizeAlgorithm = 3;
  s.doImageFlipHorizontal = 0;
  s.doImageFlipVertical = 0;

  s.doImageColorCorrection = 0;
  s.imageBrightness = 0;
  s.imageContrast = 0;
  s.imageGamma = 1.0f;
  s.imageInvert = 0;
  s.doImageGreyscale = 0;
  s.doImageThreshold = 0;
  s.imageThreshold = 0;

  s.doFrame = 0;
  s.solidLeft = 0;
  s.solidRight = 0;
  s.solidTop = 0;
  s.solidBottom = 0;
  s.solidLeftColor = "000000";
  s.solidRightColor = "000000";
  s.solidTopColor = "000000";
  s.solidBottomColor = "000000";
  s.solidOpacity = 255;

  s.doWatermark = 0;
  s.text = kMakerNotice;
  s.fonts = "Arial,Tahoma,Verdana";
  s.font = "Arial";
  s.fontSize = 14;
  s.fontLeading = 0;
  s.fontColors = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
  s.fontColor = "FFFFFF";
  s.fontStyle = 0;
  s.fontEffect = 0;
  s.textAntialiasing = 0;
  s.textAlignment = 0;
  s.textPadding = 0;
  s.textOpacity = 255;
  s.backColors = "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF";
  s.backColor = "000000";
  s.backOpacity = 1;
  s.textBoundary = 0;
  s.textPosition = 8;
  s.textXOffset = 10;
  s.textYOffset = 10;
  s.textRotation = 0;
  s.textSize = 0;
  s.textScale = 10;
  s.image = "";
  s.imageGreyscale = 0;
  s.imageOpacity = 255;
  s.imageBoundary = 0;
  s.imagePosition = 8;
  s.imageXOffset = 10;
  s.imageYOffset = 10;
  s.watermarkImageRotation = 0;
  s.imageSize = 0;
  s.imageScale = 10;

  s.filenameMask = "%filename%.%ext%";
  s.fileTimestamp = 0;
  s.customTimestamp = customTimestamp;
  s.outFoldersHistory = 1;
  s.outFoldersNumber = 5;
  s.keepSubfolders = 1;
  s.recursiveFolders = 0;
  s.threads = 0;
  s.reportFile = "";
  s.exitCode = 0;
  s.skipUpToDate = 0;

  s.txtFields = "username,password,firstname,lastname,title,sex,notes";
  s.csvDelimiter = ",";
  s.recentOutFolders = "";
  s.recentFiles = "";

  s.cleanRecentFiles = 0;
}

void ApplyDefaults(ConversionSettings& settings, DefaultsVariant variant) {
  int32_t updateDate = CurrentDateValue();
  ApplyDefaults(settings, variant, updateDate, CurrentDateValue());
}

}  // namespace jpg2dds
