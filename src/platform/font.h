// The watermark font: one cairo/FreeType font face chosen through
// fontconfig, with its size in pixels and its decorations.
#pragma once
#include <string>

namespace jpg2dds {

struct WatermarkFont;

struct FontRequest {
  std::string face;
  int points = 14;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// Null when no font can be made at all; a missing face is substituted.
WatermarkFont* CreateWatermarkFont(const FontRequest& request);
void ReleaseWatermarkFont(WatermarkFont* font);

}  // namespace jpg2dds
