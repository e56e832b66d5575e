// JPEG files made safe to hand to FreeImage: their Exif blocks are replaced
// by a checked copy of the one field the pipeline reads.
#pragma once
#include <string>

namespace jpg2dds {

// Rewrites the marker segments before the first scan: every Exif APP1
// segment is taken out, and when the first one holds a readable orientation
// a minimal Exif segment with just that orientation takes its place.
// Everything else (other markers, the scans) stays byte for byte. Bytes that
// are not a JPEG are left as they are. Returns the orientation kept (1 to
// 8), 0 when none.
int ReplaceExifSegments(std::string& jpeg);

}  // namespace jpg2dds
