#pragma once

#include <array>
#include <string>
#include <string_view>

// The fixed table of the archiver libraries the program knows.
namespace dorvint {

// Width of what a main entry returns.
enum class ResultKind {
  Unsigned16,  // only the low 16 bits count, zero-extended
  Signed32,    // the whole value, as a signed 32-bit integer
  Text,        // the entry fills a character buffer instead
};

// How the cell text is built from the entries.
enum class VersionRule { Plain, MainWithSuffix, UnimpForm, Compound, Text };

struct CatalogueEntry {
  const char* key;          // lower-case name matched against the display list
  const char* libraryFile;  // passed to the loader as written
  const char* mainEntry;
  const char* subEntry;  // nullptr when the library has none
  ResultKind result;
  VersionRule rule;
  const char* missingEntryText;  // cell text when the main entry is missing
};

extern const std::array<CatalogueEntry, 26> LibraryCatalogue;

// The catalogue key for a display name: ASCII A-Z lowered, nothing else changed.
std::string CatalogueKey(std::string_view name);

// The entry whose key equals `key` exactly, or nullptr.
const CatalogueEntry* FindCatalogueEntry(std::string_view key);

}  // namespace dorvint
