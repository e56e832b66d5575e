// Windows bitmaps with the longer info headers, in the form FreeImage reads.
#pragma once
#include <cstddef>
#include <string>

namespace jpg2dds {

// FreeImage reads a bitmap only with the 40-byte BITMAPINFOHEADER, while
// many programs write the V2, V3, V4 or V5 header (52, 56, 108 or 124
// bytes). Such a file is rewritten in place into the 40-byte form, with its
// colour masks right after the header when it uses them; the colour table
// and the pixels stay where they are. Returns where the file FreeImage is
// to read begins inside `file`: 0 when the file was left as it is.
size_t NormaliseBmpHeader(std::string& file);

}  // namespace jpg2dds
