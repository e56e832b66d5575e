#include "batch/validation.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "batch/up_to_date.h"
#include "formats/format_tables.h"
#include "pipeline/overlays/text_watermark.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/list_file.h"
#include "platform/paths.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

using S = ConversionSettings;

// More threads than this would only cost memory (one picture each).
constexpr int32_t kMaxThreads = 256;

// When a report row is printed (and its check made).
enum class When {
  kAlways, kDds, kDdsEncoder, kRotation, kResize, kColor, kThreshold, kFrame, kText, kImage, kCustomTime,
  kRecursive, kThreads, kSkipUpToDate, kReportFile, kExitCode, kDdsQuality
};

enum class Kind { kNumber, kFlag, kChoice, kText, kGamma, kSizeWithUnit, kOffsets };

enum class Check {
  kNone, kBpp, kWidth, kHeight, kBrightness, kContrast, kGamma, kFont, kImage, kThreads, kSkipUpToDate
};

struct ReportRow {
  const char* label;
  When when;
  Kind kind;
  int32_t S::*number;
  int8_t S::*small;
  std::string S::*text;
  const KeywordTable* keywords;
  // Second value: unit of a size, or the y offset.
  int8_t S::*unit;
  int32_t S::*second;
  Check check;
};

ReportRow Num(const char* label, When when, int32_t S::*field, Check check = Check::kNone) {
  return {label, when, Kind::kNumber, field, nullptr, nullptr, nullptr, nullptr, nullptr, check};
}
ReportRow Flag(const char* label, When when, int8_t S::*field, Check check = Check::kNone) {
  return {label, when, Kind::kFlag, nullptr, field, nullptr, nullptr, nullptr, nullptr, check};
}
ReportRow Choice(const char* label, When when, int8_t S::*field, const KeywordTable& table,
                 Check check = Check::kNone) {
  return {label, when, Kind::kChoice, nullptr, field, nullptr, &table, nullptr, nullptr, check};
}
ReportRow Text(const char* label, When when, std::string S::*field) {
  return {label, when, Kind::kText, nullptr, nullptr, field, nullptr, nullptr, nullptr, Check::kNone};
}
ReportRow Size(const char* label, int32_t S::*field, int8_t S::*unit, Check check) {
  return {label, When::kResize, Kind::kSizeWithUnit, field, nullptr, nullptr, &kSizeUnitKeywords, unit, nullptr, check};
}
ReportRow Offsets(When when, int32_t S::*x, int32_t S::*y) {
  return {"Watermark offset (x/y): ", when, Kind::kOffsets, x, nullptr, nullptr, nullptr, nullptr, y, Check::kNone};
}

