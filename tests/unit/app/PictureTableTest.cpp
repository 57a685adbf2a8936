#include <gtest/gtest.h>

#include "PictureTable.h"

namespace dorvint {
namespace {

TEST(PictureTable, ColumnMajorColoursWithAZeroTopByte) {
  EXPECT_EQ(PictureTable.width, 150);
  EXPECT_EQ(PictureTable.height, 74);
  for (std::uint32_t colour : PictureTable.colours) ASSERT_EQ(colour >> 24, 0u);
  // The column stride is the height: entry (c, r) and (c + 1, r) are 74 apart.
  EXPECT_EQ(&PictureTable.colours[74], &PictureColour(PictureTable, 2, 1));
  EXPECT_EQ(&PictureTable.colours[149 * 74 + 73], &PictureColour(PictureTable, 150, 74));
}

}  // namespace
}  // namespace dorvint
