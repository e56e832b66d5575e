#include "settings/setting_values.h"

namespace jpg2dds {
namespace {

// Every visit below handles all four member-pointer kinds explicitly.
template <class... Fs>
struct Overloaded : Fs... {
  using Fs::operator()...;
};
template <class... Fs>
Overloaded(Fs...) -> Overloaded<Fs...>;

using S = ConversionSettings;

}  // namespace

void StoreSettingNumber(ConversionSettings& settings, const SettingField& field, int32_t value) {
  std::visit(Overloaded{
                 [&](int8_t S::*member) {
                   settings.*member = static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
                 },
                 [&](int32_t S::*member) { settings.*member = value; },
                 [&](float S::*member) { settings.*member = static_cast<float>(value); },
                 [&](std::string S::*) {},
             },
             field.field);
}

void StoreSettingReal(ConversionSettings& settings, const SettingField& field, float value) {
  if (auto member = std::get_if<float S::*>(&field.field)) settings.**member = value;
}

void StoreSettingText(ConversionSettings& settings, const SettingField& field, const std::string& value) {
  if (auto member = std::get_if<std::string S::*>(&field.field)) settings.**member = value;
}

int32_t SettingNumber(const ConversionSettings& settings, const SettingField& field) {
  return std::visit(Overloaded{
                        [&](int8_t S::*member) { return static_cast<int32_t>(settings.*member); },
                        [&](int32_t S::*member) { return settings.*member; },
                        [&](float S::*) { return int32_t{0}; },
                        [&](std::string S::*) { return int32_t{0}; },
                    },
                    field.field);
}

float SettingReal(const ConversionSettings& settings, const SettingField& field) {
  if (auto member = std::get_if<float S::*>(&field.field)) return settings.**member;
  return 0.0f;
}

const std::string& SettingText(const ConversionSettings& settings, const SettingField& field) {
  static const std::string kEmpty;
  if (auto member = std::get_if<std::string S::*>(&field.field)) return settings.**member;
  return kEmpty;
}

}  // namespace jpg2dds
