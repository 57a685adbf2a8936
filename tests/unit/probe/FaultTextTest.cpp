#include <gtest/gtest.h>

#include "FaultText.h"

namespace dorvint {
namespace {

TEST(FaultText, NamesTheFaultWhereAndInWhichModule) {
  struct Case {
    FaultDetails fault;
    const char* text;
  };
  const Case cases[] = {
      {{kAccessViolation, 0x623014F3, kAccessRead, 0, "Unzip32.dll"},
       "Access violation at address 623014F3 in module 'Unzip32.dll'. Read of address 00000000"},
      {{kAccessViolation, 0x10001A2B, kAccessWrite, 0xFFFFFFFC, "Nkf32.dll"},
       "Access violation at address 10001A2B in module 'Nkf32.dll'. Write of address FFFFFFFC"},
      {{kAccessViolation, 0x0040ABCD, kAccessExecute, 0x0040ABCD, "7-zip32.dll"},
       "Access violation at address 0040ABCD in module '7-zip32.dll'. Execute of address 0040ABCD"},
      // Jumped to an address no module holds.
      {{kAccessViolation, 0, kAccessExecute, 0, ""},
       "Access violation at address 00000000. Execute of address 00000000"},
      {{kIllegalInstruction, 0x6A2C0010, 0, 0, "Unlha32.dll"},
       "Illegal instruction at address 6A2C0010 in module 'Unlha32.dll'"},
      {{kPrivilegedInstruction, 0x6A2C0010, 0, 0, "Unlha32.dll"},
       "Privileged instruction at address 6A2C0010 in module 'Unlha32.dll'"},
      {{kIntegerDivideByZero, 0xABCDEF01, 0, 0, "Cab32.dll"},
       "Division by zero at address ABCDEF01 in module 'Cab32.dll'"},
      {{kIntegerOverflow, 0x00000001, 0, 0, "Cab32.dll"},
       "Integer overflow at address 00000001 in module 'Cab32.dll'"},
      {{kStackOverflow, 0x10001000, 0, 0, "Tar32.dll"},
       "Stack overflow at address 10001000 in module 'Tar32.dll'"},
      {{kStackOverflow, 0x00123456, 0, 0, ""}, "Stack overflow at address 00123456"},
      // Anything else by number; the access fields only matter for access violations.
      {{0xE06D7363, 0x7B001234, kAccessWrite, 0x10, "KERNELBASE.dll"},
       "External exception E06D7363 at address 7B001234 in module 'KERNELBASE.dll'"},
      {{0x80000003, 0x00000ABC, 0, 0, ""}, "External exception 80000003 at address 00000ABC"},
  };
  for (const Case& c : cases) EXPECT_EQ(FaultText(c.fault), c.text);
}

}  // namespace
}  // namespace dorvint
