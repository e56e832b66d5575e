// Keyword tables of choice settings, and the readers of plain numbers in
// option values.
#pragma once
#include <cstdint>
#include <string>

namespace jpg2dds {

struct Keyword {
  const char* word;
  int32_t value;
};

struct KeywordTable {
  const char* name;
  const Keyword* entries;
  int count;
};

extern const KeywordTable kDdsLoadAsKeywords;
extern const KeywordTable kRawLoadAsKeywords;
extern const KeywordTable kFrameLoadingKeywords;
extern const KeywordTable kToneMappingKeywords;
extern const KeywordTable kCompressionKeywords;
extern const KeywordTable kDdsCompressionKeywords;
extern const KeywordTable kDdsQualityKeywords;
extern const KeywordTable kColorTableKeywords;
extern const KeywordTable kColorModelKeywords;
extern const KeywordTable kChromaSubsamplingKeywords;
extern const KeywordTable kJpegSaveAsKeywords;
extern const KeywordTable kRotationTypeKeywords;
extern const KeywordTable kSizeUnitKeywords;
extern const KeywordTable kResizeTypeKeywords;
extern const KeywordTable kResizeAlgorithmKeywords;
extern const KeywordTable kFrameKindKeywords;      // report only
extern const KeywordTable kWatermarkKindKeywords;  // report only
extern const KeywordTable kFontStyleKeywords;
extern const KeywordTable kFontEffectKeywords;
extern const KeywordTable kTextAlignmentKeywords;
extern const KeywordTable kBoundaryKeywords;
extern const KeywordTable kPositionKeywords;
extern const KeywordTable kWatermarkSizeKeywords;
extern const KeywordTable kFileTimestampKeywords;

// The number of the keyword equal to the upper-cased text; 0 when none is.
int32_t KeywordToValue(const KeywordTable& table, const std::string& text);

// The first keyword with that number, in lower case; empty when none has it.
std::string ValueToKeyword(const KeywordTable& table, int32_t value);

// Option integer reader: blanks/tabs skipped, optional sign, "$" hex or "%"
// binary or decimal digits up to the first other character, 64-bit
// accumulation, low 32 bits kept as a signed value.
int32_t ReadOptionInteger(const std::string& text);

// Option real reader: "+Infinity", "-Infinity", "NaN" in any case, else a
// C-locale decimal prefix; 0 without one.
float ReadOptionReal(const std::string& text);

// Values of the choice settings the pipeline branches on.
namespace choice {
inline constexpr int kDdsAuto = 0, kDdsDxt1 = 1, kDdsDxt5 = 2, kDdsNone = 3;
inline constexpr int kDdsQualityNormal = 0, kDdsQualityBest = 1;
inline constexpr int kRotationSimple = 0, kRotationAdvanced = 1;
inline constexpr int kUnitPixels = 0, kUnitPercent = 1;
inline constexpr int kResizeAllImages = 0, kResizeLargeImages = 1;
inline constexpr int kFilterBox = 0, kFilterBilinear = 1, kFilterBspline = 2, kFilterBicubic = 3,
                     kFilterCatmullRom = 4, kFilterLanczos = 5;
inline constexpr int kFrameNone = 0, kFrameSolid = 1;
inline constexpr int kWatermarkNone = 0, kWatermarkText = 1, kWatermarkImage = 2;
inline constexpr int kStyleRegular = 0, kStyleBold = 1, kStyleItalic = 2, kStyleBoldItalic = 3;
inline constexpr int kEffectNone = 0, kEffectUnderline = 1, kEffectStrikeThrough = 2;
inline constexpr int kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2;
inline constexpr int kBoundaryImage = 0, kBoundaryFrame = 1;
inline constexpr int kTopLeft = 0, kTopCenter = 1, kTopRight = 2, kMiddleLeft = 3, kMiddleCenter = 4,
                     kMiddleRight = 5, kBottomLeft = 6, kBottomCenter = 7, kBottomRight = 8;
inline constexpr int kTimestampCurrent = 0, kTimestampOriginal = 1, kTimestampCustom = 2;
}  // namespace choice

}  // namespace jpg2dds
