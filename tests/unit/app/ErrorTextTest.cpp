#include <gtest/gtest.h>

#include "ErrorText.h"

namespace dorvint {
namespace {

TEST(WithFullStop, AppendsAfterCharactersAboveTheFullStop) {
  struct Case {
    const char* message;
    const char* shown;
  };
  const Case cases[] = {
      {"", ""},
      {"Read of address 00000000", "Read of address 00000000."},
      {"Stack overflow", "Stack overflow."},
      {"Done.", "Done."},
      {"Odd,", "Odd,"},     // ',' is below '.'
      {"Path/", "Path/."},  // '/' is above '.'
      {"Hm!", "Hm!"},
      // "... に書き込めません" ends in a double-byte character
      {"C:\\x\\dorvint.ini \x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1",
       "C:\\x\\dorvint.ini \x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1."},
      // a double-byte character whose second byte is "." still gets one
      {"\x81\x2E", "\x81\x2E."},
      // half-width katakana is one byte above "."
      {"\xB1", "\xB1."},
  };
  for (const Case& c : cases) EXPECT_EQ(WithFullStop(c.message), c.shown) << c.message;
}

}  // namespace
}  // namespace dorvint
