#include "Probe.h"

#include <cstring>
#include <vector>

#include "Catalogue.h"
#include "Format.h"

namespace dorvint {
namespace {

// The value of a numeric entry as the catalogue says to read it.
std::int32_t Widen(std::uint32_t raw, ResultKind kind) {
  if (kind == ResultKind::Unsigned16) return static_cast<std::int32_t>(raw & 0xFFFFu);
  return static_cast<std::int32_t>(raw);
}

std::string TextVersion(LoadedLibrary& library, const void* entry) {
  std::vector<char> buffer(kVersionTextBuffer, '\0');
  library.CallTextEntry(entry, buffer.data());
  const char* first = buffer.data();
  const void* zero = std::memchr(first, '\0', kVersionTextLimit);
  const std::size_t length =
      zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - first) : kVersionTextLimit;
  return std::string(first, length);
}

std::string NumberVersion(LoadedLibrary& library, const CatalogueEntry& item, const void* main,
                          const void* sub, const std::string& type) {
  const bool withSub = sub != nullptr && (type == "A" || type == "N");
  // Sub-versions are always 16-bit values.
  auto callSub = [&] { return Widen(library.CallNumberEntry(sub), ResultKind::Unsigned16); };
  auto callMain = [&] { return Widen(library.CallNumberEntry(main), item.result); };

  switch (item.rule) {
    case VersionRule::MainWithSuffix:
      if (withSub) {
        const std::int32_t s = callSub();  // the sub entry is asked first
        const std::string suffix =
            type == "A" ? FormatSubVersionLetter(s) : FormatSubVersionNumber(s);
        return FormatVersion(callMain()) + suffix;
      }
      return FormatVersion(callMain());
    case VersionRule::UnimpForm:
      if (sub == nullptr) return FormatDottedVersion(callMain());
      if (withSub) {
        const std::int32_t s = callSub();
        return FormatVersion(callMain()) + FormatSubVersionShort(s);
      }
      return FormatVersion(callMain());
    case VersionRule::Compound:
      if (withSub) {
        const std::string mainText = FormatVersion(callMain());  // main first here
        return mainText + "." + FormatVersion(callSub());
      }
      return FormatVersion(callMain());
    case VersionRule::Plain:
    case VersionRule::Text:
      break;
  }
  return FormatVersion(callMain());
}

}  // namespace

ProbeReport ProbeLibrary(const std::string& name, const std::string& subVersionType,
                         LibraryLoader& loader) {
  const CatalogueEntry* item = FindCatalogueEntry(CatalogueKey(name));
  ProbeReport report;
  if (item == nullptr) {
    report.text = "Error!";
    report.status = ProbeStatus::UnknownName;
    return report;
  }

  // Released when this returns or a fault passes through: exactly once.
  const std::unique_ptr<LoadedLibrary> library = loader.Load(item->libraryFile);
  if (!library) {
    report.text = "---";
    report.status = ProbeStatus::NotLoaded;
    report.loadError = loader.LastError();
    return report;
  }

  report.filePath = library->FilePath();
  const void* main = library->FindEntry(item->mainEntry);
  const void* sub = item->subEntry ? library->FindEntry(item->subEntry) : nullptr;
  if (main == nullptr) {
    report.text = item->missingEntryText;
    report.status = ProbeStatus::EntryMissing;
    report.missingEntry = item->mainEntry;
    return report;
  }

  report.text = item->rule == VersionRule::Text
                    ? TextVersion(*library, main)
                    : NumberVersion(*library, *item, main, sub, subVersionType);
  return report;
}

std::string ProbeDllVersion(const std::string& name, const std::string& subVersionType,
                            LibraryLoader& loader) {
  return ProbeLibrary(name, subVersionType, loader).text;
}

}  // namespace dorvint
