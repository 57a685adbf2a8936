#include <windows.h>

#include <cwchar>
#include <string>

#include "Figures_win.h"
#include "Minimal_win.h"
#include "Process_win.h"

namespace dorvint::bench {
namespace {

constexpr int kWarmUpRounds = 2;
constexpr int kRounds = 41;
constexpr int kRows = 25;  // the default display list
// Control IDs in the program's window: the list panel, and in it the version
// cell of row n has ID n.
constexpr int kPanel0Id = 1000;

// Milliseconds from starting `exe` until its window of `className` is
// visible; the program is then closed.  Negative when it never shows or does
// not close.
double StartUntilShown(const std::wstring& exe, const wchar_t* className) {
  const double start = NowMs();
  const ChildProcess process(exe, L"");
  const HWND window = process.WaitForShownWindow(className);
  const double shown = NowMs();
  if (window == nullptr || !process.Close(window)) return -1;
  return shown - start;
}

// How many of the 25 rows of the program's window show a version when it
// first appears.
int VersionsShown(const std::wstring& program) {
  const ChildProcess process(program, L"");
  const HWND window = process.WaitForShownWindow(L"TForm1");
  if (window == nullptr) return 0;
  const HWND panel0 = GetDlgItem(window, kPanel0Id);
  int versions = 0;
  for (int n = 1; n <= kRows; ++n) {
    wchar_t text[64] = {};
    GetWindowTextW(GetDlgItem(panel0, n), text, 64);
    versions += text[0] != L'\0' && std::wcscmp(text, L"---") != 0;
  }
  process.Close(window);
  return versions;
}

}  // namespace

std::vector<Figure> StartUpFigures(const std::wstring& program, const std::wstring& minimal) {
  Figure figure;
  figure.name = "Start-up to window shown, 25 libraries present";
  figure.floorName = "minimal WS_POPUP window, 58 child windows, 25 bare probes";
  figure.maxRatio = 1.10;

  std::vector<double> programTimes;
  std::vector<double> minimalTimes;
  for (int i = -kWarmUpRounds; i < kRounds; ++i) {
    const double a = StartUntilShown(program, L"TForm1");
    const double b = StartUntilShown(minimal, kMinimalClass);
    if (a < 0 || b < 0) {
      figure.note = a < 0 ? "the program did not show its window or did not close"
                          : "the minimal program did not show its window or did not close";
      return {figure};
    }
    if (i < 0) continue;
    programTimes.push_back(a);
    minimalTimes.push_back(b);
  }
  figure.summary = Summarise(programTimes, minimalTimes);
  const int versions = VersionsShown(program);
  figure.note = "program shows " + std::to_string(versions) + " of " + std::to_string(kRows) +
                " versions; each start closed with WM_CLOSE; the tooltips come after the "
                "first paint, outside this figure";
  if (versions != kRows) figure.note += " (EXPECTED " + std::to_string(kRows) + ")";
  return {figure};
}

}  // namespace dorvint::bench
