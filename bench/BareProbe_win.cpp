#include "BareProbe_win.h"

#include <windows.h>

#include <memory>
#include <type_traits>

#include "Catalogue.h"
#include "Settings.h"

namespace dorvint::bench {
namespace {

using NumberEntry = UINT(WINAPI*)();
using TextEntry = void(WINAPI*)(char*);

struct ModuleRelease {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleOwner = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleRelease>;

// One call of an entry; the answer is not looked at.
void Call(FARPROC found, bool text) {
  if (found == nullptr) return;
  void* entry = reinterpret_cast<void*>(found);
  if (text) {
    char buffer[256] = {};
    reinterpret_cast<TextEntry>(entry)(buffer);
  } else {
    reinterpret_cast<NumberEntry>(entry)();
  }
}

}  // namespace

std::vector<BareLibrary> DefaultLibraries() {
  std::vector<BareLibrary> libraries;
  for (const std::string& name : DefaultSettings().DisplayNames) {
    if (name.empty()) break;
    const CatalogueEntry* entry = FindCatalogueEntry(CatalogueKey(name));
    if (entry == nullptr) continue;
    libraries.push_back({entry->libraryFile, entry->mainEntry,
                         entry->subEntry != nullptr ? entry->subEntry : "",
                         entry->result == ResultKind::Text});
  }
  return libraries;
}

int BareProbes(const std::vector<BareLibrary>& libraries) {
  int loaded = 0;
  for (const BareLibrary& library : libraries) {
    const ModuleOwner module(LoadLibraryA(library.file.c_str()));
    if (!module) continue;
    ++loaded;
    Call(GetProcAddress(module.get(), library.mainEntry.c_str()), library.textEntry);
    if (!library.subEntry.empty()) {
      Call(GetProcAddress(module.get(), library.subEntry.c_str()), false);
    }
  }
  return loaded;
}

}  // namespace dorvint::bench
