#pragma once

#include "Probe.h"

namespace dorvint {

// Loads archiver libraries with LoadLibraryA by bare file name and calls their
// version entries; a fault raised inside a library becomes a LibraryFault.
class Win32LibraryLoader final : public LibraryLoader {
 public:
  std::unique_ptr<LoadedLibrary> Load(const char* fileName) override;
  std::uint32_t LastError() const override { return lastError_; }

 private:
  std::uint32_t lastError_ = 0;
};

}  // namespace dorvint
