#pragma once

#include <cstdint>
#include <string>

// The error report text for a fault raised inside a library.
namespace dorvint {

// Exception codes the text names; any other code is reported by its number.
constexpr std::uint32_t kAccessViolation = 0xC0000005;
constexpr std::uint32_t kIllegalInstruction = 0xC000001D;
constexpr std::uint32_t kIntegerDivideByZero = 0xC0000094;
constexpr std::uint32_t kIntegerOverflow = 0xC0000095;
constexpr std::uint32_t kPrivilegedInstruction = 0xC0000096;
constexpr std::uint32_t kStackOverflow = 0xC00000FD;

// What the faulting instruction tried, for an access violation.
constexpr std::uint32_t kAccessRead = 0;
constexpr std::uint32_t kAccessWrite = 1;
constexpr std::uint32_t kAccessExecute = 8;

struct FaultDetails {
  std::uint32_t code = 0;
  std::uint32_t address = 0;        // of the faulting instruction
  std::uint32_t accessKind = 0;     // access violations: kAccessRead, kAccessWrite, kAccessExecute
  std::uint32_t accessAddress = 0;  // access violations: the address it tried to use
  std::string module;               // file name of the module holding `address`, empty if none
};

// "Access violation at address 623014F3 in module 'Unzip32.dll'. Read of address 00000000",
// "Stack overflow at address 623014F3 in module 'Unzip32.dll'", and so on; addresses as
// eight upper-case hex digits, without the module part when no module holds the address.
// No full stop at the end: the error report adds it.
std::string FaultText(const FaultDetails& fault);

}  // namespace dorvint
