// The refresh pass, run with the program's own code: the probe, the text
// conversion and the panels whose texts it sets.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "BareProbe_win.h"
#include "Figures_win.h"
#include "Gdi_win.h"
#include "Layout.h"
#include "Loader_win.h"
#include "Panel_win.h"
#include "Probe.h"
#include "Process_win.h"
#include "Settings.h"
#include "Text_win.h"

namespace dorvint::bench {
namespace {

constexpr int kWarmUpRounds = 5;
constexpr int kRounds = 61;
constexpr wchar_t kFormClass[] = L"DorvintBenchForm";

struct WindowRelease {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using WindowOwner = std::unique_ptr<std::remove_pointer_t<HWND>, WindowRelease>;

// The library search the program sets up before its first probe: no error
// boxes, no current folder in the search, the program's folder first.
void SearchLikeTheProgram() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetDllDirectoryW(L"");
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path.resize(path.find_last_of(L'\\') + 1);
  SetCurrentDirectoryW(path.c_str());
}

// A window laid out like the program's list: the list panel and its cells.
class ListWindow {
 public:
  bool Create();
  Panel& NameCell(int n) { return nameCells_[n - 1]; }
  Panel& VersionCell(int n) { return versionCells_[n - 1]; }
  // Handles whatever the window has queued, its repaints included.
  static void Pump();

 private:
  WindowOwner form_;
  Font font_;
  Panel panel0_;
  std::array<Panel, kMaxRows> nameCells_;
  std::array<Panel, kMaxRows> versionCells_;
};

bool ListWindow::Create() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kFormClass;
  if (!RegisterClassExW(&windowClass) || !Panel::Register()) return false;
  const ListHeights heights = HeightsFor(kMaxRows - 1);
  form_.reset(CreateWindowExW(0, kFormClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, kFormWidth,
                              heights.form, nullptr, nullptr, windowClass.hInstance, nullptr));
  font_ = Font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                           nullptr));
  constexpr PanelLook kList{Bevel::Lowered, Bevel::Raised, DT_CENTER, COLOR_WINDOWTEXT};
  constexpr PanelLook kCell{Bevel::Lowered, Bevel::None, DT_CENTER, COLOR_WINDOWTEXT};
  bool created = form_ && panel0_.Create(form_.get(), 1000,
                                         {kPanel0Left, kPanel0Top, kPanel0Width, heights.panel0},
                                         "", kList, font_.get());
  for (int n = 1; created && n <= kMaxRows; ++n) {
    created =
        NameCell(n).Create(panel0_.Handle(), 100 + n, {8, RowTop(n), 81, 17}, "", kCell,
                           font_.get()) &&
        VersionCell(n).Create(panel0_.Handle(), n, {92, RowTop(n), 65, 17}, "", kCell, font_.get());
  }
  if (created) ShowWindow(form_.get(), SW_SHOWNOACTIVATE);
  return created;
}

void ListWindow::Pump() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

double TimeMs(const std::function<void()>& run) {
  const double start = NowMs();
  run();
  return NowMs() - start;
}

// The passes each round measures, over the default display list.
class RefreshPasses {
 public:
  explicit RefreshPasses(ListWindow& window)
      : window_(window),
        settings_(DefaultSettings()),
        rows_(CountRows(settings_.DisplayNames)),
        libraries_(DefaultLibraries()) {
    for (int n = 1; n <= rows_; ++n) {
      window_.NameCell(n).SetText(Widen(settings_.DisplayNames[n - 1], CP_ACP));
    }
  }

  // The program's refresh, SpeedButton2Click: each row probed and its
  // version cell set.
  void Refresh() {
    Win32LibraryLoader loader;
    for (int n = 1; n <= rows_; ++n) window_.VersionCell(n).SetText(ProbeRow(n, loader));
  }

  // The floor: the bare library calls.
  void Bare() { bareLoaded_ = BareProbes(libraries_); }

  // The two halves of the refresh on their own, to tell where its time goes.
  void ProbesOnly() {
    Win32LibraryLoader loader;
    for (int n = 1; n <= rows_; ++n) texts_[n - 1] = ProbeRow(n, loader);
  }
  void CellsOnly() {
    for (int n = 1; n <= rows_; ++n) window_.VersionCell(n).SetText(texts_[n - 1]);
  }

