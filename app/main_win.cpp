#include <windows.h>

#include <cstdlib>

#include "ErrorReport_win.h"
#include "Startup_win.h"
#include "TForm1.h"

// The library's default terminate handler names an uncaught exception's type
// and so links a whole demangler into the program.  Every error the program
// raises is caught where a message enters it, so a plain abort is enough.
namespace __gnu_cxx {
// NOLINTNEXTLINE(bugprone-reserved-identifier,cert-dcl58-cpp): replaces the library's
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

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
  dorvint::PrepareLibrarySearch();

  dorvint::TForm1 Form1;
  if (!Form1.Create()) return 1;
  // After a fault at show the window is shown all the same, as far as it got.
  dorvint::RunReportingErrors(Form1.Handle(), [&] { Form1.FormShow(); });
  ShowWindow(Form1.Handle(), nShowCmd);
  return RunMessageLoop();
}
