#include "platform/font.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace jpg2dds {

namespace {

// A line drawn across the text: its top edge relative to the baseline
// (positive downwards) and its thickness, in whole pixels.
struct TextLine {
  int top = 0;
  int thickness = 1;
};

}  // namespace

struct WatermarkFont {
  cairo_font_face_t* face = nullptr;
  cairo_scaled_font_t* plain = nullptr;   // unsmoothed, whole-pixel metrics
  cairo_scaled_font_t* smooth = nullptr;  // grey antialiasing, exact metrics
  int ascent = 0;                         // plain metrics
  int height = 0;
  double smoothAscent = 0;
  bool underline = false;
  bool strikeOut = false;
  TextLine underlineLine;
  TextLine strikeLine;
};

namespace {

constexpr double kDotsPerInch = 96.0;

// Cell heights of the plain font are whole pixels, like the platform's
// bitmap text metrics; the tiny epsilon keeps exact integers from rounding up.
int CeilPixels(double value) { return static_cast<int>(std::ceil(value - 1e-6)); }

// cairo refuses invalid UTF-8 and then marks the shared scaled font as
// failed for good; a file name in a legacy encoding inside the watermark
// text must not do that, so invalid bytes become U+FFFD.
std::string ValidUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    bool valid = length > 0 && i + length <= text.size();
    uint32_t code = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; valid && k < length; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && code >= kSmallest[length] && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    if (valid) {
      out.append(text, i, length);
      i += length;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

// The font file fontconfig picks for the request, with only what selects
// the face itself (file, index, synthetic bold and slant): rendering options
// from the system configuration must not override the plain/smoothed modes.
FcPattern* MatchFace(const FontRequest& request, double pixels) {
  FcPattern* wanted = FcPatternCreate();
  if (!wanted) return nullptr;
  if (!request.face.empty()) {
    FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face.c_str()));
  }
  FcPatternAddInteger(wanted, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(wanted, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddDouble(wanted, FC_PIXEL_SIZE, pixels);
  FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
  FcDefaultSubstitute(wanted);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, wanted, &result);
  FcPatternDestroy(wanted);
  if (!match) return nullptr;

  FcPattern* face = nullptr;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    face = FcPatternCreate();
    int index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternAddString(face, FC_FILE, file);
    FcPatternAddInteger(face, FC_INDEX, index);
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) {
      FcPatternAddBool(face, FC_EMBOLDEN, embolden);
    }
    FcMatrix* matrix = nullptr;
    if (FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch) {
      FcPatternAddMatrix(face, FC_MATRIX, matrix);
    }
  }
  FcPatternDestroy(match);
  return face;
}

cairo_scaled_font_t* MakeScaledFont(cairo_font_face_t* face, double pixels, cairo_antialias_t antialias,
                                    cairo_hint_metrics_t metrics) {
  cairo_matrix_t size;
  cairo_matrix_t identity;
  cairo_matrix_init_scale(&size, pixels, pixels);
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, antialias);
  cairo_font_options_set_hint_metrics(options, metrics);
  cairo_scaled_font_t* font = cairo_scaled_font_create(face, &size, &identity, options);
  cairo_font_options_destroy(options);
  if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(font);
    return nullptr;
  }
  return font;
}

// Underline and strike-out from the face's own tables; cairo draws neither.
bool ReadDecorations(WatermarkFont& font, double pixels) {
  FT_Face face = cairo_ft_scaled_font_lock_face(font.plain);
  if (!face) return false;
  double units = face->units_per_EM > 0 ? face->units_per_EM : 0;
  double underlinePos = font.height - font.ascent > 1 ? (font.height - font.ascent) / 2.0 : 1.0;
  double underlineSize = pixels / 14.0;
  double strikePos = pixels * 0.3;
  double strikeSize = underlineSize;
  if (units > 0 && face->underline_thickness > 0) {
    underlinePos = -face->underline_position * pixels / units;
    underlineSize = face->underline_thickness * pixels / units;
    strikeSize = underlineSize;
  }
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (units > 0 && os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    strikePos = os2->yStrikeoutPosition * pixels / units;
    strikeSize = os2->yStrikeoutSize * pixels / units;
  }
  cairo_ft_scaled_font_unlock_face(font.plain);
  font.underlineLine.thickness = std::max(1, static_cast<int>(std::lround(underlineSize)));
  font.underlineLine.top = static_cast<int>(std::lround(underlinePos));
  font.strikeLine.thickness = std::max(1, static_cast<int>(std::lround(strikeSize)));
  font.strikeLine.top = -static_cast<int>(std::lround(strikePos));
  return true;
}

void DrawDecorations(cairo_t* cr, const WatermarkFont& font, double x, double baseline, double width) {
  if (width <= 0) return;
  if (font.underline) {
    cairo_rectangle(cr, x, baseline + font.underlineLine.top, width, font.underlineLine.thickness);
  }
  if (font.strikeOut) {
    cairo_rectangle(cr, x, baseline + font.strikeLine.top, width, font.strikeLine.thickness);
  }
  cairo_fill(cr);
}

