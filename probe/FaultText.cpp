#include "FaultText.h"

namespace dorvint {
namespace {

// Eight upper-case hexadecimal digits.  Written out by hand: the printf
// family would add a fifth to the program's size.
std::string Hex8(std::uint32_t value) {
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, value >>= 4) text[i] = "0123456789ABCDEF"[value & 0xF];
  return text;
}

const char* AccessName(std::uint32_t kind) {
  if (kind == kAccessWrite) return "Write";
  if (kind == kAccessExecute) return "Execute";
  return "Read";
}

// What happened, up to " at address".
std::string Headline(std::uint32_t code) {
  switch (code) {
    case kAccessViolation:
      return "Access violation";
    case kIllegalInstruction:
      return "Illegal instruction";
    case kPrivilegedInstruction:
      return "Privileged instruction";
    case kIntegerDivideByZero:
      return "Division by zero";
    case kIntegerOverflow:
      return "Integer overflow";
    case kStackOverflow:
      return "Stack overflow";
    default:
      return "External exception " + Hex8(code);
  }
}

}  // namespace

std::string FaultText(const FaultDetails& fault) {
  std::string text = Headline(fault.code) + " at address " + Hex8(fault.address);
  if (!fault.module.empty()) text += " in module '" + fault.module + "'";
  if (fault.code == kAccessViolation) {
    text += std::string(". ") + AccessName(fault.accessKind) + " of address " +
            Hex8(fault.accessAddress);
  }
  return text;
}

}  // namespace dorvint