// The settings report and checks, in the order they are printed and made.
const ReportRow kReportRows[] = {
    Num("DDS BPP: ", When::kDds, &S::ddsBpp, Check::kBpp),
    Choice("DDS Compression: ", When::kDdsEncoder, &S::ddsCompression, kDdsCompressionKeywords),
    Choice("DDS Quality: ", When::kDdsQuality, &S::ddsQuality, kDdsQualityKeywords),
    Choice("Image Rotation Type: ", When::kRotation, &S::imageRotationType, kRotationTypeKeywords),
    Num("Image Rotation: ", When::kRotation, &S::imageRotation),
    Text("Image Rotation Back Color: ", When::kRotation, &S::imageRotationBackColor),
    Size("Width: ", &S::imageWidth, &S::imageWidthUnit, Check::kWidth),
    Size("Height: ", &S::imageHeight, &S::imageHeightUnit, Check::kHeight),
    Flag("Keep Aspect Ratio: ", When::kResize, &S::keepAspectRatio),
    Choice("Image Resize Type: ", When::kResize, &S::imageResizeType, kResizeTypeKeywords),
    Choice("Image Resize Algorithm: ", When::kResize, &S::imageResizeAlgorithm, kResizeAlgorithmKeywords),
    Flag("Flip Horizontal: ", When::kAlways, &S::doImageFlipHorizontal),
    Flag("Flip Vertical: ", When::kAlways, &S::doImageFlipVertical),
    Num("Brightness: ", When::kColor, &S::imageBrightness, Check::kBrightness),
    Num("Contrast: ", When::kColor, &S::imageContrast, Check::kContrast),
    {"Gamma: ", When::kColor, Kind::kGamma, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, Check::kGamma},
    Flag("Invert: ", When::kColor, &S::imageInvert),
    Flag("Greyscale: ", When::kAlways, &S::doImageGreyscale),
    Num("Image Threshold: ", When::kThreshold, &S::imageThreshold),
    Choice("Frame: ", When::kAlways, &S::doFrame, kFrameKindKeywords),
    Num("Frame left: ", When::kFrame, &S::solidLeft),
    Num("Frame right: ", When::kFrame, &S::solidRight),
    Num("Frame top: ", When::kFrame, &S::solidTop),
    Num("Frame bottom: ", When::kFrame, &S::solidBottom),
    Text("Frame left color: ", When::kFrame, &S::solidLeftColor),
    Text("Frame right color: ", When::kFrame, &S::solidRightColor),
    Text("Frame top color: ", When::kFrame, &S::solidTopColor),
    Text("Frame bottom color: ", When::kFrame, &S::solidBottomColor),
    Num("Frame opacity: ", When::kFrame, &S::solidOpacity),
    Choice("Watermark: ", When::kAlways, &S::doWatermark, kWatermarkKindKeywords),
    Text("Watermark text: ", When::kText, &S::text),
    Text("Watermark font: ", When::kText, &S::font),
    Num("Watermark font size: ", When::kText, &S::fontSize),
    Num("Watermark font leading: ", When::kText, &S::fontLeading),
    Text("Watermark font color: ", When::kText, &S::fontColor),
    Choice("Watermark font style: ", When::kText, &S::fontStyle, kFontStyleKeywords),
    Choice("Watermark font effect: ", When::kText, &S::fontEffect, kFontEffectKeywords),
    Flag("Watermark text antialiasing: ", When::kText, &S::textAntialiasing),
    Choice("Watermark text alignment: ", When::kText, &S::textAlignment, kTextAlignmentKeywords),
    Num("Watermark text padding: ", When::kText, &S::textPadding),
    Num("Watermark text opacity: ", When::kText, &S::textOpacity),
    Text("Watermark background color: ", When::kText, &S::backColor),
    Num("Watermark background opacity: ", When::kText, &S::backOpacity),
    Choice("Watermark boundary: ", When::kText, &S::textBoundary, kBoundaryKeywords),
    Choice("Watermark position: ", When::kText, &S::textPosition, kPositionKeywords),
    Offsets(When::kText, &S::textXOffset, &S::textYOffset),
    Num("Watermark rotation: ", When::kText, &S::textRotation),
    Choice("Watermark size/mode: ", When::kText, &S::textSize, kWatermarkSizeKeywords, Check::kFont),
    Text("Watermark image: ", When::kImage, &S::image),
    Flag("Watermark greyscale: ", When::kImage, &S::imageGreyscale),
    Num("Watermark opacity: ", When::kImage, &S::imageOpacity),
    Choice("Watermark boundary: ", When::kImage, &S::imageBoundary, kBoundaryKeywords),
    Choice("Watermark position: ", When::kImage, &S::imagePosition, kPositionKeywords),
    Offsets(When::kImage, &S::imageXOffset, &S::imageYOffset),
    Num("Watermark rotation: ", When::kImage, &S::watermarkImageRotation),
    Choice("Watermark size/mode: ", When::kImage, &S::imageSize, kWatermarkSizeKeywords, Check::kImage),
    Text("Filename Mask: ", When::kAlways, &S::filenameMask),
    Choice("File Timestamp: ", When::kAlways, &S::fileTimestamp, kFileTimestampKeywords),
    Num("Custom Timestamp: ", When::kCustomTime, &S::customTimestamp),
    Flag("Keep Subfolders: ", When::kAlways, &S::keepSubfolders),
    Flag("Recursive Folders: ", When::kRecursive, &S::recursiveFolders),
    Num("Threads: ", When::kThreads, &S::threads, Check::kThreads),
    Flag("Skip Up To Date: ", When::kSkipUpToDate, &S::skipUpToDate, Check::kSkipUpToDate),
    Text("Report File: ", When::kReportFile, &S::reportFile),
    Flag("Exit Code: ", When::kExitCode, &S::exitCode),
};

