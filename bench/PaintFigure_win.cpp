// Milliseconds per WM_PAINT, measured from outside: the benchmark invalidates
// a window of another process and has it repainted at once.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "Driver_win.h"
#include "Figures_win.h"
#include "Layout.h"
#include "Minimal_win.h"
#include "PictureTable.h"
#include "Process_win.h"

namespace dorvint::bench {
namespace {

constexpr int kWarmUpRounds = 3;
constexpr int kRounds = 31;
constexpr int kPaintsPerSample = 10;
constexpr int kRows = 25;  // the default display list
constexpr int kStripHeight = 90;
constexpr UINT kInvalidate = RDW_INVALIDATE | RDW_ERASE;

// A program started for painting, with its window placed where no other
// window covers it.
struct PaintedWindow {
  PaintedWindow(const std::wstring& exe, const std::wstring& arguments, const wchar_t* className,
                int left)
      : process(exe, arguments), window(process.WaitForShownWindow(className)) {
    if (window != nullptr) {
      SetWindowPos(window, nullptr, left, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  ~PaintedWindow() {
    if (window != nullptr) process.Close(window);
  }
  PaintedWindow(const PaintedWindow&) = delete;
  PaintedWindow& operator=(const PaintedWindow&) = delete;

  ChildProcess process;
  HWND window;
};

// Repaints the whole window `count` times, one paint at a time, and returns
// once the last paint is done.  Under Wine neither RDW_UPDATENOW nor a WM_NULL
// sent after the invalidation waits for the paint of a window of another
// process (sent messages go before paints), and a WM_PAINT sent after it may
// come after the paint the invalidation queued, painting a second time with
// nothing to paint.  So: invalidate, wait until the window's BeginPaint has
// taken the update region, then send WM_NULL, which the window's thread
// handles once its paint handler has returned.
void Repaint(HWND window, int count) {
  for (int i = 0; i < count; ++i) {
    RedrawWindow(window, nullptr, nullptr, kInvalidate);
    const double deadline = NowMs() + 5000;
    while (GetUpdateRect(window, nullptr, FALSE) && NowMs() < deadline) {
    }
    SendMessageW(window, WM_NULL, 0, 0);
  }
}

double PaintMs(HWND window) {
  const double start = NowMs();
  Repaint(window, kPaintsPerSample);
  return (NowMs() - start) / kPaintsPerSample;
}

int Height(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return bounds.bottom - bounds.top;
}

// How many pixels of the picture the window shows where the program puts it
// under 25 rows.
int PictureMatches(HWND window) {
  Repaint(window, 1);
  const window::Pixels pixels = window::CaptureScreen(window);
  const int top = kPanel0Top + HeightsFor(kRows).panel0 + 8;
  const int left = 9;
  int matches = 0;
  for (int r = 1; r <= PictureTable.height; ++r) {
    for (int c = 1; c <= PictureTable.width; ++c) {
      const std::uint32_t bgr = PictureColour(PictureTable, c, r);
      const std::uint32_t rgb = (bgr & 0xFFu) << 16 | (bgr & 0xFF00u) | (bgr >> 16 & 0xFFu);
      const int x = left + c;
      const int y = top + r;
      if (x < pixels.width && y < pixels.height && pixels.At(x, y) == rgb) ++matches;
    }
  }
  return matches;
}

int PaintCount(HWND window) {
  return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(window, kPaintCountProperty)));
}

// Whether each repaint is exactly one paint, done when Repaint returns, and
// how RDW_UPDATENOW alone compares.  The paint count is read without waiting
// for the window's thread.
std::string PaintsPerRepaint(HWND window) {
  int before = PaintCount(window);
  int done = 0;
  for (int i = 1; i <= kPaintsPerSample; ++i) {
    RedrawWindow(window, nullptr, nullptr, kInvalidate | RDW_UPDATENOW);
    done += PaintCount(window) >= before + i;
  }
  Repaint(window, 1);
  std::string text = "RDW_UPDATENOW alone: " + std::to_string(kPaintsPerSample) + " calls, " +
                     std::to_string(PaintCount(window) - before - 1) + " paints, " +
                     std::to_string(done) + " done on return; ";
  before = PaintCount(window);
  done = 0;
  for (int i = 1; i <= kPaintsPerSample; ++i) {
    Repaint(window, 1);
    done += PaintCount(window) == before + i;
  }
  return text + "as measured: " + std::to_string(kPaintsPerSample) + " repaints, " +
         std::to_string(PaintCount(window) - before) + " paints, " + std::to_string(done) +
         " done on return";
}

std::string Checked(const char* what, int height, int expectedHeight, int matches,
                    int expectedMatches) {
  const int pixels = PictureTable.width * PictureTable.height;
  std::string text = std::string(what) + " " + std::to_string(height) + " px high, " +
                     std::to_string(matches) + " of " + std::to_string(pixels) + " picture pixels";
  if (height != expectedHeight || matches != expectedMatches) {
    text += " (EXPECTED " + std::to_string(expectedHeight) + " px, " +
            std::to_string(expectedMatches) + ")";
  }
  return text;
}

// Milliseconds per paint of each window, one sample of each in every round,
// in the order given.
std::vector<std::vector<double>> MeasureRounds(std::initializer_list<HWND> windows) {
  std::vector<std::vector<double>> times(windows.size());
  for (int i = -kWarmUpRounds; i < kRounds; ++i) {
    std::size_t w = 0;
    for (HWND window : windows) {
      const double time = PaintMs(window);
      if (i >= 0) times[w].push_back(time);
      ++w;
    }
  }
  return times;
}

}  // namespace

std::vector<Figure> PaintFigures(const std::wstring& stripProgram, const std::wstring& plainProgram,
                                 const std::wstring& minimal) {
  Figure strip;
  strip.name = "Paint with the picture strip on";
  strip.floorName = "the same program, strip off (frame only, 171x561)";
  strip.maxRatio = 2.5;
  Figure setPixel;
  setPixel.name = "Paint with the picture strip on";
  setPixel.floorName = "minimal window 171x651 painting the picture with 11,100 SetPixel calls";
  setPixel.maxRatio = 0.10;
  Figure empty;
  empty.name = "Paint with the picture strip off";
  empty.floorName = "minimal window 171x651 painting nothing";

  const int listHeight = HeightsFor(kRows).form;
  const PaintedWindow on(stripProgram, L"", L"TForm1", 0);
  const PaintedWindow off(plainProgram, L"", L"TForm1", 200);
  const PaintedWindow pixels(minimal, kSetPixelMode, kMinimalClass, 400);
  const PaintedWindow nothing(minimal, kEmptyMode, kMinimalClass, 600);
  if (!on.window || !off.window || !pixels.window || !nothing.window) {
    strip.note = setPixel.note = empty.note = "a window did not show";
    return {strip, setPixel, empty};
  }

  const int all = PictureTable.width * PictureTable.height;
  strip.note = Checked("strip on:", Height(on.window), listHeight + kStripHeight,
                       PictureMatches(on.window), all) +
               "; strip off: " + std::to_string(Height(off.window)) + " px high";
  if (Height(off.window) != listHeight)
    strip.note += " (EXPECTED " + std::to_string(listHeight) + ")";
  setPixel.note = Checked("SetPixel window:", Height(pixels.window), listHeight + kStripHeight,
                          PictureMatches(pixels.window), all) +
                  "; " + PaintsPerRepaint(pixels.window);

  const std::vector<std::vector<double>> times =
      MeasureRounds({on.window, off.window, pixels.window, nothing.window});
  const std::vector<double>& onTimes = times[0];
  const std::vector<double>& offTimes = times[1];
  const std::vector<double>& pixelTimes = times[2];
  const std::vector<double>& nothingTimes = times[3];
  strip.summary = Summarise(onTimes, offTimes);
  setPixel.summary = Summarise(onTimes, pixelTimes);
  empty.summary = Summarise(offTimes, nothingTimes);

  // The drawing alone: each paint less the empty paint of a window of the
  // same size measured in the same round.
  Figure net;
  net.name = "  picture drawing net of an empty paint";
  net.floorName = "SetPixel drawing net of an empty paint";
  std::vector<double> netOn;
  std::vector<double> netPixels;
  for (std::size_t i = 0; i < onTimes.size(); ++i) {
    netOn.push_back(onTimes[i] - nothingTimes[i]);
    netPixels.push_back(pixelTimes[i] - nothingTimes[i]);
  }
  net.summary = Summarise(netOn, netPixels);
  net.note = "both less the minimal 171x651 empty paint of the same round";
  return {strip, setPixel, net, empty};
}

}  // namespace dorvint::bench
