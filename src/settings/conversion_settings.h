// The one record of every conversion setting, named by configuration group
// and key, with the defaults of the console and windowed front ends.
#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jpg2dds {

enum class DefaultsVariant { kConsole, kWindowed };

// A folder or a list file named as input, besides the one -i file.
enum class BatchInputKind { kFolder, kList };

struct BatchInput {
  BatchInputKind kind;
  std::string path;  // as named; a list "-" is standard input
};

struct ConversionSettings {
  // Not settings: the configuration file path (empty in a command-line run).
  // The lock and the windowed front end's handles live elsewhere on this
  // platform.
  std::string configurationPath;
  // Not settings either: the input folders and lists, in the order named on
  // the command line and in profiles. ApplyDefaults leaves them alone.
  std::vector<BatchInput> batchInputs;

  // [General]
  int32_t cfg;
  std::string language;
  int32_t updateRange;
  int32_t updateDate;
  int8_t saveWindowPosition;
  // [Window]
  int8_t isMaximized;
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  int8_t hidePasswords;
  int8_t showSinglePassword;
  int8_t showPasswordList;
  int8_t showCharacterSet;
  int8_t showAdvancedOptions;
  // [Interface]
  std::string uiTheme;
  int32_t uiSize;
  // [Input]
  std::string inputFormat;
  int32_t ddsLoadAs;
  int32_t gifFrameLoading;
  int32_t icoFrameLoading;
  int32_t tiffFrameLoading;
  int32_t psdColorModel;
  int32_t rawLoadAs;
  int32_t rawHeaderSize;
  int32_t rawImageWidth;
  int32_t rawImageHeight;
  int32_t rawToneMapping;
  // [Output]
  std::string outputFormat;
  int32_t bmpBpp;
  int32_t bmpCompression;
  int32_t bmpColorTable;
  int32_t ddsBpp;
  int8_t ddsCompression;  // not written to the configuration file, whose layout is fixed
  int8_t ddsQuality;      // the same
  int32_t exrBpp;
  int32_t exrCompression;
  int32_t gifBpp;
  int32_t hdrBpp;
  int32_t icoBpp;
  int32_t j2kBpp;
  int32_t jngBpp;
  int32_t jp2Bpp;
  int32_t jpgBpp;
  int32_t jpgQuality;
  int32_t jpgChroma;
  int32_t jpgSaveAs;
  int32_t jxrBpp;
  int32_t pbmBpp;
  int32_t pcxBpp;
  int32_t pfmBpp;
  int32_t pgmBpp;
  int32_t pngBpp;
  int32_t pngCompression;
  int8_t pngInterlaced;
  int32_t ppmBpp;
  int32_t psdBpp;
  int32_t tgaBpp;
  int32_t tgaCompression;
  int32_t tiffBpp;
  int32_t tiffCompression;
  int32_t tiffColorModel;
  int32_t wbmpBpp;
  int32_t webpBpp;
  int32_t webpQuality;
  int32_t xpmBpp;
  // [Transform]
  int8_t doImageRotation;
  int8_t imageRotationType;
  int32_t imageRotation;
  std::string imageRotationBackColor;
  int8_t doImageResize;
  int32_t imageWidth;
  int8_t imageWidthUnit;
  int32_t imageHeight;
  int8_t imageHeightUnit;
  int8_t keepAspectRatio;
  int8_t imageResizeType;
  int8_t imageResizeAlgorithm;
  int8_t doImageFlipHorizontal;
  int8_t doImageFlipVertical;
  // [Adjustment]
  int8_t doImageColorCorrection;
  int32_t imageBrightness;
  int32_t imageContrast;
  float imageGamma;
  int8_t imageInvert;
  int8_t doImageGreyscale;
  int8_t doImageThreshold;
  int32_t imageThreshold;
  // [Frame]
  int8_t doFrame;
  int32_t solidLeft;
  int32_t solidRight;
  int32_t solidTop;
  int32_t solidBottom;
  std::string solidLeftColor;
  std::string solidRightColor;
  std::string solidTopColor;
  std::string solidBottomColor;
  int32_t solidOpacity;
  // [Watermark]
  int8_t doWatermark;
  std::string text;
  std::string fonts;
  std::string font;
  int32_t fontSize;
  int32_t fontLeading;
  std::string fontColors;
  std::string fontColor;
  int8_t fontStyle;
  int8_t fontEffect;
  int8_t textAntialiasing;
  int8_t textAlignment;
  int32_t textPadding;
  int32_t textOpacity;
  std::string backColors;
  std::string backColor;
  int32_t backOpacity;
  int8_t textBoundary;
  int8_t textPosition;
  int32_t textXOffset;
  int32_t textYOffset;
  int32_t textRotation;
  int8_t textSize;
  int32_t textScale;
  std::string image;
  int8_t imageGreyscale;
  int32_t imageOpacity;
  int8_t imageBoundary;
  int8_t imagePosition;
  int32_t imageXOffset;
  int32_t imageYOffset;
  int32_t watermarkImageRotation;  // key "Image Rotation" of group Watermark
  int8_t imageSize;
  int32_t imageScale;
  // [Advanced]
  std::string filenameMask;
  int8_t fileTimestamp;
  int32_t customTimestamp;
  int8_t outFoldersHistory;
  int8_t outFoldersNumber;
  int8_t keepSubfolders;
  // Console only, not written to the configuration file, whose layout is fixed.
  int8_t recursiveFolders;
  int32_t threads;  // 0: as many as the machine has cores
  std::string reportFile;  // the JSON Lines report of the run; empty: none
  int8_t exitCode;         // the exit status tells how the run went
  int8_t skipUpToDate;     // inputs whose output is up to date are skipped
  // [File]
  std::string txtFields;
  std::string csvDelimiter;
  std::string recentOutFolders;
  std::string recentFiles;
  // [Privacy]
  int8_t cleanRecentFiles;
};

// Storage types of the configuration layout.
enum class FieldType { kFlag, kCode8, kInt8, kCode32, kInt, kReal, kTime, kText, kColour };

using FieldPointer =
    std::variant<int8_t ConversionSettings::*, int32_t ConversionSettings::*,
                 float ConversionSettings::*, std::string ConversionSettings::*>;

struct SettingField {
  const char* group;
  const char* key;
  FieldType type;
  FieldPointer field;
};

// Every setting in record order (group by group).
extern const SettingField kSettingFields[];
extern const int kSettingFieldCount;

// Looks a field up by group and key, exactly as written in the table; null
// when there is none.
const SettingField* FindSettingField(const char* group, const char* key);

// Sets every setting to its default. `now` is the date value for Update Date
// and Custom Timestamp (two readings, so two arguments). configurationPath is
// left alone.
void ApplyDefaults(ConversionSettings& settings, DefaultsVariant variant,
                   int32_t updateDate, int32_t customTimestamp);

// Same, reading the local clock twice.
void ApplyDefaults(ConversionSettings& settings, DefaultsVariant variant);

}  // namespace jpg2dds
