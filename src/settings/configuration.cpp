#include "settings/configuration.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "formats/format_tables.h"
#include "options/ini_reader.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/safe_files.h"
#include "platform/text_case.h"
#include "settings/keywords.h"
#include "settings/setting_values.h"

namespace jpg2dds {
namespace {

const char* const kGroupOrder[] = {"General",    "Window",    "Interface", "Input",
                                   "Output",     "Transform", "Adjustment", "Frame",
                                   "Watermark",  "Advanced",  "File",      "Privacy"};

// Written in this order, and only when Save Window Position is on.
const char* const kWindowKeys[] = {"IsMaximized", "Width", "Height", "X", "Y"};

// Read from the file but never written back. The last five belong to the
// console alone and have no place in the file's fixed layout.
const char* const kReadOnlyKeys[] = {"Hide Passwords",     "Show Single Password", "Show Password List",
                                     "Show Character Set", "Show Advanced Options", "TxtFields",
                                     "CsvDelimiter",       "Recursive Folders",    "Threads",
                                     "Report File",        "Exit Code",            "Skip Up To Date"};

// The Input and Output keys that belong to a format; only the formats of
// this converter's type lists are written.
struct FormatKeys {
  const char* group;
  const char* format;
  const char* keys[5];
};

const FormatKeys kFormatKeys[] = {
    {"Input", "dds", {"DDS Load As"}},
    {"Input", "gif", {"GIF Frame Loading"}},
    {"Input", "ico", {"ICO Frame Loading"}},
    {"Input", "psd", {"PSD Color Model"}},
    {"Input", "raw", {"RAW Load As", "RAW Header Size", "RAW Image Width", "RAW Image Height", "RAW Tone Mapping"}},
    {"Input", "tiff", {"TIFF Frame Loading"}},
    {"Output", "bmp", {"BMP BPP", "BMP Compression", "BMP Color Table"}},
    {"Output", "dds", {"DDS BPP"}},
    {"Output", "exr", {"EXR BPP", "EXR Compression"}},
    {"Output", "gif", {"GIF BPP"}},
    {"Output", "hdr", {"HDR BPP"}},
    {"Output", "ico", {"ICO BPP"}},
    {"Output", "j2k", {"J2K BPP"}},
    {"Output", "jng", {"JNG BPP"}},
    {"Output", "jp2", {"JP2 BPP"}},
    {"Output", "jxr", {"JXR BPP"}},
    {"Output", "pbm", {"PBM BPP"}},
    {"Output", "pcx", {"PCX BPP"}},
    {"Output", "pfm", {"PFM BPP"}},
    {"Output", "pgm", {"PGM BPP"}},
    {"Output", "ppm", {"PPM BPP"}},
    {"Output", "psd", {"PSD BPP"}},
    {"Output", "wbmp", {"WBMP BPP"}},
    {"Output", "xpm", {"XPM BPP"}},
    {"Output", "jpg", {"JPG BPP", "JPG Quality", "JPG Chroma", "JPG Save As"}},
    {"Output", "png", {"PNG BPP", "PNG Compression", "PNG Interlaced"}},
    {"Output", "tga", {"TGA BPP", "TGA Compression"}},
    {"Output", "tiff", {"TIFF BPP", "TIFF Compression", "TIFF Color Model"}},
    {"Output", "webp", {"WEBP BPP", "WEBP Quality"}},
};

const char kLineBreakToken[] = "%eol%";
const char kEndOfLine[] = "\r\n";

bool IsText(FieldType type) { return type == FieldType::kText || type == FieldType::kColour; }

bool ContainsKey(const char* const* keys, size_t count, const char* key) {
  for (size_t i = 0; i < count; ++i) {
    if (std::strcmp(keys[i], key) == 0) return true;
  }
  return false;
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = text.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
    out.append(text, pos, hit - pos).append(to);
  }
  return out.append(text, pos, std::string::npos);
}

// Decimal only: unlike option values, "$" and "%" mean nothing here. Digits
// beyond 32 bits wrap, keeping the low 32 bits like the option reader.
int32_t ReadDecimalInteger(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  if (negative) value = ~value + 1;
  return static_cast<int32_t>(static_cast<uint32_t>(value & 0xFFFFFFFFu));
}

void ReadValue(ConversionSettings& settings, const SettingField& field, const std::string& value) {
  if (IsText(field.type)) {
    // The text of the key line as it is: "%eol%" is the watermark's own
    // line-break token and means a line break there already.
    StoreSettingText(settings, field, value);
  } else if (field.type == FieldType::kReal) {
    StoreSettingReal(settings, field, ReadOptionReal(value));
  } else {
    StoreSettingNumber(settings, field, ReadDecimalInteger(value));  // 8-bit fields keep the low 8 bits
  }
}

std::string FormatReal(float value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6f", static_cast<double>(value));
  return buffer;
}

std::string FormatValue(const ConversionSettings& settings, const SettingField& field) {
  if (IsText(field.type)) {
    // One key line cannot hold a line break; the watermark's line-break
    // token stands for it.
    std::string text = ReplaceAll(SettingText(settings, field), "\r\n", kLineBreakToken);
    text = ReplaceAll(text, "\r", kLineBreakToken);
    return ReplaceAll(text, "\n", kLineBreakToken);
  }
  if (field.type == FieldType::kReal) return FormatReal(SettingReal(settings, field));
  return std::to_string(SettingNumber(settings, field));
}

void WriteKey(std::string& out, const ConversionSettings& settings, const char* group, const char* key) {
  const SettingField* field = FindSettingField(group, key);
  if (!field) return;
  std::string value = std::strcmp(key, "CFG") == 0 && std::strcmp(group, "General") == 0
                          ? std::to_string(kConfigurationVersion)
                          : FormatValue(settings, *field);
  out.append(key).append(" = ").append(value).append(kEndOfLine);
}

void WriteFormatKeys(std::string& out, const ConversionSettings& settings, const char* group,
                     const std::vector<std::string>& typeList) {
  WriteKey(out, settings, group, "Format");
  for (const std::string& type : typeList) {
    for (const FormatKeys& entry : kFormatKeys) {
      if (std::strcmp(entry.group, group) != 0 || type != entry.format) continue;
      for (const char* key : entry.keys) {
        if (key) WriteKey(out, settings, group, key);
      }
    }
  }
}

void ConvertOlderLayouts(ConversionSettings& settings) {
  if (settings.cfg < 11 && settings.filenameMask.find("%ext%") == std::string::npos) {
    settings.filenameMask += ".%ext%";
  }
  if (settings.cfg < 14 && settings.rawLoadAs != 0) settings.rawLoadAs += 2;
}

void ExpandCsvDelimiter(ConversionSettings& settings) {
  std::string word = LowerCase(settings.csvDelimiter);
  if (word == "tab") settings.csvDelimiter = "\t";
  else if (word == "space") settings.csvDelimiter = " ";
  else if (word == "crlf") settings.csvDelimiter = "\r\n";
}

}  // namespace

