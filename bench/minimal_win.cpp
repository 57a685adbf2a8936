// The floor the program is measured against: the least a Win32 program does
// to show a window like the program's, or to paint its picture.
#include "Minimal_win.h"

#include <windows.h>

#include <cwchar>

#include "BareProbe_win.h"
#include "Layout.h"
#include "PictureTable.h"

namespace dorvint::bench {
namespace {

// Child windows of the program's window: the title strip, two buttons, the
// list panel, its two headers and two cells for each row.
constexpr int kChildWindows = 6 + 2 * kMaxRows;
constexpr wchar_t kChildClass[] = L"DorvintMinimalChild";

enum class Mode { Start, SetPixel, Empty };

class MinimalWindow {
 public:
  explicit MinimalWindow(Mode mode) : mode_(mode) {}
  MinimalWindow(const MinimalWindow&) = delete;
  MinimalWindow& operator=(const MinimalWindow&) = delete;
  ~MinimalWindow() {
    if (handle_ != nullptr) DestroyWindow(handle_);
  }

  static bool Register();
  bool Create(int height);
  HWND Handle() const { return handle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();

  Mode mode_;
  HWND handle_ = nullptr;
  INT_PTR paints_ = 0;
};

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

bool RegisterClassFor(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = Instance();
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<const wchar_t*>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) != 0;
}

bool MinimalWindow::Register() {
  return RegisterClassFor(kMinimalClass, WindowProc) &&
         RegisterClassFor(kChildClass, DefWindowProcW);
}

bool MinimalWindow::Create(int height) {
  CreateWindowExW(WS_EX_APPWINDOW, kMinimalClass, L"", WS_POPUP | WS_CLIPCHILDREN, CW_USEDEFAULT,
                  CW_USEDEFAULT, kFormWidth, height, nullptr, nullptr, Instance(), this);
  if (handle_ == nullptr || mode_ != Mode::Start) return handle_ != nullptr;
  for (int n = 0; n < kChildWindows; ++n) {
    auto* const id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(n + 1));
    if (!CreateWindowExW(0, kChildClass, nullptr, WS_CHILD | WS_VISIBLE, 8, 8 + 10 * n, 81, 17,
                         handle_, id, Instance(), nullptr)) {
      return false;
    }
  }
  return true;
}

LRESULT CALLBACK MinimalWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created =
        static_cast<MinimalWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<MinimalWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MinimalWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_DESTROY:
      RemovePropW(handle_, kPaintCountProperty);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(handle_, message, wParam, lParam);
  }
}

// The picture where the program puts it under 25 rows, one SetPixel a pixel.
void PaintPictureBySetPixel(HDC dc) {
  const int left = 9;
  const int top = kPanel0Top + HeightsFor(25).panel0 + 8;
  for (int r = 1; r <= PictureTable.height; ++r) {
    for (int c = 1; c <= PictureTable.width; ++c) {
      SetPixel(dc, left + c, top + r, PictureColour(PictureTable, c, r));
    }
  }
}

void MinimalWindow::OnPaint() {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(handle_, &paint);
  if (mode_ == Mode::SetPixel) PaintPictureBySetPixel(dc);
  EndPaint(handle_, &paint);
  ++paints_;
  SetPropW(handle_, kPaintCountProperty, reinterpret_cast<HANDLE>(paints_));
}

Mode ModeOf(const wchar_t* commandLine) {
  if (std::wcscmp(commandLine, kSetPixelMode) == 0) return Mode::SetPixel;
  if (std::wcscmp(commandLine, kEmptyMode) == 0) return Mode::Empty;
  return Mode::Start;
}

int Run(const wchar_t* commandLine, int showCommand) {
  const Mode mode = ModeOf(commandLine);
  if (!MinimalWindow::Register()) return 1;
  MinimalWindow window(mode);
  // The program's window under 25 rows, with the picture strip when painting it.
  const int height = HeightsFor(25).form + (mode == Mode::Start ? 0 : 90);
  if (!window.Create(height)) return 1;
  if (mode == Mode::Start) BareProbes(DefaultLibraries());
  ShowWindow(window.Handle(), showCommand);
  MSG message{};
  BOOL received;
  while ((received = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return received == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace
}  // namespace dorvint::bench

int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPWSTR lpCmdLine,
                    int nShowCmd) {
  return dorvint::bench::Run(lpCmdLine, nShowCmd);
}
