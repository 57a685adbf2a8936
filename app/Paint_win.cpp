#include "Paint_win.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Gdi_win.h"

namespace dorvint {
namespace {

// A picture entry (0x00BBGGRR) as a 32-bit device-independent bitmap pixel,
// whose bytes are blue, green, red and unused (0x00RRGGBB).
constexpr std::uint32_t DibPixel(std::uint32_t colour) {
  return (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);
}

}  // namespace

void DrawBevel(HDC dc, RECT& area, Bevel bevel) {
  if (bevel == Bevel::None) return;
  const bool raised = bevel == Bevel::Raised;
  const HBRUSH topLeft = GetSysColorBrush(raised ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
  const HBRUSH bottomRight = GetSysColorBrush(raised ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  const RECT top{area.left, area.top, area.right - 1, area.top + 1};
  const RECT left{area.left, area.top, area.left + 1, area.bottom - 1};
  const RECT right{area.right - 1, area.top, area.right, area.bottom};
  const RECT bottom{area.left, area.bottom - 1, area.right, area.bottom};
  FillRect(dc, &top, topLeft);
  FillRect(dc, &left, topLeft);
  FillRect(dc, &right, bottomRight);
  FillRect(dc, &bottom, bottomRight);
  InflateRect(&area, -1, -1);
}

void DrawCaption(HDC dc, RECT area, const std::wstring& text, HFONT font, int colourIndex,
                 UINT alignment) {
  const SelectScope selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(colourIndex));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            alignment | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void DrawStrokes(HDC dc, int colourIndex, std::initializer_list<POINT> points) {
  const Pen pen(CreatePen(PS_SOLID, 1, GetSysColor(colourIndex)));
  const SelectScope selected(dc, pen.get());
  const POINT* point = points.begin();
  MoveToEx(dc, point->x, point->y, nullptr);
  while (++point != points.end()) LineTo(dc, point->x, point->y);
}

void DrawPicture(HDC dc, const Picture& picture, int left, int top) {
  // Built afresh on every paint: row by row, top row first.
  const auto width = static_cast<std::size_t>(picture.width);
  std::vector<std::uint32_t> rows(width * static_cast<std::size_t>(picture.height));
  for (int r = 1; r <= picture.height; ++r) {
    for (int c = 1; c <= picture.width; ++c) {
      rows[static_cast<std::size_t>(r - 1) * width + static_cast<std::size_t>(c - 1)] =
          DibPixel(PictureColour(picture, c, r));
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, left, top, static_cast<DWORD>(picture.width),
                    static_cast<DWORD>(picture.height), 0, 0, 0, static_cast<UINT>(picture.height),
                    rows.data(), &info, DIB_RGB_COLORS);
}

}  // namespace dorvint
