// Waits for a running Dorvint window and prints what it shows: its place on
// the screen, then one line per visible row, the name and the version text.
// Used by scripts/run.sh to show the table where no display is watched.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string out(WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr),
                  '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), static_cast<int>(out.size()),
                      nullptr, nullptr);
  return out;
}

std::wstring Text(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

HWND WaitForVisibleForm() {
  for (int tries = 0; tries < 300; ++tries) {
    const HWND form = FindWindowW(L"TForm1", L"Dorvint");
    if (form != nullptr && IsWindowVisible(form)) return form;
    Sleep(100);
  }
  return nullptr;
}

}  // namespace

int wmain() {
  const HWND form = WaitForVisibleForm();
  if (form == nullptr) {
    std::fputs("no Dorvint window appeared\n", stderr);
    return 1;
  }
  Sleep(500);  // let the first paint finish
  RECT bounds{};
  GetWindowRect(form, &bounds);
  std::printf("window %ld %ld %ld %ld\n", bounds.left, bounds.top, bounds.right - bounds.left,
              bounds.bottom - bounds.top);
  const HWND list = GetDlgItem(form, 1000);
  for (int n = 1; n <= 26; ++n) {
    const HWND name = GetDlgItem(list, 100 + n);
    if (name == nullptr || !IsWindowVisible(name) || Text(name).empty()) break;
    std::printf("%-10s %s\n", Utf8(Text(name)).c_str(), Utf8(Text(GetDlgItem(list, n))).c_str());
  }
  return 0;
}
