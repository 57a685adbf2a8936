#pragma once

#include <array>
#include <string>

// Window geometry that depends on the number of rows in use.
namespace dorvint {

constexpr int kMaxRows = 26;
constexpr int kFormWidth = 171;
constexpr int kDesignedFormHeight = 583;
constexpr int kDesignedPanel0Height = 556;
constexpr int kPanel0Left = 3;
constexpr int kPanel0Top = 21;
constexpr int kPanel0Width = 165;

// Rows in use: the entries before the first empty one, at most 26.
int CountRows(const std::array<std::string, kMaxRows>& displayNames);

struct ListHeights {
  int form;
  int panel0;
};
// Heights of the window and of Panel0 for `rowCount` rows.
ListHeights HeightsFor(int rowCount);

struct Position {
  int left;
  int top;
};
// Centred on a screen of the given size; division truncates toward zero, so a
// window larger than the screen gets a negative coordinate.
Position CentredPosition(int screenWidth, int screenHeight, int formWidth, int formHeight);

// Top of table row n (1 to 26) inside Panel0.
constexpr int RowTop(int n) { return 12 + 20 * n; }

}  // namespace dorvint
