#include "texts/string_catalogue.h"

#include <algorithm>

#include "platform/text_case.h"
#include "texts/catalogue_data.h"

namespace jpg2dds {
namespace {

const char kFallbackText[] = "%NO_STRING_ERROR%";
// Joins key and text while sorting; below every character of a key, so
// entries order by key first and by text among equal keys.
const char kJoiner = '\x01';

// Ordinal comparison, byte by byte as unsigned values (UTF-8 byte order is
// code point order).
int CompareOrdinal(const std::string& a, const std::string& b) { return a.compare(b); }

// Code of the first character of an upper-cased key; 0 for an empty key.
unsigned FirstCharCode(const std::string& key) {
  return key.empty() ? 0u : static_cast<unsigned char>(key[0]);
}

}  // namespace

void LoadCatalogueFrom(StringCatalogue& catalogue, const char* const* data) {
  // Counting pass.
  size_t groupCount = 0, entryCount = 0;
  for (size_t i = 0;; i += 2) {
    std::string marker = UpperCase(data[i]);
    if (marker == "_END_") break;
    if (marker == "_GROUP_") {
      ++groupCount;
    } else {
      ++entryCount;
    }
  }
  catalogue = StringCatalogue{};
  catalogue.groups.assign(groupCount + 1, CatalogueGroup{});
  catalogue.entries.assign(entryCount + 1, CatalogueEntry{});

  // Filling pass: entries hold "KEY\x01text" until their group is sorted.
  std::vector<std::string> combined(entryCount + 1);
  int32_t g = 0, k = 0;
  for (size_t i = 0;; i += 2) {
    std::string first = UpperCase(data[i]);
    if (first == "_GROUP_") {
      catalogue.groups[g].lastEntry = k;
      ++g;
      CatalogueGroup& group = catalogue.groups[g];
      group.name = UpperCase(data[i + 1]);
      group.firstEntry = k + 1;
      std::fill(std::begin(group.firstCharIndex), std::end(group.firstCharIndex), 0);
    } else if (first == "_END_") {
      catalogue.groups[g].lastEntry = k;
      break;
    } else {
      ++k;
      combined[k] = first + kJoiner + data[i + 1];
    }
  }
  // Entries before the first group marker belong to no group and stay out
  // of every search; record 0 is reset to empty.
  catalogue.groups[0] = CatalogueGroup{};

  for (size_t gi = 1; gi <= groupCount; ++gi) {
    CatalogueGroup& group = catalogue.groups[gi];
    if (group.firstEntry > group.lastEntry) continue;
    std::sort(combined.begin() + group.firstEntry, combined.begin() + group.lastEntry + 1,
              [](const std::string& a, const std::string& b) { return CompareOrdinal(a, b) < 0; });
    unsigned previous = 0;
    for (int32_t e = group.firstEntry; e <= group.lastEntry; ++e) {
      size_t split = combined[e].find(kJoiner);
      CatalogueEntry& entry = catalogue.entries[e];
      entry.key = combined[e].substr(0, split);
      entry.text = combined[e].substr(split + 1);
      unsigned code = FirstCharCode(entry.key);
      if (code != previous) {
        group.firstCharIndex[code] = e;
        previous = code;
      }
    }
  }
}

void LoadCatalogue(StringCatalogue& catalogue) { LoadCatalogueFrom(catalogue, kCatalogueData); }

std::string CatalogueText(StringCatalogue& catalogue, const std::string& group, const std::string& key) {
  std::string groupName = UpperCase(group);
  std::string wanted = UpperCase(key);
  std::string result = kFallbackText;
  if (catalogue.groups.empty()) return result;  // not loaded

  int32_t& remembered = catalogue.rememberedGroup;
  if (catalogue.groups[remembered].name != groupName) {
    remembered = 0;
    for (size_t gi = 1; gi < catalogue.groups.size(); ++gi) {
      if (catalogue.groups[gi].name == groupName) {
        remembered = static_cast<int32_t>(gi);
        break;
      }
    }
  }
  if (remembered == 0) return result;

  const CatalogueGroup& found = catalogue.groups[remembered];
  int32_t start = found.firstCharIndex[FirstCharCode(wanted)];
  if (start == 0) return result;
  for (int32_t e = start; e <= found.lastEntry; ++e) {
    int order = CompareOrdinal(wanted, catalogue.entries[e].key);
    if (order == 0) return catalogue.entries[e].text;
    if (order < 0) break;
  }
  return result;
}

namespace {

// Whether text at pos holds the placeholder, its letters in either case.
bool PlaceholderAt(const std::string& text, size_t pos, const std::string& placeholder) {
  if (pos + placeholder.size() > text.size()) return false;
  for (size_t i = 0; i < placeholder.size(); ++i) {
    char c = text[pos + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != placeholder[i]) return false;
  }
  return true;
}

}  // namespace

std::string SubstituteArgs(const std::string& text, const std::string& s1, const std::string& s2,
                           const std::string& s3, const std::string& s4) {
  if (text.empty()) return text;
  std::string current = text;
  const std::string* args[] = {&s1, &s2, &s3, &s4};
  for (int n = 0; n < 4; ++n) {
    const std::string& value = *args[n];
    if (value.empty()) continue;
    const std::string placeholder = "%s" + std::to_string(n + 1) + "%";
    std::string replaced;
    size_t pos = 0;
    while (pos < current.size()) {
      if (PlaceholderAt(current, pos, placeholder)) {
        replaced += value;  // not searched again
        pos += placeholder.size();
      } else {
        replaced += current[pos++];
      }
    }
    current = std::move(replaced);
  }
  return current;
}

}  // namespace jpg2dds
