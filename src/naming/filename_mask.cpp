#include "naming/filename_mask.h"

#include <cstdio>
#include <ctime>

#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/text_case.h"

namespace jpg2dds {
namespace {

// First character upper case, the rest lower case. A byte that does not
// start valid UTF-8 is a character of its own, so it never takes the
// letters after it along.
std::string TitleCase(const std::string& text) {
  const size_t first = CharacterLength(text, 0);
  return UpperCase(text.substr(0, first)) + LowerCase(text.substr(first));
}

std::string TwoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

std::string PadFive(int32_t value) {
  std::string digits = std::to_string(value);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  return digits;
}

std::string InputName(const ConversionJob& job) { return NameWithoutExtension(job.currentInputFile); }

using K = TokenValueKind;

// The mask as expansion reads it.
std::string LoweredMask(const ConversionSettings& settings) {
  const std::string mask = LowerCase(settings.filenameMask);
  return mask.empty() ? kDefaultFilenameMask : mask;
}

}  // namespace

const FilenameToken FilenameTokens[] = {
    {"%filename%", [](const ConversionJob& job) { return InputName(job); }, K::kInput},
    {"%filename[u]%", [](const ConversionJob& job) { return UpperCase(InputName(job)); }, K::kInput},
    {"%filename[l]%", [](const ConversionJob& job) { return LowerCase(InputName(job)); }, K::kInput},
    {"%filename[t]%", [](const ConversionJob& job) { return TitleCase(InputName(job)); }, K::kInput},
    {"%ext%", [](const ConversionJob& job) { return job.outputType; }, K::kInput},
    {"%ext[u]%", [](const ConversionJob& job) { return UpperCase(job.outputType); }, K::kInput},
    {"%ext[t]%", [](const ConversionJob& job) { return TitleCase(job.outputType); }, K::kInput},
    {"%yyyy%",
     [](const ConversionJob&) {
       char buffer[16];
       std::snprintf(buffer, sizeof buffer, "%04d", CurrentLocalFields().tm_year + 1900);
       return std::string(buffer);
     },
     K::kClock},
    {"%mm%", [](const ConversionJob&) { return TwoDigits(CurrentLocalFields().tm_mon + 1); }, K::kClock},
    {"%dd%", [](const ConversionJob&) { return TwoDigits(CurrentLocalFields().tm_mday); }, K::kClock},
    {"%hh%", [](const ConversionJob&) { return TwoDigits(CurrentLocalFields().tm_hour); }, K::kClock},
    {"%ii%", [](const ConversionJob&) { return TwoDigits(CurrentLocalFields().tm_min); }, K::kClock},
    {"%ss%", [](const ConversionJob&) { return TwoDigits(CurrentLocalFields().tm_sec); }, K::kClock},
    {"%bpp%", [](const ConversionJob& job) { return std::to_string(job.outputBitDepth); }, K::kDepth},
    {"%width%", [](const ConversionJob& job) { return std::to_string(job.outputWidth); }, K::kPictureSize},
    {"%height%", [](const ConversionJob& job) { return std::to_string(job.outputHeight); }, K::kPictureSize},
    {"%rnd%", [](const ConversionJob& job) { return PadFive(job.randomNumber); }, K::kRunCounter},
    {"%n%", [](const ConversionJob& job) { return PadFive(job.sequenceNumber); }, K::kRunCounter},
};
const int kFilenameTokenCount = sizeof(FilenameTokens) / sizeof(FilenameTokens[0]);

namespace {

// Byte length of the text at `start` that matches the (lower-case ASCII)
// token when each character is lowered on its own; 0 when it does not match.
// Lowering per character keeps the match exact for characters whose lower
// case has another length in UTF-8.
size_t MatchLength(const std::string& text, size_t start, const std::string& token) {
  size_t at = start;
  for (char wanted : token) {
    if (at >= text.size()) return 0;
    const size_t length = CharacterLength(text, at);
    if (LowerCase(text.substr(at, length)) != std::string(1, wanted)) return 0;
    at += length;
  }
  return at - start;
}

}  // namespace

std::string NameWithoutExtension(const std::string& path) {
  std::string name = FileNamePart(path);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string ReplaceToken(const std::string& text, const FilenameToken& token, const ConversionJob& job) {
  const std::string wanted = token.token;
  const std::string value = token.value(job);
  std::string result;
  result.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    size_t length = MatchLength(text, at, wanted);
    if (length > 0) {
      result += value;
      at += length;
    } else {
      result += text[at++];
    }
  }
  return result;
}

std::string ExpandFilenameMask(const ConversionSettings& settings, const ConversionJob& job) {
  std::string mask = LoweredMask(settings);
  // Tested on the mask as it stands, so a value that brings in a later token
  // is expanded again.
  for (int i = 0; i < kFilenameTokenCount; ++i) {
    if (mask.find(FilenameTokens[i].token) != std::string::npos) mask = ReplaceToken(mask, FilenameTokens[i], job);
  }
  return mask;
}

std::string ExpandWatermarkText(const ConversionSettings& settings, const ConversionJob& job) {
  std::string text = settings.text;
  const std::string probe = LowerCase(settings.text);
  size_t percents = 0;
  for (char c : text) percents += c == '%';
  if (percents < 2) return text;
  for (int i = 0; i < kFilenameTokenCount; ++i) {
    if (probe.find(FilenameTokens[i].token) != std::string::npos) text = ReplaceToken(text, FilenameTokens[i], job);
  }
  return text;
}

bool MaskKnownBeforeConverting(const ConversionSettings& settings, bool depthKnown) {
  const std::string mask = LoweredMask(settings);
  for (int i = 0; i < kFilenameTokenCount; ++i) {
    const FilenameToken& token = FilenameTokens[i];
    if (mask.find(token.token) == std::string::npos) continue;
    if (token.kind != K::kInput && !(token.kind == K::kDepth && depthKnown)) return false;
  }
  return true;
}

bool WatermarkTextUsesRunCounters(const ConversionSettings& settings) {
  const std::string probe = LowerCase(settings.text);
  for (int i = 0; i < kFilenameTokenCount; ++i) {
    const FilenameToken& token = FilenameTokens[i];
    if (token.kind == K::kRunCounter && probe.find(token.token) != std::string::npos) return true;
  }
  return false;
}

}  // namespace jpg2dds
