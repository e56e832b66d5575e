#include "platform/drawing.h"

#include <algorithm>

namespace jpg2dds {
namespace {

int ClampAlpha(int alpha) { return std::clamp(alpha, 0, 255); }

// c * a / 255, rounded, exact for all 8-bit inputs.
inline uint32_t MulDiv255(uint32_t c, uint32_t a) {
  uint32_t t = c * a + 128;
  return (t + (t >> 8)) >> 8;
}

inline uint32_t Unpremultiply(uint32_t c, uint32_t a) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); }

// Premultiplied cairo word -> straight 0xAARRGGBB.
inline ArgbWord StraightFromCairo(uint32_t p) {
  uint32_t a = p >> 24;
  if (a == 255 || a == 0) return a == 0 ? 0 : p;
  return (a << 24) | (Unpremultiply((p >> 16) & 0xFF, a) << 16) | (Unpremultiply((p >> 8) & 0xFF, a) << 8) |
         Unpremultiply(p & 0xFF, a);
}

inline uint32_t CairoFromStraight(ArgbWord p) {
  uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  return (a << 24) | (MulDiv255((p >> 16) & 0xFF, a) << 16) | (MulDiv255((p >> 8) & 0xFF, a) << 8) |
         MulDiv255(p & 0xFF, a);
}

inline Colour ColourFromArgb(ArgbWord p) {
  return (p & 0xFF00FF00u) | ((p >> 16) & 0xFF) | ((p & 0xFF) << 16);
}

inline ArgbWord ArgbFromColour(Colour c) { return ColourFromArgb(c); }  // the swap is its own inverse

uint32_t* Row(const Surface& surface, int y) {
  unsigned char* data = cairo_image_surface_get_data(surface.pixels);
  return reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * cairo_image_surface_get_stride(surface.pixels));
}

bool Usable(const Surface& surface) {
  return surface.pixels && cairo_surface_status(surface.pixels) == CAIRO_STATUS_SUCCESS;
}

void SetSourceColour(cairo_t* cr, Colour colour) {
  cairo_set_source_rgba(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                        ((colour >> 16) & 0xFF) / 255.0, ((colour >> 24) & 0xFF) / 255.0);
}

// Runs `draw` on a cairo context of the surface; nothing when unusable.
template <typename Draw>
void WithContext(Surface& surface, Draw draw) {
  if (!Usable(surface)) return;
  cairo_t* cr = cairo_create(surface.pixels);
  cairo_translate(cr, -surface.originX, -surface.originY);
  if (cairo_status(cr) == CAIRO_STATUS_SUCCESS) draw(cr);
  cairo_destroy(cr);
}

// Walks the overlapping area of source and target pixel by pixel in
// premultiplied form; `apply` maps a source word to the word written.
template <typename Apply>
void ReplacePixels(Surface& target, const Surface& source, Apply apply) {
  if (!Usable(target) || !Usable(source)) return;
  cairo_surface_flush(source.pixels);
  cairo_surface_flush(target.pixels);
  int width = std::min(target.width, source.width);
  int height = std::min(target.height, source.height);
  for (int y = 0; y < height; ++y) {
    const uint32_t* from = Row(source, y);
    uint32_t* to = Row(target, y);
    for (int x = 0; x < width; ++x) to[x] = apply(from[x]);
  }
  cairo_surface_mark_dirty(target.pixels);
}

// Premultiplied words scale as a whole: every channel times a / 255.
inline uint32_t ScalePremultiplied(uint32_t p, uint32_t a) {
  if (a == 255) return p;
  return (MulDiv255(p >> 24, a) << 24) | (MulDiv255((p >> 16) & 0xFF, a) << 16) |
         (MulDiv255((p >> 8) & 0xFF, a) << 8) | MulDiv255(p & 0xFF, a);
}

// The filter sees the straight pixel with its alpha already scaled.
inline uint32_t FilterPremultiplied(uint32_t p, uint32_t a, PixelFilter filter) {
  ArgbWord straight = StraightFromCairo(p);
  straight = (straight & 0x00FFFFFFu) | (MulDiv255(straight >> 24, a) << 24);
  return CairoFromStraight(ArgbFromColour(filter(ColourFromArgb(straight))));
}

}  // namespace

