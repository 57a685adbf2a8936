#pragma once

#include <windows.h>

#include <string>

namespace dorvint {

// A narrow text in the given code page (932 for the user-interface texts,
// CP_ACP for names and versions) as UTF-16 for the W functions.
std::wstring Widen(const std::string& text, UINT codePage);

// A UTF-16 text in the given code page (CP_UTF8 for the companion's
// arguments and for what the listing writes to files and pipes).
std::string Narrow(const std::wstring& text, UINT codePage);

// The current text of a window.
std::wstring WindowText(HWND window);

}  // namespace dorvint