  // The cell updates if a cell that already shows its text were left alone,
  // as it is at almost every refresh.
  void ChangedCellsOnly() {
    for (int n = 1; n <= rows_; ++n) {
      const Panel& cell = window_.VersionCell(n);
      if (WindowText(cell.Handle()) != texts_[n - 1]) cell.SetText(texts_[n - 1]);
    }
  }

  // What the last passes found, and whether it is what `present` expects.
  std::string Check(bool present) {
    int versions = 0;
    for (int n = 1; n <= rows_; ++n) {
      versions += WindowText(window_.VersionCell(n).Handle()) != L"---";
    }
    const int expected = present ? rows_ : 0;
    std::string text = "program: " + std::to_string(versions) + " of " + std::to_string(rows_) +
                       " rows with a version; floor: " + std::to_string(bareLoaded_) + " of " +
                       std::to_string(libraries_.size()) + " loaded";
    if (versions != expected || bareLoaded_ != expected) {
      text += " (EXPECTED " + std::to_string(expected) + ")";
    }
    return text;
  }

 private:
  std::wstring ProbeRow(int n, LibraryLoader& loader) const {
    return Widen(ProbeDllVersion(settings_.DisplayNames[n - 1], settings_.SubVersionType, loader),
                 CP_ACP);
  }

  ListWindow& window_;
  const Settings settings_;
  const int rows_;
  const std::vector<BareLibrary> libraries_;
  std::array<std::wstring, kMaxRows> texts_;
  int bareLoaded_ = 0;
};

// Time of each pass in each round, the window's repaints handled in between.
struct Samples {
  std::vector<double> refresh;
  std::vector<double> bare;
  std::vector<double> probes;
  std::vector<double> cells;
  std::vector<double> changedCells;
};

Samples Measure(RefreshPasses& passes) {
  for (int i = 0; i < kWarmUpRounds; ++i) {
    passes.Refresh();
    passes.Bare();
    passes.ProbesOnly();
    passes.CellsOnly();
    passes.ChangedCellsOnly();
    ListWindow::Pump();
  }
  Samples samples;
  for (int i = 0; i < kRounds; ++i) {
    samples.refresh.push_back(TimeMs([&] { passes.Refresh(); }));
    ListWindow::Pump();
    samples.bare.push_back(TimeMs([&] { passes.Bare(); }));
    samples.probes.push_back(TimeMs([&] { passes.ProbesOnly(); }));
    samples.cells.push_back(TimeMs([&] { passes.CellsOnly(); }));
    ListWindow::Pump();
    samples.changedCells.push_back(TimeMs([&] { passes.ChangedCellsOnly(); }));
  }
  return samples;
}

Figure Part(const std::string& name, const Figure& whole, const std::vector<double>& part,
            const std::vector<double>& floor, const std::string& note) {
  Figure figure;
  figure.name = name;
  figure.floorName = whole.floorName;
  figure.summary = Summarise(part, floor);
  figure.note = note;
  return figure;
}

}  // namespace

std::vector<Figure> RefreshFigures(bool present) {
  SearchLikeTheProgram();
  const std::string libraries = present ? "present" : "absent";
  Figure figure;
  figure.name = "Refresh, 25 libraries " + libraries;
  figure.floorName = present ? "bare LoadLibraryA + GetProcAddress + call + FreeLibrary"
                             : "bare failing LoadLibraryA";
  figure.maxRatio = present ? 1.10 : 1.05;

  ListWindow window;
  if (!window.Create()) {
    figure.note = "could not create the list window";
    return {figure};
  }
  RefreshPasses passes(window);
  const Samples samples = Measure(passes);
  figure.summary = Summarise(samples.refresh, samples.bare);
  figure.note = passes.Check(present);
  return {figure,
          Part("  of which the probes (" + libraries + ")", figure, samples.probes, samples.bare,
               "ProbeDllVersion and the text conversion, no cell updated"),
          Part("  of which the cell updates (" + libraries + ")", figure, samples.cells,
               samples.bare, "25 SetWindowTextW on the panels, no probe"),
          Part("  cell updates if unchanged texts were skipped (" + libraries + ")", figure,
               samples.changedCells, samples.bare, "GetWindowTextW and compare; no text differs")};
}

}  // namespace dorvint::bench
