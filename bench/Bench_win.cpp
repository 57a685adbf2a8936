// The benchmark: measures one group of figures against their floors and
// prints them as tab-separated lines (see TsvRow).
//   dorvint_bench refresh present|absent
//   dorvint_bench startup PROGRAM MINIMAL
//   dorvint_bench paint STRIP_PROGRAM PLAIN_PROGRAM MINIMAL
// PROGRAM is dorvint.exe in a folder with the stand-in libraries; for paint,
// STRIP_PROGRAM is one whose settings file turns the picture strip on and
// PLAIN_PROGRAM one without a settings file.  MINIMAL is the minimal program.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Figures_win.h"

namespace {

int Usage() {
  std::fputs(
      "usage: dorvint_bench refresh present|absent\n"
      "       dorvint_bench startup PROGRAM MINIMAL\n"
      "       dorvint_bench paint STRIP_PROGRAM PLAIN_PROGRAM MINIMAL\n",
      stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace dorvint::bench;
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  std::vector<Figure> figures;
  try {
    if (args.size() == 2 && args[0] == L"refresh" &&
        (args[1] == L"present" || args[1] == L"absent")) {
      figures = RefreshFigures(args[1] == L"present");
    } else if (args.size() == 3 && args[0] == L"startup") {
      figures = StartUpFigures(args[1], args[2]);
    } else if (args.size() == 4 && args[0] == L"paint") {
      figures = PaintFigures(args[1], args[2], args[3]);
    } else {
      return Usage();
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "dorvint_bench: %s\n", error.what());
    return 1;
  }
  for (const Figure& figure : figures) std::printf("%s\n", TsvRow(figure).c_str());
  return 0;
}
