// Second phase of a conversion run: the named input becomes the input list.
#pragma once
#include <cstdint>
#include <string>

#include "batch/conversion_job.h"
#include "texts/string_catalogue.h"

namespace jpg2dds {

// The path's folder part without the base folder: without its leading
// base when it begins with it, else with every occurrence of the base
// removed when the base occurs in it; empty otherwise or when either is
// empty.
std::string RelativeSubfolder(const std::string& path, const std::string& baseFolder);

// Makes the path the input list's one entry; 1 when accepted, 0 when refused
// (empty file or extension not accepted).
int32_t AddInputFile(const std::string& path, ConversionJob& job);

// Prints the import lines and returns the number of files collected; with
// none it prints the empty-input lines (also when quiet).
int32_t CollectInput(bool quiet, ConversionJob& job, StringCatalogue& catalogue);

}  // namespace jpg2dds
