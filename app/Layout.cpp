#include "Layout.h"

namespace dorvint {

int CountRows(const std::array<std::string, kMaxRows>& displayNames) {
  int rowCount = 0;
  while (rowCount < kMaxRows && !displayNames[rowCount].empty()) ++rowCount;
  return rowCount;
}

ListHeights HeightsFor(int rowCount) { return {20 * rowCount + 61, 20 * rowCount + 37}; }

Position CentredPosition(int screenWidth, int screenHeight, int formWidth, int formHeight) {
  // C++ division truncates toward zero, as the placement rule wants.
  return {(screenWidth - formWidth) / 2, (screenHeight - formHeight) / 2};
}

}  // namespace dorvint
