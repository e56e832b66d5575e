#include "options/option_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "options/parse_options.h"
#include "options/profile.h"
#include "settings/setting_values.h"

namespace jpg2dds {
namespace {

// Written from the option reference independently of the table, in profile
// order: name|group/key, then |group/key=value of the switch it also sets.
const char* const kExpectedRows[] = {
    "--DDS-LOAD-AS|Input/DDS Load As",
    "--GIF-FRAME-LOADING|Input/GIF Frame Loading",
    "--ICO-FRAME-LOADING|Input/ICO Frame Loading",
    "--PSD-COLOR-MODEL|Input/PSD Color Model",
    "--RAW-LOAD-AS|Input/RAW Load As",
    "--RAW-HEADER-SIZE|Input/RAW Header Size",
    "--RAW-WIDTH|Input/RAW Image Width",
    "--RAW-HEIGHT|Input/RAW Image Height",
    "--RAW-TONE-MAPPING|Input/RAW Tone Mapping",
    "--TIFF-FRAME-LOADING|Input/TIFF Frame Loading",
    "--BMP-BPP|Output/BMP BPP",
    "--BMP-COMPRESSION|Output/BMP Compression",
    "--BMP-COLOR-TABLE|Output/BMP Color Table",
    "--DDS-BPP|Output/DDS BPP",
    "--DDS-COMPRESSION|Output/DDS Compression",
    "--DDS-QUALITY|Output/DDS Quality",
    "--EXR-BPP|Output/EXR BPP",
    "--EXR-COMPRESSION|Output/EXR Compression",
    "--GIF-BPP|Output/GIF BPP",
    "--HDR-BPP|Output/HDR BPP",
    "--ICO-BPP|Output/ICO BPP",
    "--J2K-BPP|Output/J2K BPP",
    "--JNG-BPP|Output/JNG BPP",
    "--JP2-BPP|Output/JP2 BPP",
    "--JPG-BPP|Output/JPG BPP",
    "--JPG-QUALITY|Output/JPG Quality",
    "--JPG-CHROMA|Output/JPG Chroma",
    "--JPG-SAVE-AS|Output/JPG Save As",
    "--JXR-BPP|Output/JXR BPP",
    "--PBM-BPP|Output/PBM BPP",
    "--PCX-BPP|Output/PCX BPP",
    "--PFM-BPP|Output/PFM BPP",
    "--PGM-BPP|Output/PGM BPP",
    "--PNG-BPP|Output/PNG BPP",
    "--PNG-COMPRESSION|Output/PNG Compression",
    "--PNG-INTERLACED|Output/PNG Interlaced",
    "--PPM-BPP|Output/PPM BPP",
    "--PSD-BPP|Output/PSD BPP",
    "--TGA-BPP|Output/TGA BPP",
    "--TGA-COMPRESSION|Output/TGA Compression",
    "--TIFF-BPP|Output/TIFF BPP",
    "--TIFF-COMPRESSION|Output/TIFF Compression",
    "--TIFF-COLOR-MODEL|Output/TIFF Color Model",
    "--WBMP-BPP|Output/WBMP BPP",
    "--WEBP-BPP|Output/WEBP BPP",
    "--WEBP-QUALITY|Output/WEBP Quality",
    "--XPM-BPP|Output/XPM BPP",
    "--ROTATION-TYPE|Transform/Image Rotation Type",
    "--ROTATION|Transform/Image Rotation|Transform/Do Image Rotation=1",
    "--ROTATION-BACK-COLOR|Transform/Image Rotation Back Color",
    "--WIDTH|Transform/Image Width|Transform/Do Image Resize=1",
    "--WIDTH-UNIT|Transform/Image Width Unit",
    "--HEIGHT|Transform/Image Height|Transform/Do Image Resize=1",
    "--HEIGHT-UNIT|Transform/Image Height Unit",
    "--KEEP-ASPECT-RATIO|Transform/Keep Aspect Ratio",
    "--RESIZE-TYPE|Transform/Image Resize Type",
    "--RESIZE-ALGORITHM|Transform/Image Resize Algorithm",
    "--FLIP-HORIZONTAL|Transform/Do Image Flip Horizontal",
    "--FLIP-VERTICAL|Transform/Do Image Flip Vertical",
    "--BRIGHTNESS|Adjustment/Image Brightness|Adjustment/Do Image Color Correction=1",
    "--CONTRAST|Adjustment/Image Contrast|Adjustment/Do Image Color Correction=1",
    "--GAMMA|Adjustment/Image Gamma|Adjustment/Do Image Color Correction=1",
    "--INVERT|Adjustment/Image Invert|Adjustment/Do Image Color Correction=1",
    "--GREYSCALE|Adjustment/Do Image Greyscale",
    "--THRESHOLD|Adjustment/Image Threshold|Adjustment/Do Image Threshold=1",
    "--FR-SOLID-LEFT|Frame/Solid Left|Frame/Do Frame=1",
    "--FR-SOLID-RIGHT|Frame/Solid Right|Frame/Do Frame=1",
    "--FR-SOLID-TOP|Frame/Solid Top|Frame/Do Frame=1",
    "--FR-SOLID-BOTTOM|Frame/Solid Bottom|Frame/Do Frame=1",
    "--FR-SOLID-LEFT-COLOR|Frame/Solid Left Color",
    "--FR-SOLID-RIGHT-COLOR|Frame/Solid Right Color",
    "--FR-SOLID-TOP-COLOR|Frame/Solid Top Color",
    "--FR-SOLID-BOTTOM-COLOR|Frame/Solid Bottom Color",
    "--FR-SOLID-OPACITY|Frame/Solid Opacity",
    "--WM-TEXT|Watermark/Text|Watermark/Do Watermark=1",
    "--WM-FONT|Watermark/Font",
    "--WM-FONT-SIZE|Watermark/Font Size",
    "--WM-FONT-LEADING|Watermark/Font Leading",
    "--WM-FONT-COLOR|Watermark/Font Color",
    "--WM-FONT-STYLE|Watermark/Font Style",
    "--WM-FONT-EFFECT|Watermark/Font Effect",
    "--WM-TEXT-ANTIALIASING|Watermark/Text Antialiasing",
    "--WM-TEXT-ALIGNMENT|Watermark/Text Alignment",
    "--WM-TEXT-PADDING|Watermark/Text Padding",
    "--WM-TEXT-OPACITY|Watermark/Text Opacity",
    "--WM-BACK-COLOR|Watermark/Back Color",
    "--WM-BACK-OPACITY|Watermark/Back Opacity",
    "--WM-TEXT-BOUNDARY|Watermark/Text Boundary",
    "--WM-TEXT-POSITION|Watermark/Text Position",
    "--WM-TEXT-X-OFFSET|Watermark/Text X Offset",
    "--WM-TEXT-Y-OFFSET|Watermark/Text Y Offset",
    "--WM-TEXT-ROTATION|Watermark/Text Rotation",
    "--WM-TEXT-SIZE|Watermark/Text Size",
    "--WM-IMAGE|Watermark/Image|Watermark/Do Watermark=2",
    "--WM-IMAGE-GREYSCALE|Watermark/Image Greyscale",
    "--WM-IMAGE-OPACITY|Watermark/Image Opacity",
    "--WM-IMAGE-BOUNDARY|Watermark/Image Boundary",
    "--WM-IMAGE-POSITION|Watermark/Image Position",
    "--WM-IMAGE-X-OFFSET|Watermark/Image X Offset",
    "--WM-IMAGE-Y-OFFSET|Watermark/Image Y Offset",
    "--WM-IMAGE-ROTATION|Watermark/Image Rotation",
    "--WM-IMAGE-SIZE|Watermark/Image Size",
    "--FILENAME-MASK|Advanced/Filename Mask",
    "--FILE-TIMESTAMP|Advanced/File Timestamp",
    "--FILE-TIMESTAMP-CUSTOM|Advanced/Custom Timestamp",
    "--NO-SUBFOLDERS|Advanced/Keep Subfolders",
    "--INPUT-FOLDER|inputs/folder",
    "--INPUT-LIST|inputs/list",
    "--RECURSIVE|Advanced/Recursive Folders",
    "--THREADS|Advanced/Threads",
    "--REPORT|Advanced/Report File",
    "--EXIT-CODE|Advanced/Exit Code",
    "--SKIP-UP-TO-DATE|Advanced/Skip Up To Date",
};

ConversionSettings Defaults() {
  ConversionSettings s;
  ApplyDefaults(s, DefaultsVariant::kConsole, 1000, 2000);
  return s;
}

bool SameValue(const ConversionSettings& a, const ConversionSettings& b, const SettingField& f) {
  return SettingNumber(a, f) == SettingNumber(b, f) && SettingReal(a, f) == SettingReal(b, f) &&
         SettingText(a, f) == SettingText(b, f);
}

std::set<std::string> ChangedKeys(const ConversionSettings& before, const ConversionSettings& after) {
  std::set<std::string> changed;
  for (int i = 0; i < kSettingFieldCount; ++i) {
    const SettingField& f = kSettingFields[i];
    if (!SameValue(before, after, f)) changed.insert(std::string(f.group) + "/" + f.key);
  }
  return changed;
}

// The target field is first set to a value no row stores, so every row's
// value shows as a change, a keyword of value 0 included.
ConversionSettings Poisoned(const SettingField& field) {
  ConversionSettings s = Defaults();
  StoreSettingNumber(s, field, 99);
  StoreSettingReal(s, field, 99.0f);
  StoreSettingText(s, field, "poison");
  return s;
}

// A value of the row's kind, and what the setting must then hold.
struct Sample {
  std::string text;
  int32_t number = 0;
  float real = 0;
};

Sample SampleFor(const OptionRow& row) {
  Sample sample;
  switch (row.kind) {
    case OptionKind::kKeyword:
      sample.text = row.keywords->entries[row.keywords->count - 1].word;
      sample.number = row.keywords->entries[row.keywords->count - 1].value;
      break;
    case OptionKind::kInteger: sample.text = "-7"; sample.number = -7; break;
    case OptionKind::kReal: sample.text = "2.5"; sample.real = 2.5f; break;
    case OptionKind::kText:
    case OptionKind::kTextUnquoted:
    case OptionKind::kBatchInput: sample.text = "sample"; break;
    case OptionKind::kFlag: sample.text = "ignored"; sample.number = row.fixedValue; break;
  }
  return sample;
}

TEST(OptionTable, HoldsTheProfileKeysOnceEach) {
  EXPECT_EQ(kOptionRowCount, 113);
  std::set<std::string> names;
  for (int i = 0; i < kOptionRowCount; ++i) {
    EXPECT_TRUE(names.insert(kOptionRows[i].name).second) << kOptionRows[i].name;
    EXPECT_EQ(kOptionRows[i].kind == OptionKind::kKeyword, kOptionRows[i].keywords != nullptr)
        << kOptionRows[i].name;
  }
  EXPECT_STREQ(kOptionRows[0].name, "--DDS-LOAD-AS");
  EXPECT_STREQ(kOptionRows[kOptionRowCount - 1].name, "--SKIP-UP-TO-DATE");
  // Run options, mode flags and the profile option are not table rows, so a
  // profile can never carry them.
  for (const char* name : {"--INPUT", "--OUTPUT", "--CONVERSION", "--DEBUG", "--QUIET", "--PAUSE", "--PROFILE"}) {
    EXPECT_EQ(FindOptionRow(name), nullptr) << name;
  }
}

struct Expected {
  std::string name, target, also;
  int32_t alsoValue = 0;
};

Expected ParseExpected(const std::string& line) {
  Expected e;
  size_t bar1 = line.find('|'), bar2 = line.find('|', bar1 + 1);
  e.name = line.substr(0, bar1);
  e.target = line.substr(bar1 + 1, bar2 == std::string::npos ? std::string::npos : bar2 - bar1 - 1);
  if (bar2 != std::string::npos) {
    size_t equals = line.find('=', bar2);
    e.also = line.substr(bar2 + 1, equals - bar2 - 1);
    e.alsoValue = std::stoi(line.substr(equals + 1));
  }
  return e;
}

const SettingField* FieldOf(const std::string& groupSlashKey) {
  size_t slash = groupSlashKey.find('/');
  return FindSettingField(groupSlashKey.substr(0, slash).c_str(), groupSlashKey.substr(slash + 1).c_str());
}

// The kinds a row may have for the storage type of its setting.
bool KindFitsField(OptionKind kind, FieldType type) {
  switch (kind) {
    case OptionKind::kKeyword: return type == FieldType::kCode8 || type == FieldType::kCode32;
    case OptionKind::kInteger: return type == FieldType::kInt || type == FieldType::kTime;
    case OptionKind::kReal: return type == FieldType::kReal;
    case OptionKind::kText:
    case OptionKind::kTextUnquoted: return type == FieldType::kText || type == FieldType::kColour;
    case OptionKind::kFlag: return type == FieldType::kFlag;
    case OptionKind::kBatchInput: return false;  // names no setting
  }
  return false;
}

std::string LowerCased(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// A folder or list row changes no setting: each use appends one input of
// its kind, in the order given, on the command line and in a profile alike.
void ExpectAppendsBatchInput(const OptionRow& row, const std::string& target, const std::string& profile) {
  const BatchInputKind kind = target == "inputs/folder" ? BatchInputKind::kFolder : BatchInputKind::kList;
  ASSERT_TRUE(target == "inputs/folder" || target == "inputs/list") << target;
  EXPECT_EQ(row.fixedValue, static_cast<int32_t>(kind));
  const ConversionSettings before = Defaults();
  const std::string name = LowerCased(row.name);
  ConversionSettings byOption = before;
  RunOptions run;
  ASSERT_EQ(ParseOptions({name + "=a b", "--dds-bpp=32", name + "=-"}, byOption, run), "");
  EXPECT_EQ(ChangedKeys(before, byOption), std::set<std::string>{"Output/DDS BPP"});
  ASSERT_EQ(byOption.batchInputs.size(), 2u);
  EXPECT_EQ(byOption.batchInputs[0].kind, kind);
  EXPECT_EQ(byOption.batchInputs[0].path, "a b");
  EXPECT_EQ(byOption.batchInputs[1].path, "-");

  { std::ofstream(profile) << "[CLI]\n" << name << " = a b\n--DDS-BPP = 32\n" << name << " = -\n"; }
  ConversionSettings byProfile = before;
  ASSERT_TRUE(LoadProfile(profile, byProfile));
  EXPECT_EQ(ChangedKeys(byOption, byProfile), std::set<std::string>());
  ASSERT_EQ(byProfile.batchInputs.size(), 2u);
  EXPECT_EQ(byProfile.batchInputs[0].kind, kind);
  EXPECT_EQ(byProfile.batchInputs[0].path, "a b");
  EXPECT_EQ(byProfile.batchInputs[1].path, "-");
}

// Each row, given on the command line and in a profile, changes exactly the
// setting it should (plus its "also sets" switch) to the value of its kind.
TEST(OptionTable, EveryRowLandsInTheFieldItNames) {
  ASSERT_EQ(sizeof(kExpectedRows) / sizeof(kExpectedRows[0]), static_cast<size_t>(kOptionRowCount));
  std::filesystem::path profile = std::filesystem::temp_directory_path() / ("jpg2dds_option_table_test_" + std::to_string(getpid()) + ".ini");
  for (int i = 0; i < kOptionRowCount; ++i) {
    Expected expected = ParseExpected(kExpectedRows[i]);
    SCOPED_TRACE(expected.name);
    const OptionRow& row = kOptionRows[i];
    ASSERT_EQ(row.name, expected.name);  // profile order
    if (row.kind == OptionKind::kBatchInput || expected.target.rfind("inputs/", 0) == 0) {
      ExpectAppendsBatchInput(row, expected.target, profile.string());
      continue;
    }
    const SettingField* field = FieldOf(expected.target);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(KindFitsField(row.kind, field->type));
    std::set<std::string> changed{expected.target};
    if (!expected.also.empty()) changed.insert(expected.also);

    Sample sample = SampleFor(row);
    const ConversionSettings before = Poisoned(*field);
    ConversionSettings byOption = before;
    RunOptions run;
    const std::string name = LowerCased(row.name);
    ASSERT_EQ(ParseOptions({name + "=" + sample.text}, byOption, run), "");
    EXPECT_EQ(ChangedKeys(before, byOption), changed);
    if (row.kind == OptionKind::kReal) {
      EXPECT_EQ(SettingReal(byOption, *field), sample.real);
    } else if (row.kind == OptionKind::kText || row.kind == OptionKind::kTextUnquoted) {
      EXPECT_EQ(SettingText(byOption, *field), sample.text);
    } else {
      EXPECT_EQ(SettingNumber(byOption, *field), sample.number);
    }
    if (!expected.also.empty()) {
      EXPECT_EQ(SettingNumber(byOption, *FieldOf(expected.also)), expected.alsoValue);
    }

    { std::ofstream(profile) << "[CLI]\n" << name << " = " << sample.text << "\n"; }
    ConversionSettings byProfile = before;
    ASSERT_TRUE(LoadProfile(profile.string(), byProfile));
    EXPECT_EQ(ChangedKeys(byOption, byProfile), std::set<std::string>());
  }
  std::filesystem::remove(profile);
}

}  // namespace
}  // namespace jpg2dds
