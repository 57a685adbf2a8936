#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "PictureTable.h"

// Drawing shared by the main window, the panels and the flat buttons.
namespace dorvint {

enum class Bevel { None, Lowered, Raised };

// Draws a one-pixel bevel along the inside of `area` and shrinks `area` by
// it.  Lowered: shadow on the top and left, highlight on the bottom and right;
// raised the other way round.  The bottom and right lines take the corners
// they share with the top and left ones.
void DrawBevel(HDC dc, RECT& area, Bevel bevel);

// Draws one line of text in `area`, vertically centred, in `font` and the
// system colour `colourIndex`; `alignment` is DT_LEFT or DT_CENTER.
void DrawCaption(HDC dc, RECT area, const std::wstring& text, HFONT font, int colourIndex,
                 UINT alignment);

// Draws one-pixel strokes in the system colour `colourIndex` with a pen of its
// own: moves to the first of `points` (never empty), then draws a line to each further point.  A
// line paints from its start up to, but not including, its end point.
void DrawStrokes(HDC dc, int colourIndex, std::initializer_list<POINT> points);

// Draws `picture` pixel for pixel with its column 1, row 1 at (left, top).
void DrawPicture(HDC dc, const Picture& picture, int left, int top);

}  // namespace dorvint
