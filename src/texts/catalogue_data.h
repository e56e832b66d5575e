// The catalogue's built-in data: a flat run of string pairs.
#pragma once

namespace jpg2dds {

// Pairs read from the start: ("_GROUP_", name) opens a group, (key, text) is
// an entry of the group opened last, ("_END_", "") ends the data.
extern const char* const kCatalogueData[];

}  // namespace jpg2dds
