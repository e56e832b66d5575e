#include "platform/clock.h"

namespace jpg2dds {

std::tm CurrentLocalFields() {
  std::time_t now = std::time(nullptr);
  std::tm fields{};
  localtime_r(&now, &fields);
  return fields;
}

int32_t InstantToDateValue(std::time_t instant) {
  std::tm fields{};
  localtime_r(&instant, &fields);
  return static_cast<int32_t>(timegm(&fields));
}

int32_t CurrentDateValue() { return InstantToDateValue(std::time(nullptr)); }

std::tm DateValueFields(int32_t dateValue) {
  std::time_t value = dateValue;
  std::tm fields{};
  gmtime_r(&value, &fields);
  return fields;
}

std::time_t DateValueToInstant(int32_t dateValue) {
  std::tm fields = DateValueFields(dateValue);
  fields.tm_isdst = -1;
  return mktime(&fields);
}

}  // namespace jpg2dds
