// JPEG files made safe to hand to FreeImage: their Exif blocks are replaced
// by a checked copy of the one field the pipeline reads.
#pragma once
#include <string>

namespace jpg2dds {

// Rewrites the marker segments in place: every Exif APP1 segment is taken
// out, and when one before the first scan holds a readable orientation, a
// minimal Exif segment with the last such orientation takes the place of the
// first of them (damaged blocks are skipped, as FreeImage's own reading
// skipped them). Everything else (other markers, the scans) stays byte for
// byte. Bytes that are not a JPEG are left as they are. Returns the
// orientation kept (1 to 8), 0 when none.
int ReplaceExifSegments(std::string& jpeg);

}  // namespace jpg2dds
