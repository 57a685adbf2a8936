#include "Startup_win.h"

#include <windows.h>

namespace dorvint {

std::wstring ProgramPath() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path;
}

void PrepareLibrarySearch() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetDllDirectoryW(L"");
  std::wstring folder = ProgramPath();
  const std::size_t separator = folder.find_last_of(L'\\');
  if (separator == std::wstring::npos) return;
  folder.resize(separator + 1);  // keeps "C:\" a root folder
  SetCurrentDirectoryW(folder.c_str());
}

}  // namespace dorvint
