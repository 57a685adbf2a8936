#include "Startup_win.h"

#include <windows.h>

namespace dorvint {

std::wstring ProgramFolder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  path.resize(path.find_last_of(L'\\') + 1);  // keeps "C:\" a root folder
  return path;
}

void PrepareLibrarySearch() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetDllDirectoryW(L"");
  const std::wstring folder = ProgramFolder();
  if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
}

}  // namespace dorvint
