// Reading and storing a setting through its entry in kSettingFields, so that
// tables of option and configuration keys can name settings as data.
#pragma once
#include <cstdint>
#include <string>

#include "settings/conversion_settings.h"

namespace jpg2dds {

// Stores a number in a numeric field: 8-bit fields keep the low 8 bits,
// 32-bit fields the value, the real field its float. Text fields are left
// alone.
void StoreSettingNumber(ConversionSettings& settings, const SettingField& field, int32_t value);
void StoreSettingReal(ConversionSettings& settings, const SettingField& field, float value);
void StoreSettingText(ConversionSettings& settings, const SettingField& field, const std::string& value);

// The field's value as a signed number (8-bit fields widened with their
// sign); 0 for text and real fields.
int32_t SettingNumber(const ConversionSettings& settings, const SettingField& field);
float SettingReal(const ConversionSettings& settings, const SettingField& field);
// Empty for numeric fields.
const std::string& SettingText(const ConversionSettings& settings, const SettingField& field);

}  // namespace jpg2dds