void SetColour(cairo_t* cr, Colour colour) {
  cairo_set_source_rgba(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                        ((colour >> 16) & 0xFF) / 255.0, ((colour >> 24) & 0xFF) / 255.0);
}

double AdvanceWidth(cairo_scaled_font_t* font, const std::string& text) {
  cairo_text_extents_t extents;
  cairo_scaled_font_text_extents(font, text.c_str(), &extents);
  return extents.x_advance;
}

}  // namespace

WatermarkFont* CreateWatermarkFont(const FontRequest& request) {
  // A size of 0 asks for the platform's default size (12 points); a
  // negative one is taken by its magnitude.
  int points = request.points == 0 ? 12 : std::abs(request.points);
  double pixels = points * kDotsPerInch / 72.0;

  FcPattern* pattern = MatchFace(request, pixels);
  if (!pattern) return nullptr;
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
  FcPatternDestroy(pattern);  // the face keeps its own reference
  if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    return nullptr;
  }

  auto* font = new WatermarkFont;
  font->face = face;
  font->underline = request.underline;
  font->strikeOut = request.strikeOut;
  font->plain = MakeScaledFont(face, pixels, CAIRO_ANTIALIAS_NONE, CAIRO_HINT_METRICS_ON);
  font->smooth = MakeScaledFont(face, pixels, CAIRO_ANTIALIAS_GRAY, CAIRO_HINT_METRICS_OFF);
  if (font->plain && font->smooth) {
    cairo_font_extents_t plain;
    cairo_font_extents_t smooth;
    cairo_scaled_font_extents(font->plain, &plain);
    cairo_scaled_font_extents(font->smooth, &smooth);
    font->ascent = CeilPixels(plain.ascent);
    font->height = font->ascent + CeilPixels(plain.descent);
    font->smoothAscent = smooth.ascent;
    if (ReadDecorations(*font, pixels)) return font;
  }
  ReleaseWatermarkFont(font);
  return nullptr;
}

void ReleaseWatermarkFont(WatermarkFont* font) {
  if (!font) return;
  if (font->plain) cairo_scaled_font_destroy(font->plain);
  if (font->smooth) cairo_scaled_font_destroy(font->smooth);
  if (font->face) cairo_font_face_destroy(font->face);
  delete font;
}

bool MeasurePlainText(const WatermarkFont* font, const std::string& text, TextExtent& extent) {
  if (!font || cairo_scaled_font_status(font->plain) != CAIRO_STATUS_SUCCESS) return false;
  double width = AdvanceWidth(font->plain, ValidUtf8(text));
  extent.width = CeilPixels(width);
  extent.height = font->height;
  return true;
}

void DrawPlainText(Surface& surface, int x, int y, const std::string& text, const WatermarkFont* font,
                   Colour foreground, Colour background) {
  if (!font || !surface.pixels) return;
  std::string valid = ValidUtf8(text);
  TextExtent cell;
  if (!MeasurePlainText(font, valid, cell)) return;
  cairo_t* cr = cairo_create(surface.pixels);
  cairo_translate(cr, -surface.originX, -surface.originY);
  // SOURCE with unsmoothed (all-or-nothing) coverage writes the colour's
  // four channels as they are wherever a glyph or the cell covers a pixel.
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  SetColour(cr, background);
  cairo_rectangle(cr, x, y, cell.width, cell.height);
  cairo_fill(cr);
  SetColour(cr, foreground);
  cairo_set_scaled_font(cr, font->plain);
  double baseline = y + font->ascent;
  cairo_move_to(cr, x, baseline);
  cairo_show_text(cr, valid.c_str());
  DrawDecorations(cr, *font, x, baseline, cell.width);
  cairo_destroy(cr);
}

double MeasureVectorTextWidth(const WatermarkFont* font, const std::string& text) {
  if (!font) return 0;
  return AdvanceWidth(font->smooth, ValidUtf8(text));
}

void DrawSmoothText(Surface& surface, double x, double y, const std::string& text, const WatermarkFont* font,
                    Colour colour) {
  if (!font || !surface.pixels) return;
  std::string valid = ValidUtf8(text);
  cairo_t* cr = cairo_create(surface.pixels);
  cairo_translate(cr, -surface.originX, -surface.originY);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  SetColour(cr, colour);
  cairo_set_scaled_font(cr, font->smooth);
  double baseline = y + font->smoothAscent;
  cairo_move_to(cr, x, baseline);
  cairo_show_text(cr, valid.c_str());
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);  // the lines stay crisp on whole pixels
  DrawDecorations(cr, *font, x, std::round(baseline), AdvanceWidth(font->smooth, valid));
  cairo_destroy(cr);
}

}  // namespace jpg2dds