bool CreateSurface(int width, int height, Surface& surface) {
  surface = Surface{};
  if (width < 0 || height < 0) return false;
  // cairo's image surfaces start cleared to transparent.
  cairo_surface_t* pixels = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(pixels) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(pixels);
    return false;
  }
  surface = Surface{pixels, width, height};
  return true;
}

bool ResizeSurface(Surface& surface, int width, int height) {
  ReleaseSurface(surface);
  return CreateSurface(width, height, surface);
}

void ReleaseSurface(Surface& surface) {
  if (surface.pixels) cairo_surface_destroy(surface.pixels);
  surface = Surface{};
}

void FillSurface(Surface& surface, Colour colour) {
  WithContext(surface, [&](cairo_t* cr) {
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    SetSourceColour(cr, colour);
    cairo_paint(cr);
  });
}

void FillRectangle(Surface& surface, int x, int y, int width, int height, Colour colour) {
  if (width <= 0 || height <= 0) return;
  WithContext(surface, [&](cairo_t* cr) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    SetSourceColour(cr, colour);
    cairo_rectangle(cr, x, y, width, height);
    cairo_fill(cr);
  });
}

void FillPolygon(Surface& surface, const DrawPoint* points, int count, Colour colour) {
  if (count < 3) return;
  WithContext(surface, [&](cairo_t* cr) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetSourceColour(cr, colour);
    cairo_move_to(cr, points[0].x, points[0].y);
    for (int i = 1; i < count; ++i) cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
    cairo_fill(cr);
  });
}

void DrawSurfaceCopy(Surface& target, const Surface& source) {
  ReplacePixels(target, source, [](uint32_t p) { return p; });
}

void DrawSurfaceBlended(Surface& target, const Surface& source, int alpha) {
  if (!Usable(source)) return;
  WithContext(target, [&](cairo_t* cr) {
    cairo_identity_matrix(cr);  // surfaces meet pixel for pixel, whatever their drawing origins
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(cr, source.pixels, 0, 0);
    cairo_paint_with_alpha(cr, ClampAlpha(alpha) / 255.0);
  });
}

void DrawSurfaceReplacing(Surface& target, const Surface& source, int alpha) {
  uint32_t a = static_cast<uint32_t>(ClampAlpha(alpha));
  if (a == 255) {
    DrawSurfaceCopy(target, source);
    return;
  }
  ReplacePixels(target, source, [a](uint32_t p) { return ScalePremultiplied(p, a); });
}

void DrawSurfaceFiltered(Surface& target, const Surface& source, int alpha, PixelFilter filter) {
  uint32_t a = static_cast<uint32_t>(ClampAlpha(alpha));
  ReplacePixels(target, source, [a, filter](uint32_t p) { return FilterPremultiplied(p, a, filter); });
}

void FadeStraightRow(ArgbWord* row, int count, int alpha, PixelFilter filter) {
  const uint32_t a = static_cast<uint32_t>(ClampAlpha(alpha));
  for (int x = 0; x < count; ++x) {
    const uint32_t p = CairoFromStraight(row[x]);
    row[x] = StraightFromCairo(filter ? FilterPremultiplied(p, a, filter) : ScalePremultiplied(p, a));
  }
}

void ReadStraightRow(const Surface& surface, int y, ArgbWord* out) {
  if (!Usable(surface) || y < 0 || y >= surface.height) return;
  cairo_surface_flush(surface.pixels);
  const uint32_t* row = Row(surface, y);
  for (int x = 0; x < surface.width; ++x) out[x] = StraightFromCairo(row[x]);
}

void WriteStraightRow(Surface& surface, int y, const ArgbWord* row) {
  if (!Usable(surface) || y < 0 || y >= surface.height) return;
  cairo_surface_flush(surface.pixels);
  uint32_t* to = Row(surface, y);
  for (int x = 0; x < surface.width; ++x) to[x] = CairoFromStraight(row[x]);
  cairo_surface_mark_dirty(surface.pixels);
}

}  // namespace jpg2dds
