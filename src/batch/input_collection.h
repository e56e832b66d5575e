// Second phase of a conversion run: the named inputs become the input list.
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
// none it prints the empty-input lines (also when quiet). A run of the one
// -i file adds it alone; a batch run (the job's named inputs) adds the
// accepted files of every input in the order named, each path once, with
// its subfolder below an input folder and, without -o, its own output
// folder. A subfolder that cannot be listed or entered prints
// "Unreadable folder: " and its path, also when quiet, and is kept in the
// job's unreadable folders. A folder or list that can no longer be read
// prints its error line instead, and 0 is returned with `read` false (else it
// is true).
int32_t CollectInput(bool quiet, ConversionJob& job, StringCatalogue& catalogue, bool& read);

}  // namespace jpg2dds
