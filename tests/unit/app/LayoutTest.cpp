#include <gtest/gtest.h>

#include "Layout.h"

namespace dorvint {
namespace {

std::array<std::string, kMaxRows> Names(int filled) {
  std::array<std::string, kMaxRows> names;
  for (int i = 0; i < filled; ++i) names[i] = "NAME" + std::to_string(i + 1);
  return names;
}

TEST(CountRows, StopsAtTheFirstEmptyEntry) {
  EXPECT_EQ(CountRows(Names(25)), 25);
  EXPECT_EQ(CountRows(Names(26)), 26);
  EXPECT_EQ(CountRows(Names(0)), 0);
  auto gap = Names(5);
  gap[3].clear();  // entries 1 to 3, 4 empty, 5 set
  EXPECT_EQ(CountRows(gap), 3);
}

TEST(HeightsFor, TwentyPixelsARow) {
  struct Case {
    int rows, form, panel0;
  };
  const Case cases[] = {{25, 561, 537}, {26, 581, 557}, {0, 61, 37}, {3, 121, 97}};
  for (const Case& c : cases) {
    EXPECT_EQ(HeightsFor(c.rows).form, c.form) << c.rows;
    EXPECT_EQ(HeightsFor(c.rows).panel0, c.panel0) << c.rows;
  }
  // The designed layout is the 26-row list plus the two extra pixels of the form.
  EXPECT_EQ(RowTop(1), 32);
  EXPECT_EQ(RowTop(26), 532);
}

TEST(CentredPosition, TruncatesTowardZero) {
  struct Case {
    int screenW, screenH, formW, formH, left, top;
  };
  const Case cases[] = {
      {1024, 768, 171, 561, 426, 103}, {1280, 1024, 171, 581, 554, 221}, {171, 561, 171, 561, 0, 0},
      {800, 500, 171, 581, 314, -40},  // taller than the screen: negative, not clamped
      {800, 500, 171, 562, 314, -31},  // -62 / 2
      {800, 500, 171, 563, 314, -31},  // -63 / 2 truncates to -31, not -32
  };
  for (const Case& c : cases) {
    const Position p = CentredPosition(c.screenW, c.screenH, c.formW, c.formH);
    EXPECT_EQ(p.left, c.left);
    EXPECT_EQ(p.top, c.top) << c.screenH << " " << c.formH;
  }
}

}  // namespace
}  // namespace dorvint
