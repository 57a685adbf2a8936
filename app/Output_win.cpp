#include "Output_win.h"

#include "Text_win.h"

namespace dorvint {

StandardStream::StandardStream(DWORD which) : handle_(GetStdHandle(which)) {
  DWORD mode = 0;
  console_ = GetConsoleMode(handle_, &mode) != FALSE;
}

void StandardStream::Write(const std::wstring& text) const {
  if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE || text.empty()) return;
  if (console_) {
    DWORD written = 0;
    WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = Narrow(text, CP_UTF8);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(handle_, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                   nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}

}  // namespace dorvint
