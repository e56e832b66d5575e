// The built-in catalogue of user-facing texts, and message substitution.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace jpg2dds {

struct CatalogueGroup {
  std::string name;  // upper case
  int32_t firstEntry = 0;
  int32_t lastEntry = -1;
  int32_t firstCharIndex[256] = {};  // entry number of the first key with that initial
};

struct CatalogueEntry {
  std::string key;  // upper case
  std::string text;
};

struct StringCatalogue {
  std::vector<CatalogueGroup> groups;    // [0] stays empty
  std::vector<CatalogueEntry> entries;   // [0] stays empty
  int32_t rememberedGroup = 0;           // group of the last lookup
};

// Builds the catalogue from the built-in data (again, from scratch).
void LoadCatalogue(StringCatalogue& catalogue);

// Builds the catalogue from pair data in the built-in form (see
// texts/catalogue_data.h); the data must end with the "_END_" pair.
void LoadCatalogueFrom(StringCatalogue& catalogue, const char* const* data);

// The entry's text, or "%NO_STRING_ERROR%"; group and key match in any case.
std::string CatalogueText(StringCatalogue& catalogue, const std::string& group, const std::string& key);

// Replaces %s1%..%s4% (any case) by the non-empty arguments, in order.
std::string SubstituteArgs(const std::string& text, const std::string& s1, const std::string& s2,
                           const std::string& s3, const std::string& s4);

}  // namespace jpg2dds
