// Feeds arbitrary text to the settings file's integer conversion and checks
// the result against a separate reading of the rule: the prefixes and the
// sign are taken apart by hand, the digits are converted by std::from_chars
// and the limits are checked on the wide result.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "Settings.h"

namespace {

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::optional<std::int32_t> HexModel(std::string_view digits) {
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsHexDigit)) return std::nullopt;
  const std::size_t first = digits.find_first_not_of('0');
  const std::string_view significant =
      first == std::string_view::npos ? std::string_view() : digits.substr(first);
  if (significant.size() > 8) return std::nullopt;
  std::uint32_t pattern = 0;
  if (!significant.empty()) {
    std::from_chars(significant.data(), significant.data() + significant.size(), pattern, 16);
  }
  return static_cast<std::int32_t>(pattern);
}

std::optional<std::int32_t> DecimalModel(std::string_view text) {
  const bool negative = StartsWith(text, "-");
  if (negative || StartsWith(text, "+")) text.remove_prefix(1);
  if (text.empty() || !std::all_of(text.begin(), text.end(), IsDecimalDigit)) return std::nullopt;
  std::int64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> Model(std::string_view input) {
  std::string text(input);
  if (text.size() > 2 && (StartsWith(text, "0x") || StartsWith(text, "0X"))) {
    text.replace(0, 2, "$");
  }
  std::string_view rest = text;
  rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
  for (std::string_view prefix : {"$", "x", "X", "0x", "0X"}) {
    if (StartsWith(rest, prefix)) return HexModel(rest.substr(prefix.size()));
  }
  return DecimalModel(rest);
}

std::string Describe(const std::optional<std::int32_t>& value) {
  return value ? std::to_string(*value) : std::string("(none)");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int32_t> expected = Model(text);
  const std::optional<std::int32_t> actual = dorvint::ParseProfileInt(text);
  if (actual != expected || dorvint::ProfileIntOrDefault(text) != expected.value_or(-1)) {
    std::fprintf(stderr, "ParseProfileInt(\"%s\"): expected %s, got %s\n",
                 std::string(text).c_str(), Describe(expected).c_str(), Describe(actual).c_str());
    std::abort();
  }
  return 0;
}
