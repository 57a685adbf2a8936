#include "Panel_win.h"

#include <windowsx.h>

#include "Gdi_win.h"
#include "Text_win.h"

namespace dorvint {
namespace {

constexpr wchar_t kClassName[] = L"TPanel";

}  // namespace

bool Panel::Register() { return Window::Register(kClassName, CS_HREDRAW | CS_VREDRAW, nullptr); }

bool Panel::Create(HWND parent, int id, const Bounds& bounds, const std::string& text,
                   const PanelLook& look, HFONT font) {
  look_ = look;
  font_ = font;
  return CreateHandle(0, kClassName, Widen(text, 932), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                      bounds, parent, id);
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SETTEXT:
      return OnSetText(wParam, lParam);
    case WM_MOUSEMOVE:
      OnMouseMoveMessage(wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown();
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp();
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void Panel::OnPaint() {
  const PaintDc paint(Handle());
  RECT area{};
  GetClientRect(Handle(), &area);
  DrawBevel(paint.get(), area, look_.outer);
  DrawBevel(paint.get(), area, look_.inner);
  DrawCaption(paint.get(), area, WindowText(Handle()), font_, look_.textColour, look_.alignment);
}

LRESULT Panel::OnSetText(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default(WM_SETTEXT, wParam, lParam);
  InvalidateRect(Handle(), nullptr, TRUE);
  return result;
}

void Panel::OnMouseMoveMessage(WPARAM wParam, LPARAM lParam) const {
  if (OnMouseMove) OnMouseMove(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

void Panel::OnLeftButtonDown() { SetCapture(Handle()); }

void Panel::OnLeftButtonUp() {
  if (GetCapture() == Handle()) ReleaseCapture();
}

}  // namespace dorvint
