#include "FaultGuard_win.h"

#include <malloc.h>
#include <windows.h>

#include <string>

#include "FaultText.h"
#include "Probe.h"

namespace dorvint {
namespace {

// What the handler saw, copied out of the exception record.
struct CaughtFault {
  DWORD code = 0;
  const void* address = nullptr;
  DWORD parameterCount = 0;
  ULONG_PTR parameters[2] = {};
};

// A frame-based exception handler registration: the record the system walks
// from fs:[0] (link and handler, in that order), followed by our own data.
struct GuardFrame {
  EXCEPTION_REGISTRATION_RECORD registration;
  void* resume[5];  // __builtin_setjmp buffer
  CaughtFault* fault;
};

// The thread information block; its first field, fs:[0], heads the handler
// chain.  (Read directly: GCC takes NtCurrentTeb's fs-relative read for an
// out-of-bounds access.)
NT_TIB* ThreadInformation() {
  NT_TIB* self;
  __asm__("movl %%fs:0x18, %0" : "=r"(self));
  return self;
}

// Unwinds every frame between the fault and `frame`, letting their handlers
// run their clean-up.  RtlUnwind does not keep the registers a caller expects
// to survive a call, so the compiler is told that all of them are lost.
void UnwindTo(GuardFrame* frame, EXCEPTION_RECORD* record) {
  void* target = frame;
  void* unwind = reinterpret_cast<void*>(&RtlUnwind);
  __asm__ __volatile__(
      "pushl $0\n\t"  // ReturnValue
      "pushl %1\n\t"  // ExceptionRecord
      "pushl $0\n\t"  // TargetIp
      "pushl %0\n\t"  // TargetFrame
      "call *%2"      // stdcall: removes its own arguments
      : "+a"(target), "+c"(record), "+d"(unwind)
      :
      : "ebx", "esi", "edi", "memory", "cc");
}

EXCEPTION_DISPOSITION NTAPI GuardHandler(EXCEPTION_RECORD* record, void* establisher,
                                         CONTEXT* /*context*/, void* /*dispatcher*/) {
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
    return ExceptionContinueSearch;
  }
  // Only record what happened here: the stack may be nearly exhausted.
  auto* frame = static_cast<GuardFrame*>(establisher);
  CaughtFault& fault = *frame->fault;
  fault.code = record->ExceptionCode;
  fault.address = record->ExceptionAddress;
  fault.parameterCount = record->NumberParameters;
  for (DWORD i = 0; i < 2 && i < record->NumberParameters; ++i) {
    fault.parameters[i] = record->ExceptionInformation[i];
  }
  UnwindTo(frame, record);
  __builtin_longjmp(frame->resume, 1);
}

// Runs the call with GuardHandler linked in; false when it faulted.
__attribute__((noinline)) bool RunGuarded(void (*call)(void*), void* context, CaughtFault& fault) {
  GuardFrame frame{};
  frame.registration.Handler = &GuardHandler;
  frame.fault = &fault;
  frame.registration.Next = ThreadInformation()->ExceptionList;
  if (__builtin_setjmp(frame.resume) != 0) {
    // Back from the handler: the unwind left our record at the head.
    ThreadInformation()->ExceptionList = frame.registration.Next;
    return false;
  }
  ThreadInformation()->ExceptionList = &frame.registration;
  call(context);
  ThreadInformation()->ExceptionList = frame.registration.Next;
  return true;
}

// File name of the module that holds `address`, empty when none does.
std::string ModuleAt(const void* address) {
  // A null address would name the program itself.
  if (address == nullptr) return {};
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &module)) {
    return {};
  }
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring name(path, length);
  name.erase(0, name.find_last_of(L"\\/") + 1);
  const int size = WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), narrow.data(), size,
                      nullptr, nullptr);
  return narrow;
}

FaultDetails Describe(const CaughtFault& fault) {
  FaultDetails details;
  details.code = fault.code;
  details.address = static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(fault.address));
  if (fault.code == EXCEPTION_ACCESS_VIOLATION && fault.parameterCount >= 2) {
    details.accessKind = static_cast<std::uint32_t>(fault.parameters[0]);
    details.accessAddress = static_cast<std::uint32_t>(fault.parameters[1]);
  }
  details.module = ModuleAt(fault.address);
  return details;
}

}  // namespace

void GuardedCall(void (*call)(void* context), void* context) {
  CaughtFault fault;
  if (RunGuarded(call, context, fault)) return;
  if (fault.code == EXCEPTION_STACK_OVERFLOW) _resetstkoflw();
  throw LibraryFault(FaultText(Describe(fault)));
}

}  // namespace dorvint
