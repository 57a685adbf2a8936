#include "ErrorReport_win.h"

#include "ErrorText.h"
#include "Text_win.h"
#include "Texts.h"

namespace dorvint {

std::wstring ErrorReportText(const std::string& message) {
  return Widen(WithFullStop(message), 932);
}

void ShowErrorReport(HWND owner, const std::string& message) {
  MessageBoxW(owner, ErrorReportText(message).c_str(), Widen(kApplicationTitle, 932).c_str(),
              MB_OK | MB_ICONERROR);
}

}  // namespace dorvint
