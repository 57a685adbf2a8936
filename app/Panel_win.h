#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "Paint_win.h"
#include "Window_win.h"

namespace dorvint {

struct PanelLook {
  Bevel outer;
  Bevel inner;
  UINT alignment;  // DT_LEFT or DT_CENTER; the text is always vertically centred
  int textColour;  // system colour index
};

// A panel: button-face background, optional bevels and one line of text,
// which is its window text.  A left press holds the mouse until its release,
// so the pointer moves of a drag that starts on a panel all go to that panel.
class Panel final : public Window {
 public:
  Panel() = default;

  static bool Register();
  bool Create(HWND parent, int id, const Bounds& bounds, const std::string& text,
              const PanelLook& look, HFONT font);

  // The pointer moved over the panel: the keys and buttons held, and where.
  std::function<void(ShiftState shift, int x, int y)> OnMouseMove;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  void OnMouseMoveMessage(WPARAM wParam, LPARAM lParam) const;
  void OnLeftButtonDown();
  void OnLeftButtonUp();

  PanelLook look_{};
  HFONT font_ = nullptr;
};

}  // namespace dorvint
