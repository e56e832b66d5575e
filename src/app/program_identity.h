// What makes this member of the converter family what it is.
#pragma once
#include <cstdint>
#include <string>

namespace jpg2dds {

inline constexpr const char kTitleText[] = "Brightmill JPG to DDS";
inline constexpr int32_t kVersionNumber = 280;
// Also the default text of the watermark.
inline constexpr const char kMakerNotice[] = "\xC2\xA9 2019-2026 Brightmill";
inline constexpr const char kMakerWebAddress[] = "https://www.brightmill.example/";

// "2.8" from 280: dots before the 2nd and 4th character, a trailing "0"
// patch level dropped.
std::string VersionText(int32_t versionNumber = kVersionNumber);

// Title, blank, version text.
std::string FullTitle();

}  // namespace jpg2dds
