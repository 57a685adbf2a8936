#pragma once

#include <windows.h>

#include <string>

// Programs the benchmark starts and watches from outside.
namespace dorvint::bench {

// Milliseconds on the performance counter.
double NowMs();

// A started program, ended by force on destruction if it is still running.
class ChildProcess {
 public:
  // Starts `exe` with `arguments`, in the folder that holds it.
  ChildProcess(const std::wstring& exe, const std::wstring& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  // The visible top-level window of class `className` the program owns,
  // looked for every millisecond; nullptr when the program ends first or
  // does not show one within 20 seconds.
  HWND WaitForShownWindow(const wchar_t* className) const;
  // Asks `window` to close and waits for the program to end; false when it
  // does not end within 20 seconds.
  bool Close(HWND window) const;

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace dorvint::bench
