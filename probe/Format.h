#pragma once

#include <cstdint>
#include <string>

// Turning the integers that archiver libraries report into version texts.
// All five are pure and never fail; every input, negative ones included,
// runs through the same digit rules.
namespace dorvint {

// 267 -> "2.67", 0 -> "0.00", 12345 -> "123.45".
std::string FormatVersion(std::int32_t v);
// 123 -> "1.2.3".
std::string FormatDottedVersion(std::int32_t v);
// Sub-version suffix shown as a letter: 100..999 -> "a".."i", else as a number.
std::string FormatSubVersionLetter(std::int32_t s);
// Sub-version suffix shown as numbers: 5 -> ".0.5", 123 -> ".1.23", 300 -> ".3".
std::string FormatSubVersionNumber(std::int32_t s);
// Short sub-version suffix: 7 -> ".7", 42 -> ".42", 100 and above -> "".
std::string FormatSubVersionShort(std::int32_t s);

}  // namespace dorvint
