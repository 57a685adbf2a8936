#include "Process_win.h"

namespace dorvint::bench {
namespace {

constexpr DWORD kPatienceMs = 20000;

HWND FindShownWindow(DWORD processId, const wchar_t* className) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

}  // namespace

double NowMs() {
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
    info_ = {};
  }
}

ChildProcess::~ChildProcess() {
  if (!Started()) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, kPatienceMs);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

HWND ChildProcess::WaitForShownWindow(const wchar_t* className) const {
  if (!Started()) return nullptr;
  const double deadline = NowMs() + kPatienceMs;
  for (;;) {
    if (HWND window = FindShownWindow(info_.dwProcessId, className)) return window;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0 || NowMs() > deadline) {
      return nullptr;
    }
    Sleep(1);
  }
}

bool ChildProcess::Close(HWND window) const {
  if (!Started()) return false;
  PostMessageW(window, WM_CLOSE, 0, 0);
  return WaitForSingleObject(info_.hProcess, kPatienceMs) == WAIT_OBJECT_0;
}

}  // namespace dorvint::bench
