#include "pipeline/load/exif_orientation.h"

#include <gtest/gtest.h>

#include <string>

namespace jpg2dds {
namespace {

// A TIFF structure as cameras write it: header, first directory with
// `count` entries claimed, the entries actually present, next offset 0.
struct Entry {
  uint16_t tag, type;
  uint32_t count, value;
};

std::string Tiff(bool bigEndian, uint32_t directory, uint16_t count, std::initializer_list<Entry> entries) {
  std::string out;
  auto put16 = [&](uint16_t v) {
    out += static_cast<char>(bigEndian ? v >> 8 : v & 0xFF);
    out += static_cast<char>(bigEndian ? v & 0xFF : v >> 8);
  };
  auto put32 = [&](uint32_t v) {
    if (bigEndian) { put16(static_cast<uint16_t>(v >> 16)); put16(static_cast<uint16_t>(v)); }
    else { put16(static_cast<uint16_t>(v)); put16(static_cast<uint16_t>(v >> 16)); }
  };
  out += bigEndian ? "MM" : "II";
  put16(42);
  put32(directory);
  while (out.size() < directory) out += '\0';
  put16(count);
  for (const Entry& e : entries) {
    put16(e.tag);
    put16(e.type);
    put32(e.count);
    // A SHORT value sits in the first two bytes of the value field.
    if (e.type == 3) { put16(static_cast<uint16_t>(e.value)); put16(0); }
    else put32(e.value);
  }
  put32(0);
  return out;
}

int Read(const std::string& tiff) {
  return ReadExifOrientation(reinterpret_cast<const uint8_t*>(tiff.data()), tiff.size());
}

TEST(ReadExifOrientation, ReadableOrientationsInBothByteOrders) {
  for (bool bigEndian : {false, true}) {
    for (uint32_t value = 1; value <= 8; ++value) {
      SCOPED_TRACE(std::to_string(value) + (bigEndian ? " MM" : " II"));
      // Other tags before it, as cameras write them sorted by tag number.
      EXPECT_EQ(Read(Tiff(bigEndian, 8, 3, {{0x010F, 2, 4, 0}, {0x0110, 2, 4, 0}, {0x0112, 3, 1, value}})),
                static_cast<int>(value));
      EXPECT_EQ(Read(Tiff(bigEndian, 20, 1, {{0x0112, 4, 1, value}})), static_cast<int>(value));
    }
  }
}

TEST(ReadExifOrientation, DamagedBlocksGiveNoOrientation) {
  const std::string headerOnly("II*\0", 4);  // a TIFF header without its directory offset
  EXPECT_EQ(Read(headerOnly), 0);
  EXPECT_EQ(Read(""), 0);
  EXPECT_EQ(ReadExifOrientation(nullptr, 100), 0);
  EXPECT_EQ(Read(Tiff(false, 8, 1, {{0x0112, 3, 1, 6}}).replace(2, 1, "\x2B")), 0);  // not 42
  EXPECT_EQ(Read(Tiff(false, 8, 1, {{0x0112, 3, 1, 6}}).replace(0, 2, "XX")), 0);    // no byte order
  EXPECT_EQ(Read(Tiff(false, 4, 1, {{0x0112, 3, 1, 6}})), 0);       // directory inside the header
  EXPECT_EQ(Read(Tiff(false, 8, 1, {{0x0112, 3, 0, 6}})), 0);       // no value
  EXPECT_EQ(Read(Tiff(false, 8, 1, {{0x0112, 2, 1, 6}})), 0);       // not a number
  EXPECT_EQ(Read(Tiff(false, 8, 1, {{0x0112, 3, 1, 9}})), 0);       // no such orientation
  EXPECT_EQ(Read(Tiff(false, 8, 1, {{0x0110, 3, 1, 6}})), 0);       // no orientation tag
  // 65535 entries claimed in a 60-byte block: only those present are read.
  std::string claimed = Tiff(true, 8, 65535, {{0x010F, 2, 4, 0}, {0x0110, 2, 4, 0}});
  claimed.resize(54);
  EXPECT_EQ(Read(claimed), 0);
  std::string cutShort = Tiff(true, 8, 65535, {{0x0112, 3, 1, 8}});
  EXPECT_EQ(Read(cutShort), 8);
}

// A directory offset past the block's end is refused from the header alone: a
// readable directory right behind the header must not be reached through it.
TEST(ReadExifOrientation, DirectoryPastTheEndIsRefusedFromTheHeader) {
  const std::string tiff = Tiff(false, 8, 1, {{0x0112, 3, 1, 6}});
  const uint32_t size = static_cast<uint32_t>(tiff.size());
  for (uint32_t offset : {size - 1, size, size + 1, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(offset);
    std::string damaged = tiff;
    for (int i = 0; i < 4; ++i) damaged[4 + i] = static_cast<char>(offset >> (8 * i));
    EXPECT_EQ(Read(damaged), 0);
  }
}

TEST(MinimalExifPayload, HoldsJustTheOrientation) {
  for (int value = 1; value <= 8; ++value) {
    const std::string payload = MinimalExifPayload(value);
    ASSERT_EQ(payload.compare(0, 6, std::string("Exif\0\0", 6)), 0);
    EXPECT_EQ(Read(payload.substr(6)), value);
  }
}

}  // namespace
}  // namespace jpg2dds
