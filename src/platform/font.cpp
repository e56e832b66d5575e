#include "platform/font.h"

namespace jpg2dds {

struct WatermarkFont {
  FontRequest request;
};

WatermarkFont* CreateWatermarkFont(const FontRequest& request) { return new WatermarkFont{request}; }

void ReleaseWatermarkFont(WatermarkFont* font) { delete font; }

}  // namespace jpg2dds
