#include "TableText.h"

namespace dorvint {

std::wstring TableLine(const std::wstring& name, const std::wstring& version,
                       const std::wstring& hint) {
  return name + L'\t' + version + L'\t' + hint + L"\r\n";
}

}  // namespace dorvint
