#pragma once

#include <windows.h>

#include <string>

// What the program's own window classes share: one window procedure that
// hands each message to the C++ object behind the window.
namespace dorvint {

// Position and size of a window in its parent's client area (or on the
// screen for a top-level window).
struct Bounds {
  int left;
  int top;
  int width;
  int height;
};

// The MK_ flags of a mouse message: which buttons and keys were held.
using ShiftState = WPARAM;

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return handle_; }

  void SetText(const std::wstring& text) const;
  void Hide() const;
  // Changes the height and keeps the top-left corner and the width.
  void SetHeight(int height) const;
  void MoveTo(int left, int top) const;
  RECT ScreenBounds() const;

 protected:
  Window() = default;
  // Destroys a window that is still there.
  virtual ~Window();

  static HINSTANCE Instance();
  // Registers a window class whose windows are served by objects of this kind.
  static bool Register(const wchar_t* className, UINT style, HICON icon);
  bool CreateHandle(DWORD exStyle, const wchar_t* className, const std::wstring& text, DWORD style,
                    const Bounds& bounds, HWND parent, int id);

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
};

}  // namespace dorvint
