#include "settings/keywords.h"

#include <cstdlib>
#include <limits>

#include "platform/text_case.h"

namespace jpg2dds {

#define KEYWORD_TABLE(Name, ...)                 \
  static const Keyword Name##Entries[] = {__VA_ARGS__}; \
  const KeywordTable Name = {#Name, Name##Entries,   \
                             static_cast<int>(sizeof(Name##Entries) / sizeof(Keyword))};

KEYWORD_TABLE(kDdsLoadAsKeywords, {"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2})
KEYWORD_TABLE(kRawLoadAsKeywords, {"AUTO", 0}, {"8", 1}, {"16", 2}, {"24", 3}, {"48HS", 4}, {"48", 5})
KEYWORD_TABLE(kFrameLoadingKeywords, {"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4})
KEYWORD_TABLE(kToneMappingKeywords, {"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4})
KEYWORD_TABLE(kCompressionKeywords, {"NONE", 0}, {"RLE", 1}, {"ZIP", 1}, {"PIZ", 2}, {"PXR24", 3},
              {"B44", 4}, {"ZLIB1", 1}, {"ZLIB6", 2}, {"ZLIB9", 3}, {"CCITTFAX3", 1},
              {"CCITTFAX4", 2}, {"PACKBITS", 3}, {"DEFLATE", 4}, {"ADOBEDEFLATE", 5}, {"LZW", 6},
              {"JPEG", 7}, {"LOGLUV", 8})
KEYWORD_TABLE(kDdsCompressionKeywords, {"AUTO", 0}, {"DXT1", 1}, {"DXT5", 2}, {"NONE", 3})
KEYWORD_TABLE(kDdsQualityKeywords, {"NORMAL", 0}, {"BEST", 1})
KEYWORD_TABLE(kColorTableKeywords, {"AUTO", 0}, {"EXACT", 1})
KEYWORD_TABLE(kColorModelKeywords, {"RGB", 0}, {"CMYK", 1}, {"LAB", 2})
KEYWORD_TABLE(kChromaSubsamplingKeywords, {"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3})
KEYWORD_TABLE(kJpegSaveAsKeywords, {"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3})
KEYWORD_TABLE(kRotationTypeKeywords, {"SIMPLE", 0}, {"ADVANCED", 1})
KEYWORD_TABLE(kSizeUnitKeywords, {"PIXELS", 0}, {"PERCENT", 1})
KEYWORD_TABLE(kResizeTypeKeywords, {"ALLIMAGES", 0}, {"LARGEIMAGES", 1})
KEYWORD_TABLE(kResizeAlgorithmKeywords, {"BOX", 0}, {"BILINEAR", 1}, {"BSPLINE", 2}, {"BICUBIC", 3},
              {"CATMULLROM", 4}, {"LANCZOS", 5})
KEYWORD_TABLE(kFrameKindKeywords, {"NONE", 0}, {"SOLID", 1})
KEYWORD_TABLE(kWatermarkKindKeywords, {"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2})
KEYWORD_TABLE(kFontStyleKeywords, {"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3})
KEYWORD_TABLE(kFontEffectKeywords, {"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2})
KEYWORD_TABLE(kTextAlignmentKeywords, {"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2})
KEYWORD_TABLE(kBoundaryKeywords, {"IMAGE", 0}, {"FRAME", 1})
KEYWORD_TABLE(kPositionKeywords, {"TOPLEFT", 0}, {"TOPCENTER", 1}, {"TOPRIGHT", 2},
              {"MIDDLELEFT", 3}, {"MIDDLECENTER", 4}, {"MIDDLERIGHT", 5}, {"BOTTOMLEFT", 6},
              {"BOTTOMCENTER", 7}, {"BOTTOMRIGHT", 8})
KEYWORD_TABLE(kWatermarkSizeKeywords, {"FIXED", 0})
KEYWORD_TABLE(kFileTimestampKeywords, {"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2})

#undef KEYWORD_TABLE

namespace {

int DigitValue(char c, int base) {
  int v;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  else return -1;
  return v < base ? v : -1;
}

}  // namespace

int32_t KeywordToValue(const KeywordTable& table, const std::string& text) {
  std::string upper = UpperCase(text);
  for (int i = 0; i < table.count; ++i) {
    if (upper == table.entries[i].word) return table.entries[i].value;
  }
  return 0;
}

std::string ValueToKeyword(const KeywordTable& table, int32_t value) {
  for (int i = 0; i < table.count; ++i) {
    if (table.entries[i].value == value) return LowerCase(table.entries[i].word);
  }
  return std::string();
}

int32_t ReadOptionInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') { base = 16; ++i; }
  else if (i < text.size() && text[i] == '%') { base = 2; ++i; }
  // Unsigned arithmetic wraps instead of overflowing; only the low 32 bits
  // are kept anyway.
  uint64_t value = 0;
  for (int d; i < text.size() && (d = DigitValue(text[i], base)) >= 0; ++i) {
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
  }
  if (negative) value = ~value + 1;
  return static_cast<int32_t>(static_cast<uint32_t>(value & 0xFFFFFFFFu));
}

float ReadOptionReal(const std::string& text) {
  std::string upper = UpperCase(text);
  if (upper == "+INFINITY") return std::numeric_limits<float>::infinity();
  if (upper == "-INFINITY") return -std::numeric_limits<float>::infinity();
  if (upper == "NAN") return std::numeric_limits<float>::quiet_NaN();
  // Hand-rolled prefix scan so neither the locale nor strtod's extras
  // ("inf", hex floats) change what is accepted.
  size_t i = 0, n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  size_t start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') { ++i; ++digits; }
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') { ++i; ++digits; }
  }
  if (digits == 0) return 0.0f;
  size_t end = i;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < n && text[j] >= '0' && text[j] <= '9') {
      while (j < n && text[j] >= '0' && text[j] <= '9') ++j;
      end = j;
    }
  }
  // LC_NUMERIC stays "C" for the whole process, so strtod reads "." as the
  // decimal point; the prefix is already validated.
  std::string number = text.substr(start, end - start);
  return static_cast<float>(std::strtod(number.c_str(), nullptr));
}

}  // namespace jpg2dds
