#pragma once

#include <windows.h>

#include <string>

namespace dorvint {

// Standard output or standard error of the console companion.  A console
// gets the text as it is, in UTF-16; a file or a pipe gets it in UTF-8
// without a byte order mark, which keeps every character and leaves ASCII
// as it is.
class StandardStream {
 public:
  // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
  explicit StandardStream(DWORD which);
  // Writes as much as the stream takes: a closed pipe ends nothing.
  void Write(const std::wstring& text) const;

 private:
  HANDLE handle_;  // the process's own, not ours to close
  bool console_;
};

}  // namespace dorvint
