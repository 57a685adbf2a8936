#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "Window_win.h"

namespace dorvint {

enum class MouseButton { Left, Right, Middle };

// A flat button: bold text and no edge until the pointer is over it, then a
// raised edge, and a sunken one while the left button holds it down.  Press
// and release of the left button over it is a click.  The class asks for no
// double-clicks, so a quick second press arrives as a plain press.
class SpeedButton final : public Window {
 public:
  SpeedButton() = default;

  static bool Register();
  bool Create(HWND parent, int id, const Bounds& bounds, const std::string& text, HFONT font);

  std::function<void()> OnClick;
  // Any mouse button pressed over the button: which one, the keys and buttons
  // held (the pressed one included), and where.
  std::function<void(MouseButton button, ShiftState shift, int x, int y)> OnMouseDown;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();
  void OnMouseMoveMessage(LPARAM lParam);
  void OnMouseLeave();
  void OnButtonDown(MouseButton button, WPARAM wParam, LPARAM lParam);
  void OnLeftButtonUp(LPARAM lParam);
  void OnCaptureChanged();

  bool Contains(LPARAM lParam) const;
  void TrackLeave() const;
  void SetLook(bool hot, bool down);

  HFONT font_ = nullptr;
  bool hot_ = false;       // the pointer is over the button
  bool down_ = false;      // drawn pressed
  bool pressing_ = false;  // the left button went down here and is held
};

}  // namespace dorvint
