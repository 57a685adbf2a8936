#include "Format.h"

namespace dorvint {
namespace {

// The decimal pieces every formatter starts from.  Division truncates toward
// zero and the remainder takes the sign of the dividend, so a negative input
// gives negative pieces that keep their minus sign.
struct Digits {
  std::string d1, d2, d3, d4;
};

Digits Split(std::int32_t v) {
  // Widen first: v / 1000 and v % 1000 cannot overflow, but keep the
  // arithmetic obviously safe for INT32_MIN.
  const std::int64_t w = v;
  return {std::to_string(w / 1000), std::to_string((w % 1000) / 100),
          std::to_string((w % 100) / 10), std::to_string(w % 10)};
}

std::string Leading(const std::string& d1) { return d1 == "0" ? std::string() : d1; }

}  // namespace

std::string FormatVersion(std::int32_t v) {
  const Digits d = Split(v);
  return Leading(d.d1) + d.d2 + "." + d.d3 + d.d4;
}

std::string FormatDottedVersion(std::int32_t v) {
  const Digits d = Split(v);
  return Leading(d.d1) + d.d2 + "." + d.d3 + "." + d.d4;
}

std::string FormatSubVersionNumber(std::int32_t s) {
  const Digits d = Split(s);
  if (s >= 1 && s <= 9) return ".0." + d.d4;
  if (s >= 10 && s <= 99) return ".0." + d.d3 + d.d4;
  if (s >= 100 && s <= 999) {
    if (d.d3 != "0") return "." + d.d2 + "." + d.d3 + d.d4;
    if (d.d4 != "0") return "." + d.d2 + "." + d.d4;
    return "." + d.d2;
  }
  return {};  // 0, 1000 and above, and negative values
}

std::string FormatSubVersionLetter(std::int32_t s) {
  if (s >= 100 && s <= 999) return std::string(1, static_cast<char>('a' + s / 100 - 1));
  return FormatSubVersionNumber(s);
}

std::string FormatSubVersionShort(std::int32_t s) {
  const Digits d = Split(s);
  if (s >= 1 && s <= 9) return "." + d.d4;
  if (s >= 10 && s <= 99) return "." + d.d3 + d.d4;
  return {};
}

}  // namespace dorvint
