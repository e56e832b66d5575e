// Drawings larger than a drawing surface may be, made piece by piece.
#pragma once
#include <vector>

namespace jpg2dds {

// A rectangle in pixels from a drawing's top-left corner.
struct Piece {
  int x, y, width, height;
};

// The area cut, row by row from its top-left corner, into pieces of at most
// kMaxSurfaceSide pixels a side; an area that fits one surface stays whole.
// None for an empty area.
std::vector<Piece> SurfacePieces(const Piece& area);

}  // namespace jpg2dds