bool Applies(When when, const ConversionSettings& s, const std::string& outputType) {
  switch (when) {
    case When::kAlways: return true;
    case When::kDds: return outputType == "dds";
    case When::kDdsEncoder: return outputType == "dds" && s.ddsCompression != choice::kDdsAuto;
    case When::kRotation: return s.doImageRotation != 0;
    case When::kResize: return s.doImageResize != 0;
    case When::kColor: return s.doImageColorCorrection != 0;
    case When::kThreshold: return s.doImageThreshold != 0;
    case When::kFrame: return s.doFrame == choice::kFrameSolid;
    case When::kText: return s.doWatermark == choice::kWatermarkText;
    case When::kImage: return s.doWatermark == choice::kWatermarkImage;
    case When::kCustomTime: return s.fileTimestamp == choice::kTimestampCustom;
    case When::kRecursive: return s.recursiveFolders != 0;
    case When::kThreads: return s.threads != 0;
    case When::kSkipUpToDate: return s.skipUpToDate != 0;
    case When::kReportFile: return !s.reportFile.empty();
    case When::kExitCode: return s.exitCode != 0;
    case When::kDdsQuality: return outputType == "dds" && s.ddsQuality != choice::kDdsQualityNormal;
  }
  return false;
}

std::string FormatValue(const ReportRow& row, const ConversionSettings& s) {
  switch (row.kind) {
    case Kind::kNumber: return std::to_string(s.*row.number);
    case Kind::kFlag: return std::to_string(static_cast<int>(s.*row.small));
    case Kind::kChoice: return ValueToKeyword(*row.keywords, s.*row.small);
    case Kind::kText: return s.*row.text;
    case Kind::kGamma: return FormatGamma(s.imageGamma);
    case Kind::kSizeWithUnit:
      return std::to_string(s.*row.number) + " " + ValueToKeyword(*row.keywords, s.*row.unit);
    case Kind::kOffsets: return std::to_string(s.*row.number) + "/" + std::to_string(s.*row.second);
  }
  return std::string();
}

bool IsNonEmptyFile(const std::string& path) {
  PathInfo info = QueryPath(path);
  return info.kind == PathKind::kFile && info.size > 0;
}

// Makes the row's check; returns the error line when it fails, else empty.
std::string RunCheck(Check check, const ConversionSettings& s, const std::string& outputType,
                     StringCatalogue& catalogue, WatermarkFont*& font) {
  switch (check) {
    case Check::kNone: return std::string();
    case Check::kBpp:
      return IsAllowedBpp(outputType, s.ddsBpp) ? std::string() : "Error: Invalid dds-bpp value";
    case Check::kWidth: return s.imageWidth != 0 ? std::string() : "Error: Invalid width value";
    case Check::kHeight: return s.imageHeight != 0 ? std::string() : "Error: Invalid height value";
    case Check::kBrightness:
      return s.imageBrightness >= -100 && s.imageBrightness <= 100 ? std::string()
                                                                   : "Error: Invalid brightness value";
    case Check::kContrast:
      return s.imageContrast >= -100 && s.imageContrast <= 100 ? std::string() : "Error: Invalid contrast value";
    case Check::kGamma:
      // Compared as 32-bit floats; NaN fails both comparisons and is refused.
      return s.imageGamma >= 0.01f && s.imageGamma <= 9.99f ? std::string() : "Error: Invalid gamma value";
    case Check::kFont:
      font = CreateWatermarkFont(WatermarkFontRequest(s));
      return font ? std::string() : "Error: Invalid watermark font";
    case Check::kImage: return IsNonEmptyFile(s.image) ? std::string() : "Error: Invalid watermark image";
    case Check::kThreads:
      return s.threads >= 1 && s.threads <= kMaxThreads ? std::string()
                                                        : "Error: " + CatalogueText(catalogue, "Batch", "Invalid threads value");
    case Check::kSkipUpToDate:
      if (SkippingIsPossible(s, outputType)) return std::string();
      return "Error: " + CatalogueText(catalogue, "Batch", "Skip needs known names");
  }
  return std::string();
}

// The check of one named input; the error line when it fails, else empty.
std::string CheckNamedInput(const NamedInput& input, StringCatalogue& catalogue) {
  switch (input.kind) {
    case NamedInputKind::kFile:
      // Empty extension, missing, a folder or 0 bytes: as a run of the one file.
      if (PathExtension(input.path).empty() || !IsNonEmptyFile(input.path)) return "Error: Invalid input file";
      return std::string();
    case NamedInputKind::kFolder:
      if (IsReadableFolder(input.path)) return std::string();
      return "Error: " + CatalogueText(catalogue, "Batch", "Invalid input folder");
    case NamedInputKind::kList:
      // Standard input is always there (an empty one when it was closed).
      if (input.path == "-" || CanReadListFile(input.path)) return std::string();
      return "Error: " + CatalogueText(catalogue, "Batch", "Invalid input list");
  }
  return std::string();
}

}  // namespace

