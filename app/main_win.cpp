#include <windows.h>

#include <cstdlib>
#include <string>

#include "ErrorReport_win.h"
#include "TForm1.h"

// The library's default terminate handler names an uncaught exception's type
// and so links a whole demangler into the program.  Every error the program
// raises is caught where a message enters it, so a plain abort is enough.
namespace __gnu_cxx {
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl58-cpp): replaces the library's
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

// Makes the program's own folder the current directory, so that libraries
// loaded by bare file name never come from a folder chosen by whoever
// started the program.
void EnterProgramFolder() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  const std::size_t separator = path.find_last_of(L'\\');
  if (separator == std::wstring::npos) return;
  path.resize(separator + 1);  // keeps "C:\" a root folder
  SetCurrentDirectoryW(path.c_str());
}

int RunMessageLoop() {
  MSG message{};
  BOOL received;
  while ((received = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return received == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/,
                    int nShowCmd) {
  // A library that cannot be loaded shows as missing, never as a system dialog.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Take the current directory out of the library search.
  SetDllDirectoryW(L"");
  EnterProgramFolder();

  dorvint::TForm1 Form1;
  if (!Form1.Create()) return 1;
  // After a fault at show the window is shown all the same, as far as it got.
  dorvint::RunReportingErrors(Form1.Handle(), [&] { Form1.FormShow(); });
  ShowWindow(Form1.Handle(), nShowCmd);
  return RunMessageLoop();
}
