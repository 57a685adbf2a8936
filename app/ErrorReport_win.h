#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace dorvint {

// What the error report says for a fault's `message` (code page 932): the
// message with its full stop.
std::wstring ErrorReportText(const std::string& message);

// The application's error report: a modal message box with the error icon
// and one OK button, captioned with the application title, showing `message`
// (code page 932) as ErrorReportText gives it.
void ShowErrorReport(HWND owner, const std::string& message);

// Runs an event handler where a message enters the program.  An error the
// handler raises ends that event and is shown by the error report; it never
// travels on into the window system.
template <typename Handler>
void RunReportingErrors(HWND owner, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowErrorReport(owner, error.what());
  }
}

}  // namespace dorvint