std::string ConfigurationPath() {
  // Without a known user folder the path starts at the root.
  std::string folder = UserConfigFolder();
  if (folder.empty()) folder = "/";
  CreateFolder(folder);
  folder += "Brightmill/";
  CreateFolder(folder);
  folder += "tessel/";
  CreateFolder(folder);
  return folder + "config.ini";
}

void LoadConfiguration(ConversionSettings& settings, const std::string& path, int32_t now) {
  ApplyDefaults(settings, DefaultsVariant::kWindowed, now, now);
  IniDocument document;
  if (ReadIniFile(path, document)) {
    // Defaults of keys missing from a file that could be read.
    settings.cfg = 0;
    settings.x = 100;
    settings.y = 100;
    for (int i = 0; i < kSettingFieldCount; ++i) {
      const SettingField& field = kSettingFields[i];
      const IniGroup* group = FindIniGroup(document, field.group);
      const IniKeyLine* line = group ? FindIniKey(*group, field.key) : nullptr;
      if (line) ReadValue(settings, field, line->value);
    }
  }
  ConvertOlderLayouts(settings);
  ExpandCsvDelimiter(settings);
}

void LoadConfiguration(ConversionSettings& settings, const std::string& path) {
  LoadConfiguration(settings, path, CurrentDateValue());
}

std::string ConfigurationText(const ConversionSettings& settings) {
  std::string out = "\xEF\xBB\xBF";
  out += kEndOfLine;
  for (const char* group : kGroupOrder) {
    out.append("[").append(group).append("]").append(kEndOfLine);
    if (std::strcmp(group, "Window") == 0) {
      if (settings.saveWindowPosition != 0) {
        for (const char* key : kWindowKeys) WriteKey(out, settings, group, key);
      }
    } else if (std::strcmp(group, "Input") == 0) {
      WriteFormatKeys(out, settings, group, kInputTypeList);
    } else if (std::strcmp(group, "Output") == 0) {
      WriteFormatKeys(out, settings, group, kOutputTypeList);
    } else {
      for (int i = 0; i < kSettingFieldCount; ++i) {
        const SettingField& field = kSettingFields[i];
        if (std::strcmp(field.group, group) != 0) continue;
        if (ContainsKey(kReadOnlyKeys, std::size(kReadOnlyKeys), field.key)) continue;
        WriteKey(out, settings, group, field.key);
      }
    }
    out.append("; ").append(kEndOfLine);
  }
  return out;
}

bool SaveConfiguration(const ConversionSettings& settings, const std::string& path) {
  return WriteFileAtomically(path, ConfigurationText(settings));
}

}  // namespace jpg2dds
