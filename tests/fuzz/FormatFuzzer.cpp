// Runs the five version formatters on one 32-bit value and checks each
// against a separate reading of the rule: the decimal pieces are cut from the
// digits of the value's magnitude, and a negative value puts a minus sign on
// every piece that is not zero.
//
// A seed file holds the value as decimal text; any other input is read as the
// bytes of the value, lowest first, so that mutation reaches every value.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Format.h"

namespace {

std::int32_t DecodeValue(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text, text + size, value);
  if (size > 0 && error == std::errc() && end == text + size) return value;
  std::uint32_t bytes = 0;
  for (std::size_t i = 0; i < std::min<std::size_t>(size, 4); ++i)
    bytes |= std::uint32_t{data[i]} << (8 * i);
  return static_cast<std::int32_t>(bytes);
}

// The pieces D1..D4 of a value, as texts.
struct Pieces {
  std::string d1, d2, d3, d4;
  char hundreds;  // the digit D2 is made from, without its sign
};

Pieces Cut(std::int32_t v) {
  const bool negative = v < 0;
  char magnitude[16];
  const int length =
      std::snprintf(magnitude, sizeof magnitude, "%lld",
                    negative ? -static_cast<long long>(v) : static_cast<long long>(v));
  std::string digits(magnitude, static_cast<std::size_t>(length));
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  const auto piece = [negative](std::string text) {
    text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
    return negative && text != "0" ? "-" + text : text;
  };
  const std::size_t n = digits.size();
  return {piece(digits.substr(0, n - 3)), piece(digits.substr(n - 3, 1)),
          piece(digits.substr(n - 2, 1)), piece(digits.substr(n - 1, 1)), digits[n - 3]};
}

std::string VersionModel(std::int32_t v) {
  const Pieces p = Cut(v);
  return (p.d1 == "0" ? "" : p.d1) + p.d2 + "." + p.d3 + p.d4;
}

std::string DottedModel(std::int32_t v) {
  const Pieces p = Cut(v);
  return (p.d1 == "0" ? "" : p.d1) + p.d2 + "." + p.d3 + "." + p.d4;
}

std::string NumberModel(std::int32_t s) {
  const Pieces p = Cut(s);
  if (s <= 0 || s >= 1000) return "";
  if (s < 10) return ".0." + p.d4;
  if (s < 100) return ".0." + p.d3 + p.d4;
  if (p.d3 != "0") return "." + p.d2 + "." + p.d3 + p.d4;
  if (p.d4 != "0") return "." + p.d2 + "." + p.d4;
  return "." + p.d2;
}

std::string LetterModel(std::int32_t s) {
  if (s < 100 || s > 999) return NumberModel(s);
  const std::string letters = "abcdefghi";
  return letters.substr(static_cast<std::size_t>(Cut(s).hundreds - '1'), 1);
}

std::string ShortModel(std::int32_t s) {
  const Pieces p = Cut(s);
  if (s <= 0 || s >= 100) return "";
  return s < 10 ? "." + p.d4 : "." + p.d3 + p.d4;
}

void Check(const char* name, std::int32_t value, const std::string& expected,
           const std::string& actual) {
  if (actual == expected) return;
  std::fprintf(stderr, "%s(%ld): expected \"%s\", got \"%s\"\n", name, static_cast<long>(value),
               expected.c_str(), actual.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::int32_t v = DecodeValue(data, size);
  Check("FormatVersion", v, VersionModel(v), dorvint::FormatVersion(v));
  Check("FormatDottedVersion", v, DottedModel(v), dorvint::FormatDottedVersion(v));
  Check("FormatSubVersionNumber", v, NumberModel(v), dorvint::FormatSubVersionNumber(v));
  Check("FormatSubVersionLetter", v, LetterModel(v), dorvint::FormatSubVersionLetter(v));
  Check("FormatSubVersionShort", v, ShortModel(v), dorvint::FormatSubVersionShort(v));
  return 0;
}
