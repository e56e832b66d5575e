#include "texts/string_catalogue.h"

namespace jpg2dds {

void LoadCatalogue(StringCatalogue& catalogue) { catalogue = StringCatalogue{}; }

std::string CatalogueText(StringCatalogue&, const std::string&, const std::string&) {
  return "%NO_STRING_ERROR%";
}

std::string SubstituteArgs(const std::string& text, const std::string&, const std::string&,
                           const std::string&, const std::string&) {
  return text;
}

}  // namespace jpg2dds
