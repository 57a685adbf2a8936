#include "SpeedButton_win.h"

#include <windowsx.h>

#include "Gdi_win.h"
#include "Paint_win.h"
#include "Text_win.h"

namespace dorvint {
namespace {

constexpr wchar_t kClassName[] = L"TSpeedButton";

}  // namespace

bool SpeedButton::Register() { return Window::Register(kClassName, 0, nullptr); }

bool SpeedButton::Create(HWND parent, int id, const Bounds& bounds, const std::string& text,
                         HFONT font) {
  font_ = font;
  return CreateHandle(0, kClassName, Widen(text, 932), WS_CHILD | WS_VISIBLE, bounds, parent, id);
}

LRESULT SpeedButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMoveMessage(lParam);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(MouseButton::Left, wParam, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      OnButtonDown(MouseButton::Right, wParam, lParam);
      return 0;
    case WM_MBUTTONDOWN:
      OnButtonDown(MouseButton::Middle, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp(lParam);
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged();
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void SpeedButton::OnPaint() {
  const PaintDc paint(Handle());
  RECT area{};
  GetClientRect(Handle(), &area);
  RECT edge = area;
  if (down_) {
    DrawBevel(paint.get(), edge, Bevel::Lowered);
    OffsetRect(&area, 1, 1);
  } else if (hot_) {
    DrawBevel(paint.get(), edge, Bevel::Raised);
  }
  DrawCaption(paint.get(), area, WindowText(Handle()), font_, COLOR_WINDOWTEXT, DT_CENTER);
}

void SpeedButton::OnMouseMoveMessage(LPARAM lParam) {
  // Outside the button a move arrives only while the button holds the capture.
  const bool inside = Contains(lParam);
  if (inside && !hot_) TrackLeave();
  SetLook(inside, pressing_ && inside);
}

void SpeedButton::OnMouseLeave() { SetLook(false, down_); }

void SpeedButton::OnButtonDown(MouseButton button, WPARAM wParam, LPARAM lParam) {
  if (OnMouseDown) OnMouseDown(button, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  if (button != MouseButton::Left) return;
  pressing_ = true;
  SetCapture(Handle());
  SetLook(hot_, true);
}

void SpeedButton::OnLeftButtonUp(LPARAM lParam) {
  if (!pressing_) return;
  const bool inside = Contains(lParam);
  pressing_ = false;
  ReleaseCapture();
  SetLook(inside, false);
  // Last, as a click may close the window and destroy this button.
  if (inside && OnClick) OnClick();
}

void SpeedButton::OnCaptureChanged() {
  // The capture was taken away while the button was held: no click.
  if (!pressing_) return;
  pressing_ = false;
  SetLook(hot_, false);
}

bool SpeedButton::Contains(LPARAM lParam) const {
  RECT area{};
  GetClientRect(Handle(), &area);
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&area, point) != FALSE;
}

void SpeedButton::TrackLeave() const {
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof(track);
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = Handle();
  TrackMouseEvent(&track);
}

void SpeedButton::SetLook(bool hot, bool down) {
  if (hot == hot_ && down == down_) return;
  hot_ = hot;
  down_ = down;
  InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace dorvint