std::vector<NamedInput> NamedInputsInOrder(const RunOptions& runOptions, const ConversionSettings& settings) {
  std::vector<NamedInput> inputs;
  if (settings.batchInputs.empty()) return inputs;
  for (const BatchInput& input : settings.batchInputs) {
    const NamedInputKind kind = input.kind == BatchInputKind::kFolder ? NamedInputKind::kFolder : NamedInputKind::kList;
    inputs.push_back(NamedInput{kind, input.path});
  }
  if (!runOptions.inputPath.empty()) {
    const size_t position = std::min(runOptions.inputPosition, inputs.size());
    inputs.insert(inputs.begin() + static_cast<std::ptrdiff_t>(position),
                  NamedInput{NamedInputKind::kFile, runOptions.inputPath});
  }
  return inputs;
}

std::string FormatGamma(float gamma) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(gamma));
  // A value that rounds to zero is zero, whichever side it came from.
  if (std::strcmp(buffer, "-0.00") == 0) return "0.00";
  return buffer;
}

FolderResolution ResolveOutputFolder(const std::string& typed, const std::string& programFolder,
                                     std::string& resolved) {
  if (typed.compare(0, 2, "..") == 0) return FolderResolution::kRefused;
  if (!typed.empty() && typed[0] == '/') {
    resolved = typed;
  } else {
    resolved = programFolder + (typed.compare(0, 2, "./") == 0 ? typed.substr(2) : typed);
  }
  if (resolved.empty() || resolved.back() != '/') resolved += '/';
  return FolderResolution::kResolved;
}

bool ValidateSettings(bool quiet, const RunOptions& runOptions, const ConversionSettings& settings,
                      ConversionJob& job, StringCatalogue& catalogue, WatermarkFont*& font) {
  font = nullptr;
  const bool debug = runOptions.debug;
  auto fail = [](const std::string& line) {
    PrintLine(line);
    return false;
  };

  if (!quiet) PrintLine(CatalogueText(catalogue, "General", "Preparing"));
  job.namedInputs = NamedInputsInOrder(runOptions, settings);
  job.recursiveFolders = settings.recursiveFolders != 0;
  job.inputFolder.clear();
  // A batch without -i has no file of its own to take an output folder from.
  const bool namesFile = job.namedInputs.empty() || !runOptions.inputPath.empty();
  if (job.namedInputs.empty()) {
    if (debug) PrintLine("Input: " + runOptions.inputPath);
    if (PathExtension(runOptions.inputPath).empty()) return fail("Error: Invalid input file");
    job.currentInputFile = runOptions.inputPath;
    if (!IsNonEmptyFile(job.currentInputFile)) return fail("Error: Invalid input file");
  }
  for (const NamedInput& input : job.namedInputs) {
    if (debug) PrintLine("Input: " + input.path);
    if (input.kind == NamedInputKind::kFile) job.currentInputFile = input.path;
    std::string error = CheckNamedInput(input, catalogue);
    if (!error.empty()) return fail(error);
  }

  std::string outputFolder = runOptions.outputFolder;
  if (outputFolder.empty() && namesFile) outputFolder = FolderPart(job.currentInputFile);
  if (debug) PrintLine("Output: " + outputFolder);
  // Without -o a batch's folders and lists keep their files next to them.
  job.ownOutputFolders = !job.namedInputs.empty() && runOptions.outputFolder.empty();
  job.outputFolder.clear();
  if (namesFile || !runOptions.outputFolder.empty()) {
    if (ResolveOutputFolder(outputFolder, job.programFolder, outputFolder) == FolderResolution::kRefused) {
      return fail("Error: Incorrect output folder");
    }
    if (QueryPath(outputFolder).kind != PathKind::kFolder) return fail("Error: Invalid output folder");
    job.outputFolder = outputFolder;
  }

  std::string outputType = runOptions.outputType.empty() ? kOutputTypeList.front() : runOptions.outputType;
  if (debug) PrintLine("Conversion: " + outputType);
  if (!IsAllowedOutputType(outputType)) return fail("Error: Invalid conversion type");
  job.outputType = outputType;

  for (const ReportRow& row : kReportRows) {
    if (!Applies(row.when, settings, outputType)) continue;
    if (debug) PrintLine(row.label + FormatValue(row, settings));
    std::string error = RunCheck(row.check, settings, outputType, catalogue, font);
    if (!error.empty()) return fail(error);
  }

  job.outputBitDepth = settings.ddsBpp;
  job.keepSourceBitDepth = job.outputBitDepth == 0;
  // 0 keeps what the machine has (InitConversionJob).
  if (settings.threads > 0) job.threads = settings.threads;
  return true;
}

}  // namespace jpg2dds
