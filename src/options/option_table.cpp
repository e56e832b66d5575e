#include "options/option_table.h"

#include "settings/setting_values.h"

namespace jpg2dds {
namespace {

using K = OptionKind;

constexpr OptionRow KeywordRow(const char* name, const char* group, const char* key, const KeywordTable& table) {
  return {name, group, key, K::kKeyword, &table, 0, nullptr, nullptr, 0};
}

constexpr OptionRow IntegerRow(const char* name, const char* group, const char* key,
                           const char* alsoGroup = nullptr, const char* alsoKey = nullptr) {
  return {name, group, key, K::kInteger, nullptr, 0, alsoGroup, alsoKey, 1};
}

constexpr OptionRow TextRow(const char* name, const char* group, const char* key,
                         const char* alsoKey = nullptr, int32_t alsoValue = 0) {
  return {name, group, key, K::kText, nullptr, 0, alsoKey ? group : nullptr, alsoKey, alsoValue};
}

constexpr OptionRow FlagRow(const char* name, const char* group, const char* key, int32_t value,
                         const char* alsoKey = nullptr) {
  return {name, group, key, K::kFlag, nullptr, value, alsoKey ? group : nullptr, alsoKey, 1};
}

constexpr OptionRow BatchInputRow(const char* name, BatchInputKind kind) {
  return {name, nullptr, nullptr, K::kBatchInput, nullptr, static_cast<int32_t>(kind), nullptr, nullptr, 0};
}

std::string TrimBlanks(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::string StripOuterQuotes(const std::string& text) {
  size_t begin = text.find_first_not_of('"');
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of('"') - begin + 1);
}

}  // namespace

const OptionRow kOptionRows[] = {
    KeywordRow("--DDS-LOAD-AS", "Input", "DDS Load As", kDdsLoadAsKeywords),
    KeywordRow("--GIF-FRAME-LOADING", "Input", "GIF Frame Loading", kFrameLoadingKeywords),
    KeywordRow("--ICO-FRAME-LOADING", "Input", "ICO Frame Loading", kFrameLoadingKeywords),
    KeywordRow("--PSD-COLOR-MODEL", "Input", "PSD Color Model", kColorModelKeywords),
    KeywordRow("--RAW-LOAD-AS", "Input", "RAW Load As", kRawLoadAsKeywords),
    IntegerRow("--RAW-HEADER-SIZE", "Input", "RAW Header Size"),
    IntegerRow("--RAW-WIDTH", "Input", "RAW Image Width"),
    IntegerRow("--RAW-HEIGHT", "Input", "RAW Image Height"),
    KeywordRow("--RAW-TONE-MAPPING", "Input", "RAW Tone Mapping", kToneMappingKeywords),
    KeywordRow("--TIFF-FRAME-LOADING", "Input", "TIFF Frame Loading", kFrameLoadingKeywords),
    IntegerRow("--BMP-BPP", "Output", "BMP BPP"),
    KeywordRow("--BMP-COMPRESSION", "Output", "BMP Compression", kCompressionKeywords),
    KeywordRow("--BMP-COLOR-TABLE", "Output", "BMP Color Table", kColorTableKeywords),
    IntegerRow("--DDS-BPP", "Output", "DDS BPP"),
    KeywordRow("--DDS-COMPRESSION", "Output", "DDS Compression", kDdsCompressionKeywords),
    KeywordRow("--DDS-QUALITY", "Output", "DDS Quality", kDdsQualityKeywords),
    IntegerRow("--EXR-BPP", "Output", "EXR BPP"),
    KeywordRow("--EXR-COMPRESSION", "Output", "EXR Compression", kCompressionKeywords),
    IntegerRow("--GIF-BPP", "Output", "GIF BPP"),
    IntegerRow("--HDR-BPP", "Output", "HDR BPP"),
    IntegerRow("--ICO-BPP", "Output", "ICO BPP"),
    IntegerRow("--J2K-BPP", "Output", "J2K BPP"),
    IntegerRow("--JNG-BPP", "Output", "JNG BPP"),
    IntegerRow("--JP2-BPP", "Output", "JP2 BPP"),
    IntegerRow("--JPG-BPP", "Output", "JPG BPP"),
    IntegerRow("--JPG-QUALITY", "Output", "JPG Quality"),
    KeywordRow("--JPG-CHROMA", "Output", "JPG Chroma", kChromaSubsamplingKeywords),
    KeywordRow("--JPG-SAVE-AS", "Output", "JPG Save As", kJpegSaveAsKeywords),
    IntegerRow("--JXR-BPP", "Output", "JXR BPP"),
    IntegerRow("--PBM-BPP", "Output", "PBM BPP"),
    IntegerRow("--PCX-BPP", "Output", "PCX BPP"),
    IntegerRow("--PFM-BPP", "Output", "PFM BPP"),
    IntegerRow("--PGM-BPP", "Output", "PGM BPP"),
    IntegerRow("--PNG-BPP", "Output", "PNG BPP"),
    KeywordRow("--PNG-COMPRESSION", "Output", "PNG Compression", kCompressionKeywords),
    FlagRow("--PNG-INTERLACED", "Output", "PNG Interlaced", 1),
    IntegerRow("--PPM-BPP", "Output", "PPM BPP"),
    IntegerRow("--PSD-BPP", "Output", "PSD BPP"),
    IntegerRow("--TGA-BPP", "Output", "TGA BPP"),
    KeywordRow("--TGA-COMPRESSION", "Output", "TGA Compression", kCompressionKeywords),
    IntegerRow("--TIFF-BPP", "Output", "TIFF BPP"),
    KeywordRow("--TIFF-COMPRESSION", "Output", "TIFF Compression", kCompressionKeywords),
    KeywordRow("--TIFF-COLOR-MODEL", "Output", "TIFF Color Model", kColorModelKeywords),
    IntegerRow("--WBMP-BPP", "Output", "WBMP BPP"),
    IntegerRow("--WEBP-BPP", "Output", "WEBP BPP"),
    IntegerRow("--WEBP-QUALITY", "Output", "WEBP Quality"),
    IntegerRow("--XPM-BPP", "Output", "XPM BPP"),
    KeywordRow("--ROTATION-TYPE", "Transform", "Image Rotation Type", kRotationTypeKeywords),
    IntegerRow("--ROTATION", "Transform", "Image Rotation", "Transform", "Do Image Rotation"),
    TextRow("--ROTATION-BACK-COLOR", "Transform", "Image Rotation Back Color"),
    IntegerRow("--WIDTH", "Transform", "Image Width", "Transform", "Do Image Resize"),
    KeywordRow("--WIDTH-UNIT", "Transform", "Image Width Unit", kSizeUnitKeywords),
    IntegerRow("--HEIGHT", "Transform", "Image Height", "Transform", "Do Image Resize"),
    KeywordRow("--HEIGHT-UNIT", "Transform", "Image Height Unit", kSizeUnitKeywords),
    FlagRow("--KEEP-ASPECT-RATIO", "Transform", "Keep Aspect Ratio", 1),
    KeywordRow("--RESIZE-TYPE", "Transform", "Image Resize Type", kResizeTypeKeywords),
    KeywordRow("--RESIZE-ALGORITHM", "Transform", "Image Resize Algorithm", kResizeAlgorithmKeywords),
    FlagRow("--FLIP-HORIZONTAL", "Transform", "Do Image Flip Horizontal", 1),
    FlagRow("--FLIP-VERTICAL", "Transform", "Do Image Flip Vertical", 1),
    IntegerRow("--BRIGHTNESS", "Adjustment", "Image Brightness", "Adjustment", "Do Image Color Correction"),
    IntegerRow("--CONTRAST", "Adjustment", "Image Contrast", "Adjustment", "Do Image Color Correction"),
    {"--GAMMA", "Adjustment", "Image Gamma", K::kReal, nullptr, 0, "Adjustment", "Do Image Color Correction", 1},
    FlagRow("--INVERT", "Adjustment", "Image Invert", 1, "Do Image Color Correction"),
    FlagRow("--GREYSCALE", "Adjustment", "Do Image Greyscale", 1),
    IntegerRow("--THRESHOLD", "Adjustment", "Image Threshold", "Adjustment", "Do Image Threshold"),
    IntegerRow("--FR-SOLID-LEFT", "Frame", "Solid Left", "Frame", "Do Frame"),
    IntegerRow("--FR-SOLID-RIGHT", "Frame", "Solid Right", "Frame", "Do Frame"),
    IntegerRow("--FR-SOLID-TOP", "Frame", "Solid Top", "Frame", "Do Frame"),
    IntegerRow("--FR-SOLID-BOTTOM", "Frame", "Solid Bottom", "Frame", "Do Frame"),
    TextRow("--FR-SOLID-LEFT-COLOR", "Frame", "Solid Left Color"),
    TextRow("--FR-SOLID-RIGHT-COLOR", "Frame", "Solid Right Color"),
    TextRow("--FR-SOLID-TOP-COLOR", "Frame", "Solid Top Color"),
    TextRow("--FR-SOLID-BOTTOM-COLOR", "Frame", "Solid Bottom Color"),
    IntegerRow("--FR-SOLID-OPACITY", "Frame", "Solid Opacity"),
    TextRow("--WM-TEXT", "Watermark", "Text", "Do Watermark", 1),
    TextRow("--WM-FONT", "Watermark", "Font"),
    IntegerRow("--WM-FONT-SIZE", "Watermark", "Font Size"),
    IntegerRow("--WM-FONT-LEADING", "Watermark", "Font Leading"),
    TextRow("--WM-FONT-COLOR", "Watermark", "Font Color"),
    KeywordRow("--WM-FONT-STYLE", "Watermark", "Font Style", kFontStyleKeywords),
    KeywordRow("--WM-FONT-EFFECT", "Watermark", "Font Effect", kFontEffectKeywords),
    FlagRow("--WM-TEXT-ANTIALIASING", "Watermark", "Text Antialiasing", 1),
    KeywordRow("--WM-TEXT-ALIGNMENT", "Watermark", "Text Alignment", kTextAlignmentKeywords),
    IntegerRow("--WM-TEXT-PADDING", "Watermark", "Text Padding"),
    IntegerRow("--WM-TEXT-OPACITY", "Watermark", "Text Opacity"),
    TextRow("--WM-BACK-COLOR", "Watermark", "Back Color"),
    IntegerRow("--WM-BACK-OPACITY", "Watermark", "Back Opacity"),
    KeywordRow("--WM-TEXT-BOUNDARY", "Watermark", "Text Boundary", kBoundaryKeywords),
    KeywordRow("--WM-TEXT-POSITION", "Watermark", "Text Position", kPositionKeywords),
    IntegerRow("--WM-TEXT-X-OFFSET", "Watermark", "Text X Offset"),
    IntegerRow("--WM-TEXT-Y-OFFSET", "Watermark", "Text Y Offset"),
    IntegerRow("--WM-TEXT-ROTATION", "Watermark", "Text Rotation"),
    KeywordRow("--WM-TEXT-SIZE", "Watermark", "Text Size", kWatermarkSizeKeywords),
    TextRow("--WM-IMAGE", "Watermark", "Image", "Do Watermark", 2),
    FlagRow("--WM-IMAGE-GREYSCALE", "Watermark", "Image Greyscale", 1),
    IntegerRow("--WM-IMAGE-OPACITY", "Watermark", "Image Opacity"),
    KeywordRow("--WM-IMAGE-BOUNDARY", "Watermark", "Image Boundary", kBoundaryKeywords),
    KeywordRow("--WM-IMAGE-POSITION", "Watermark", "Image Position", kPositionKeywords),
    IntegerRow("--WM-IMAGE-X-OFFSET", "Watermark", "Image X Offset"),
    IntegerRow("--WM-IMAGE-Y-OFFSET", "Watermark", "Image Y Offset"),
    IntegerRow("--WM-IMAGE-ROTATION", "Watermark", "Image Rotation"),
    KeywordRow("--WM-IMAGE-SIZE", "Watermark", "Image Size", kWatermarkSizeKeywords),
    {"--FILENAME-MASK", "Advanced", "Filename Mask", K::kTextUnquoted, nullptr, 0, nullptr, nullptr, 0},
    KeywordRow("--FILE-TIMESTAMP", "Advanced", "File Timestamp", kFileTimestampKeywords),
    IntegerRow("--FILE-TIMESTAMP-CUSTOM", "Advanced", "Custom Timestamp"),
    FlagRow("--NO-SUBFOLDERS", "Advanced", "Keep Subfolders", 0),
    BatchInputRow("--INPUT-FOLDER", BatchInputKind::kFolder),
    BatchInputRow("--INPUT-LIST", BatchInputKind::kList),
    FlagRow("--RECURSIVE", "Advanced", "Recursive Folders", 1),
    IntegerRow("--THREADS", "Advanced", "Threads"),
    TextRow("--REPORT", "Advanced", "Report File"),
    FlagRow("--EXIT-CODE", "Advanced", "Exit Code", 1),
    FlagRow("--SKIP-UP-TO-DATE", "Advanced", "Skip Up To Date", 1),
};

const int kOptionRowCount = static_cast<int>(sizeof(kOptionRows) / sizeof(kOptionRows[0]));

const OptionRow* FindOptionRow(const std::string& upperName) {
  for (int i = 0; i < kOptionRowCount; ++i) {
    if (upperName == kOptionRows[i].name) return &kOptionRows[i];
  }
  return nullptr;
}

void ApplyOptionRow(const OptionRow& row, const std::string& value, OptionSource source,
                    ConversionSettings& settings) {
  if (row.kind == OptionKind::kBatchInput) {
    settings.batchInputs.push_back(BatchInput{static_cast<BatchInputKind>(row.fixedValue), value});
    return;
  }
  const SettingField* field = FindSettingField(row.group, row.key);
  if (!field) return;  // a misnamed row; the option table test catches it
  switch (row.kind) {
    case OptionKind::kKeyword:
      StoreSettingNumber(settings, *field, KeywordToValue(*row.keywords, TrimBlanks(value)));
      break;
    case OptionKind::kInteger:
      StoreSettingNumber(settings, *field, ReadOptionInteger(value));
      break;
    case OptionKind::kReal:
      StoreSettingReal(settings, *field, ReadOptionReal(value));
      break;
    case OptionKind::kText:
      StoreSettingText(settings, *field, value);
      break;
    case OptionKind::kTextUnquoted:
      // Quotes let a profile keep blanks at the ends of a mask; the shell has
      // already removed those of a command-line value.
      StoreSettingText(settings, *field, source == OptionSource::kProfile ? StripOuterQuotes(value) : value);
      break;
    case OptionKind::kFlag:
      StoreSettingNumber(settings, *field, row.fixedValue);
      break;
    case OptionKind::kBatchInput:
      break;  // handled above: it names no setting
  }
  if (row.alsoKey) {
    if (const SettingField* also = FindSettingField(row.alsoGroup, row.alsoKey)) {
      StoreSettingNumber(settings, *also, row.alsoValue);
    }
  }
}

}  // namespace jpg2dds
