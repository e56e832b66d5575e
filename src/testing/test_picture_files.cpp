// Builders of foreign picture files for the tests (no tests of their own).
#include "testing/test_picture_files.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>

namespace jpg2dds::testing {
namespace {

void Le16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Le32(std::string& out, uint32_t v) {
  Le16(out, v & 0xFFFF);
  Le16(out, v >> 16);
}
void Be32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

const Bytef* Data(const std::string& bytes) { return reinterpret_cast<const Bytef*>(bytes.data()); }

uint32_t Crc32(const std::string& bytes) {
  return static_cast<uint32_t>(crc32_z(crc32_z(0, Z_NULL, 0), Data(bytes), bytes.size()));
}

std::string Chunk(const char* type, const std::string& data) {
  std::string body = std::string(type, 4) + data;
  std::string chunk;
  Be32(chunk, static_cast<uint32_t>(data.size()));
  chunk += body;
  Be32(chunk, Crc32(body));
  return chunk;
}

// zlib header, stored deflate blocks of at most 65535 bytes, Adler-32.
std::string StoredZlib(const std::string& raw) {
  std::string z = "\x78\x01";
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    z += static_cast<char>(at + n == raw.size() ? 1 : 0);
    Le16(z, static_cast<uint32_t>(n));
    Le16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.append(raw, at, n);
    at += n;
  } while (at < raw.size());
  Be32(z, static_cast<uint32_t>(adler32_z(adler32_z(0, Z_NULL, 0), Data(raw), raw.size())));
  return z;
}

// A zlib stream, deflated as libpng writes it, of `count` times `piece`, made
// a piece at a time.
std::string DeflatedZlib(const std::string& piece, int count) {
  z_stream stream{};
  deflateInit(&stream, Z_DEFAULT_COMPRESSION);
  std::string z;
  char buffer[65536];
  for (int i = 0; i <= count; ++i) {
    stream.next_in = const_cast<Bytef*>(Data(piece));
    stream.avail_in = i < count ? static_cast<uInt>(piece.size()) : 0;
    const int flush = i < count ? Z_NO_FLUSH : Z_FINISH;
    do {
      stream.next_out = reinterpret_cast<Bytef*>(buffer);
      stream.avail_out = sizeof buffer;
      deflate(&stream, flush);
      z.append(buffer, sizeof buffer - stream.avail_out);
    } while (stream.avail_out == 0);
  }
  deflateEnd(&stream);
  return z;
}

std::string PngWithData(int width, int height, int bitDepth, int colourType, const std::string& zlibStream,
                        const std::string& palette, const std::string& transparency) {
  std::string header;
  Be32(header, static_cast<uint32_t>(width));
  Be32(header, static_cast<uint32_t>(height));
  header += static_cast<char>(bitDepth);
  header += static_cast<char>(colourType);
  header += std::string(3, '\0');  // deflate, adaptive filtering, no interlace
  std::string file = "\x89PNG\r\n\x1a\n";
  file += Chunk("IHDR", header);
  if (!palette.empty()) file += Chunk("PLTE", palette);
  if (!transparency.empty()) file += Chunk("tRNS", transparency);
  file += Chunk("IDAT", zlibStream);
  file += Chunk("IEND", "");
  return file;
}

}  // namespace

std::string BmpFile(const BmpLayout& layout, int width, int height, const PixelFunction& rgb) {
  const int bpp = layout.bitsPerPixel;
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * bpp / 8 + 3) & ~3u;
  std::string palette;
  if (bpp == 8) {
    for (int i = 0; i < width * height; ++i) Le32(palette, rgb(i % width, i / width) & 0xFFFFFF);
  }
  const uint32_t colours = static_cast<uint32_t>(palette.size() / 4);

  std::string info;
  Le32(info, static_cast<uint32_t>(layout.headerSize));
  Le32(info, static_cast<uint32_t>(width));
  Le32(info, static_cast<uint32_t>(layout.topDown ? -height : height));
  Le16(info, 1);
  Le16(info, static_cast<uint32_t>(bpp));
  Le32(info, layout.bitfields ? 3 : 0);  // BI_BITFIELDS or BI_RGB
  Le32(info, rowBytes * height);
  Le32(info, 2835);  // 72 dpi
  Le32(info, 2835);
  Le32(info, colours);
  Le32(info, 0);
  std::string masks;
  Le32(masks, layout.bitfields ? 0x00FF0000 : 0);
  Le32(masks, layout.bitfields ? 0x0000FF00 : 0);
  Le32(masks, layout.bitfields ? 0x000000FF : 0);
  std::string afterHeader;
  if (layout.headerSize == 40) {
    if (layout.bitfields) afterHeader = masks;
  } else {
    info += masks;
  }
  if (layout.headerSize >= 56) Le32(info, layout.bitfields && bpp == 32 ? 0xFF000000u : 0);
  if (layout.headerSize >= 108) {
    Le32(info, 0x73524742);       // LCS_sRGB
    info += std::string(36, '\0');  // end points
    info += std::string(12, '\0');  // gammas
  }
  if (layout.headerSize >= 124) {
    Le32(info, 4);  // LCS_GM_IMAGES
    Le32(info, 0);  // no profile
    Le32(info, 0);
    Le32(info, 0);
  }
  afterHeader += palette;

  std::string pixels;
  for (int row = 0; row < height; ++row) {
    const int y = layout.topDown ? row : height - 1 - row;
    std::string line;
    for (int x = 0; x < width; ++x) {
      const uint32_t c = rgb(x, y);
      if (bpp == 8) {
        line += static_cast<char>(y * width + x);
        continue;
      }
      line += static_cast<char>(c & 0xFF);
      line += static_cast<char>((c >> 8) & 0xFF);
      line += static_cast<char>((c >> 16) & 0xFF);
      if (bpp == 32) line += '\0';
    }
    line.resize(rowBytes, '\0');
    pixels += line;
  }

  const uint32_t offset = static_cast<uint32_t>(14 + info.size() + afterHeader.size());
  std::string file = "BM";
  Le32(file, offset + static_cast<uint32_t>(pixels.size()));
  Le32(file, 0);
  Le32(file, offset);
  return file + info + afterHeader + pixels;
}

std::string PngFile(int width, int height, int bitDepth, int colourType, const std::string& scanlines,
                    const std::string& palette, const std::string& transparency) {
  return PngWithData(width, height, bitDepth, colourType, StoredZlib(scanlines), palette, transparency);
}

std::string PngFileOfEqualRows(int width, int height, int bitDepth, int colourType, const std::string& row) {
  return PngWithData(width, height, bitDepth, colourType, DeflatedZlib('\0' + row, height), "", "");
}

}  // namespace jpg2dds::testing
