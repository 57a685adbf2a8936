// dorvint.com: the console companion of dorvint.exe.  Typed as "dorvint" in
// cmd.exe or PowerShell it is found before dorvint.exe (".COM" comes before
// ".EXE" in PATHEXT); being a console program, the prompt waits for it and
// its output can be redirected.  Without arguments it opens the window.

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "Listing.h"
#include "Listing_win.h"
#include "Output_win.h"
#include "Startup_win.h"
#include "Text_win.h"

namespace dorvint {
namespace {

struct HandleRelease {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using HandleOwner = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleRelease>;

// Starts dorvint.exe from this program's folder and returns at once.
int OpenWindow() {
  const std::wstring exe = ProgramFolder() + L"dorvint.exe";
  std::wstring commandLine = L'"' + exe + L'"';
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    const DWORD error = GetLastError();
    StandardStream(STD_ERROR_HANDLE)
        .Write(L"Cannot start " + exe + L" (error " + std::to_wstring(error) + L")\r\n");
    return kSomeVersionMissing;
  }
  const HandleOwner process(started.hProcess);
  const HandleOwner thread(started.hThread);
  return kEveryVersionShown;
}

int Run(const std::vector<std::string>& arguments) {
  switch (ParseCommand(arguments)) {
    case Command::Window:
      return OpenWindow();
    case Command::List:
      PrepareLibrarySearch();
      return RunListing(StandardStream(STD_OUTPUT_HANDLE));
    case Command::Help:
      StandardStream(STD_OUTPUT_HANDLE).Write(Widen(UsageText(), CP_ACP));
      return kEveryVersionShown;
    case Command::Wrong:
      break;
  }
  StandardStream(STD_ERROR_HANDLE).Write(Widen(UsageText(), CP_ACP));
  return kUsageError;
}

}  // namespace
}  // namespace dorvint

int wmain(int argc, wchar_t** argv) {
  // UTF-8 keeps every argument as it is: in the ANSI code page, a character
  // it lacks would become "?", and "/<that character>" would ask for help.
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(dorvint::Narrow(argv[i], CP_UTF8));
  return dorvint::Run(arguments);
}
