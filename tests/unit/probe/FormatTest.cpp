#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "Format.h"

namespace dorvint {
namespace {

struct Case {
  std::int32_t value;
  const char* text;
};

TEST(FormatVersion, TwoDecimalsAfterThePoint) {
  const Case cases[] = {{267, "2.67"},
                        {100, "1.00"},
                        {5, "0.05"},
                        {0, "0.00"},
                        {1000, "10.00"},
                        {1234, "12.34"},
                        {12345, "123.45"},
                        {65535, "655.35"},
                        {-5, "0.0-5"},
                        {-1234, "-1-2.-3-4"},
                        {INT32_MIN, "-2147483-6.-4-8"}};
  for (const Case& c : cases) EXPECT_EQ(FormatVersion(c.value), c.text) << c.value;
}

TEST(FormatDottedVersion, ThreeParts) {
  const Case cases[] = {{123, "1.2.3"}, {7, "0.0.7"}, {1234, "12.3.4"}, {0, "0.0.0"}};
  for (const Case& c : cases) EXPECT_EQ(FormatDottedVersion(c.value), c.text) << c.value;
}

TEST(FormatSubVersionNumber, RangesInOrder) {
  const Case cases[] = {{0, ""},       {5, ".0.5"},    {9, ".0.9"},    {10, ".0.10"}, {42, ".0.42"},
                        {99, ".0.99"}, {123, ".1.23"}, {110, ".1.10"}, {105, ".1.5"}, {101, ".1.1"},
                        {100, ".1"},   {300, ".3"},    {999, ".9.99"}, {1000, ""},    {65535, ""}};
  for (const Case& c : cases) EXPECT_EQ(FormatSubVersionNumber(c.value), c.text) << c.value;
}

TEST(FormatSubVersionLetter, HundredsDigitPicksTheLetter) {
  const Case cases[] = {{0, ""},     {100, "a"},    {101, "a"}, {199, "a"}, {200, "b"}, {300, "c"},
                        {450, "d"},  {500, "e"},    {600, "f"}, {700, "g"}, {800, "h"}, {999, "i"},
                        {7, ".0.7"}, {99, ".0.99"}, {1000, ""}, {1500, ""}};
  for (const Case& c : cases) EXPECT_EQ(FormatSubVersionLetter(c.value), c.text) << c.value;
}

TEST(FormatSubVersionShort, OnlyBelowOneHundred) {
  const Case cases[] = {{0, ""}, {7, ".7"}, {10, ".10"}, {42, ".42"}, {99, ".99"}, {100, ""}};
  for (const Case& c : cases) EXPECT_EQ(FormatSubVersionShort(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace dorvint
