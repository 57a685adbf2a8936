#include "Loader_win.h"

#include <windows.h>

#include <string>
#include <type_traits>

#include "FaultGuard_win.h"

namespace dorvint {
namespace {

using NumberEntry = UINT(WINAPI*)();
using TextEntry = void(WINAPI*)(char*);

struct NumberCall {
  NumberEntry entry;
  UINT result;
};

struct TextCall {
  TextEntry entry;
  char* buffer;
};

// The bare calls into the library, run under GuardedCall.
void CallNumber(void* context) {
  NumberCall& call = *static_cast<NumberCall*>(context);
  call.result = call.entry();
}

void CallText(void* context) {
  TextCall& call = *static_cast<TextCall*>(context);
  call.entry(call.buffer);
}

struct ModuleRelease {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ModuleOwner = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleRelease>;

// One loaded library, released exactly once when this goes.
class Win32Library final : public LoadedLibrary {
 public:
  explicit Win32Library(ModuleOwner module) : module_(std::move(module)) {}

  const void* FindEntry(const char* name) override {
    return reinterpret_cast<const void*>(GetProcAddress(module_.get(), name));
  }

  std::uint32_t CallNumberEntry(const void* entry) override {
    NumberCall call{reinterpret_cast<NumberEntry>(const_cast<void*>(entry)), 0};
    GuardedCall(&CallNumber, &call);
    return call.result;
  }

  void CallTextEntry(const void* entry, char* buffer) override {
    TextCall call{reinterpret_cast<TextEntry>(const_cast<void*>(entry)), buffer};
    GuardedCall(&CallText, &call);
  }

  // Grows the buffer until the whole path fits, long paths included.
  std::wstring FilePath() const override {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const auto size = static_cast<DWORD>(path.size());
      const DWORD length = GetModuleFileNameW(module_.get(), path.data(), size);
      if (length == 0) return {};
      if (length < size) {
        path.resize(length);
        return path;
      }
      path.resize(path.size() * 2);
    }
  }

 private:
  ModuleOwner module_;
};

}  // namespace

std::unique_ptr<LoadedLibrary> Win32LibraryLoader::Load(const char* fileName) {
  ModuleOwner module(LoadLibraryA(fileName));
  if (!module) {
    lastError_ = GetLastError();
    return nullptr;
  }
  return std::make_unique<Win32Library>(std::move(module));
}

}  // namespace dorvint
