// Local clock as "date values": seconds since 1970-01-01 00:00:00 counted on
// the local calendar and clock, no time zone applied.
#pragma once
#include <cstdint>
#include <ctime>

namespace jpg2dds {

// Current local time as a date value.
int32_t CurrentDateValue();

// Broken-down local fields of a date value (tm_year etc. as in <ctime>).
std::tm DateValueFields(int32_t dateValue);

// The real instant (Unix time) of a date value under the local zone rules.
std::time_t DateValueToInstant(int32_t dateValue);

// The date value of a real instant (Unix time), in the local zone.
int32_t InstantToDateValue(std::time_t instant);

// Current local broken-down time.
std::tm CurrentLocalFields();

}  // namespace jpg2dds
