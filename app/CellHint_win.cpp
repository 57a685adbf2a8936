#include "CellHint_win.h"

#include <windows.h>

#include "CellHint.h"
#include "Text_win.h"

namespace dorvint {
namespace {

// The system's own message for an error code, without its line end.
std::wstring SystemMessage(DWORD code) {
  wchar_t buffer[1024];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n')) --length;
  return std::wstring(buffer, length);
}

// The code in decimal (std::to_wstring would link the wide printf family).
std::wstring Decimal(DWORD code) {
  const std::string digits = std::to_string(code);
  return std::wstring(digits.begin(), digits.end());
}

}  // namespace

std::wstring HintText(const ProbeReport& report, const std::string& name) {
  const CellHint hint = HintFor(report, name);
  switch (hint.kind) {
    case CellHint::Kind::FilePath:
      return report.filePath;
    case CellHint::Kind::SystemMessage:
      return SystemMessage(hint.code) + L" (" + Decimal(hint.code) + L")";
    case CellHint::Kind::Text:
      break;
  }
  return Widen(hint.subject, CP_ACP) + Widen(hint.text, 932);
}

}  // namespace dorvint
