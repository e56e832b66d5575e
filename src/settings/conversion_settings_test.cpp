#include "settings/conversion_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace jpg2dds {
namespace {

// The value of a field as text, whatever its storage type.
std::string FieldValue(const ConversionSettings& s, const SettingField& field) {
  return std::visit(
      [&](auto member) -> std::string {
        const auto& value = s.*member;
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
          return value;
        } else {
          return std::to_string(value);
        }
      },
      field.field);
}

// Fills every field with a value no default has, to see which ones a call
// forgets.
void FillWithJunk(ConversionSettings& s, int junk) {
  for (int i = 0; i < kSettingFieldCount; ++i) {
    std::visit(
        [&](auto member) {
          auto& value = s.*member;
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
            value = "junk" + std::to_string(junk);
          } else {
            value = static_cast<std::decay_t<decltype(value)>>(junk);
          }
        },
        kSettingFields[i].field);
  }
}

TEST(SettingFields, EveryFieldNamedOnceInGroupOrder) {
  std::set<std::string> names;
  const char* const groupOrder[] = {"General", "Window", "Interface", "Input", "Output", "Transform",
                                    "Adjustment", "Frame", "Watermark", "Advanced", "File", "Privacy"};
  size_t group = 0;
  for (int i = 0; i < kSettingFieldCount; ++i) {
    const SettingField& f = kSettingFields[i];
    EXPECT_TRUE(names.insert(std::string(f.group) + "/" + f.key).second) << f.key;
    while (group < 12 && std::strcmp(groupOrder[group], f.group) != 0) ++group;
    ASSERT_LT(group, 12u) << "group out of order at " << f.group << "/" << f.key;
  }
  // The two "Format" keys and the two "Image Rotation" keys are different fields.
  ASSERT_NE(FindSettingField("Input", "Format"), nullptr);
  EXPECT_NE(FindSettingField("Input", "Format"), FindSettingField("Output", "Format"));
  EXPECT_NE(FindSettingField("Transform", "Image Rotation"), FindSettingField("Watermark", "Image Rotation"));
  EXPECT_EQ(FindSettingField("Watermark", "No Such Key"), nullptr);
}

TEST(ApplyDefaults, SetsEveryField) {
  ConversionSettings a, b;
  FillWithJunk(a, 77);
  FillWithJunk(b, 99);
  ApplyDefaults(a, DefaultsVariant::kConsole, 1000, 2000);
  ApplyDefaults(b, DefaultsVariant::kConsole, 1000, 2000);
  for (int i = 0; i < kSettingFieldCount; ++i) {
    EXPECT_EQ(FieldValue(a, kSettingFields[i]), FieldValue(b, kSettingFields[i]))
        << kSettingFields[i].group << "/" << kSettingFields[i].key << " is not set";
  }
}

TEST(ApplyDefaults, VariantsDifferOnlyInKeepAspectRatio) {
  ConversionSettings console, windowed;
  ApplyDefaults(console, DefaultsVariant::kConsole, 1000, 2000);
  ApplyDefaults(windowed, DefaultsVariant::kWindowed, 1000, 2000);
  for (int i = 0; i < kSettingFieldCount; ++i) {
    const SettingField& f = kSettingFields[i];
    if (std::strcmp(f.key, "Keep Aspect Ratio") == 0) {
      EXPECT_EQ(FieldValue(console, f), "0");
      EXPECT_EQ(FieldValue(windowed, f), "1");
    } else {
      EXPECT_EQ(FieldValue(console, f), FieldValue(windowed, f)) << f.group << "/" << f.key;
    }
  }
}

TEST(ApplyDefaults, ConsoleDefaults) {
  ConversionSettings s;
  s.configurationPath = "/home/u/config.ini";
  ApplyDefaults(s, DefaultsVariant::kConsole, 1000, 2000);
  EXPECT_EQ(s.configurationPath, "/home/u/config.ini");  // not a setting
  EXPECT_EQ(s.keepAspectRatio, 0);
  EXPECT_EQ(s.imageResizeAlgorithm, 3);
  EXPECT_FLOAT_EQ(s.imageGamma, 1.0f);
  EXPECT_EQ(s.textPosition, 8);
  EXPECT_EQ(s.imagePosition, 8);
  EXPECT_EQ(s.backOpacity, 1);
  EXPECT_EQ(s.jpgQuality, 95);
  EXPECT_EQ(s.webpQuality, 100);
  EXPECT_EQ(s.rawToneMapping, 2);
  EXPECT_EQ(s.keepSubfolders, 1);
  EXPECT_EQ(s.recursiveFolders, 0);
  EXPECT_EQ(s.threads, 0);  // as many as there are cores
  EXPECT_EQ(s.filenameMask, "%filename%.%ext%");
  EXPECT_EQ(s.doWatermark, 0);
  EXPECT_EQ(s.cfg, 18);
  EXPECT_EQ(s.inputFormat, "jpg");
  EXPECT_EQ(s.outputFormat, "dds");
  EXPECT_EQ(s.ddsBpp, 0);
  EXPECT_EQ(s.font, "Arial");
  EXPECT_EQ(s.fontSize, 14);
  EXPECT_EQ(s.fontColor, "FFFFFF");
  EXPECT_EQ(s.solidOpacity, 255);
  EXPECT_EQ(s.text.rfind("\xC2\xA9", 0), 0u) << "the maker's notice begins with the copyright sign";
  EXPECT_EQ(s.updateDate, 1000);
  EXPECT_EQ(s.customTimestamp, 2000);
}

}  // namespace
}  // namespace jpg2dds
