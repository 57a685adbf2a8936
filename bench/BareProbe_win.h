#pragma once

#include <string>
#include <vector>

// The floor of a refresh: what the platform needs at the very least to ask
// each library of the default display list for its version.
namespace dorvint::bench {

// One library as the bare probe sees it: the file and the entries a probe
// calls under the default sub-version type "A".
struct BareLibrary {
  std::string file;
  std::string mainEntry;
  std::string subEntry;  // empty when the library has none
  bool textEntry;        // the main entry fills a buffer instead of returning a number
};

// The libraries of the default display list, in its order.
std::vector<BareLibrary> DefaultLibraries();

// For each library: LoadLibraryA by bare file name, GetProcAddress of its
// entries, one call of each, FreeLibrary.  Nothing is formatted, guarded or
// shown.  Returns how many of the libraries loaded.
int BareProbes(const std::vector<BareLibrary>& libraries);

}  // namespace dorvint::bench
