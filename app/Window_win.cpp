#include "Window_win.h"

#include "ErrorReport_win.h"
#include "Text_win.h"

namespace dorvint {

Window::~Window() {
  if (handle_ == nullptr) return;
  // The object is going away: no message may reach it any more.
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  DestroyWindow(handle_);
}

void Window::SetText(const std::wstring& text) const {
  // A text that is already shown is left alone: no message, no repaint.
  if (WindowText(handle_) == text) return;
  SetWindowTextW(handle_, text.c_str());
}

void Window::Hide() const { ShowWindow(handle_, SW_HIDE); }

void Window::SetHeight(int height) const {
  const RECT bounds = ScreenBounds();
  SetWindowPos(handle_, nullptr, 0, 0, bounds.right - bounds.left, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::MoveTo(int left, int top) const {
  SetWindowPos(handle_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Window::ScreenBounds() const {
  RECT bounds{};
  GetWindowRect(handle_, &bounds);
  return bounds;
}

HINSTANCE Window::Instance() { return GetModuleHandleW(nullptr); }

bool Window::Register(const wchar_t* className, UINT style, HICON icon) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = style;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = Instance();
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<const wchar_t*>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass) != 0;
}

bool Window::CreateHandle(DWORD exStyle, const wchar_t* className, const std::wstring& text,
                          DWORD style, const Bounds& bounds, HWND parent, int id) {
  // A child window's menu argument is its control ID.
  const HMENU menu =
      parent == nullptr ? nullptr : reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  // WM_NCCREATE has stored the handle in handle_ by the time this returns.
  return CreateWindowExW(exStyle, className, text.c_str(), style, bounds.left, bounds.top,
                         bounds.width, bounds.height, parent, menu, Instance(), this) != nullptr;
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  LRESULT result = 0;
  RunReportingErrors(GetAncestor(window, GA_ROOT),
                     [&] { result = self->HandleMessage(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
  }
  return result;
}

}  // namespace dorvint
