#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

// Asking one archiver library for its version.
namespace dorvint {

// A fault raised inside a library while it was being asked for its version
// (an access violation, say).  what() is the text for the error report.
class LibraryFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One loaded library.  Destroying it releases the library.
class LoadedLibrary {
 public:
  virtual ~LoadedLibrary() = default;
  // The exported function of that exact name, or nullptr.
  virtual const void* FindEntry(const char* name) = 0;
  // Calls an entry that takes no argument and returns an integer (WINAPI).
  // Throws LibraryFault when the library faults.
  virtual std::uint32_t CallNumberEntry(const void* entry) = 0;
  // Calls an entry that takes a character buffer and returns nothing (WINAPI).
  // Throws LibraryFault when the library faults.
  virtual void CallTextEntry(const void* entry, char* buffer) = 0;
  // The full path of the file that was loaded.
  virtual std::wstring FilePath() const = 0;
};

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // Loads a library by bare file name; nullptr when the load fails.
  virtual std::unique_ptr<LoadedLibrary> Load(const char* fileName) = 0;
  // Why the last failed Load failed: the platform's error code.
  virtual std::uint32_t LastError() const = 0;
};

// The text library entries write their version into is at most this long,
// the terminating zero included.
constexpr std::size_t kVersionTextLimit = 256;
// The buffer actually handed to such an entry: much larger, so that a library
// that writes past the limit corrupts nothing of ours.
constexpr std::size_t kVersionTextBuffer = 4096;

// The version cell text for a display name: "Error!" for a name the catalogue
// does not know, "---" when the library does not load, the entry's
// missing-entry text when it lacks its main entry, otherwise the formatted
// version.  `subVersionType` is "A" (letters), "N" (numbers) or anything else
// (main version only).  A LibraryFault passes through to the caller after the
// library has been released.
std::string ProbeDllVersion(const std::string& name, const std::string& subVersionType,
                            LibraryLoader& loader);

// What one probe found out, gathered while the library was loaded.
enum class ProbeStatus {
  Answered,     // the version entry answered: `text` is the version
  UnknownName,  // the catalogue does not know the name ("Error!")
  NotLoaded,    // the library did not load ("---"); see `loadError`
  EntryMissing  // the library lacks its main entry; see `missingEntry`
};

struct ProbeReport {
  std::string text;  // the version cell text, as ProbeDllVersion returns it
  ProbeStatus status = ProbeStatus::Answered;
  std::string missingEntry;     // EntryMissing: the main entry's name
  std::uint32_t loadError = 0;  // NotLoaded: the loader's error code
  std::wstring filePath;        // Answered or EntryMissing: the file that was loaded
};

// ProbeDllVersion with the facts behind its text.
ProbeReport ProbeLibrary(const std::string& name, const std::string& subVersionType,
                         LibraryLoader& loader);

}  // namespace dorvint
