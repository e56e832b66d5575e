#include "pipeline/overlays/surface_pieces.h"

#include <algorithm>

#include "platform/drawing.h"

namespace jpg2dds {

std::vector<Piece> SurfacePieces(const Piece& area) {
  std::vector<Piece> pieces;
  const int right = area.x + area.width, bottom = area.y + area.height;
  for (int y = area.y; y < bottom; y += kMaxSurfaceSide) {
    for (int x = area.x; x < right; x += kMaxSurfaceSide) {
      pieces.push_back({x, y, std::min(kMaxSurfaceSide, right - x), std::min(kMaxSurfaceSide, bottom - y)});
    }
  }
  return pieces;
}

}  // namespace jpg2dds
