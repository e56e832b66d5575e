// The one EXIF field the pipeline needs, read with every offset checked:
// FreeImage's own EXIF reader trusts the block and crashes on damaged ones.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace jpg2dds {

// The orientation (1 to 8) in the first directory of a TIFF structure (the
// bytes of an Exif APP1 segment after "Exif\0\0"); 0 when the structure is
// unreadable, the tag is missing or holds another value.
int ReadExifOrientation(const uint8_t* tiff, size_t size);

// The payload of an Exif APP1 segment ("Exif\0\0" and a TIFF structure) that
// holds nothing but that orientation.
std::string MinimalExifPayload(int orientation);

}  // namespace jpg2dds
