#include "ErrorText.h"

namespace dorvint {
namespace {

// Lead bytes of code page 932 double-byte characters.
bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Start of the last character of a code page 932 text.
std::size_t LastCharacterStart(const std::string& text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size();) {
    start = i;
    const bool doubleByte = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    i += doubleByte ? 2 : 1;
  }
  return start;
}

}  // namespace

std::string WithFullStop(const std::string& message) {
  if (message.empty()) return message;
  // Byte-wise comparison of the last character with ".": the first byte
  // decides unless it equals "." itself, which only a one-byte "." does.
  const std::string last = message.substr(LastCharacterStart(message));
  return last.compare(".") > 0 ? message + "." : message;
}

}  // namespace dorvint
