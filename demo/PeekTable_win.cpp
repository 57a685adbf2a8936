// Waits for a running Dorvint window and prints what it shows: its place on
// the screen, then one line per visible row, the name and the version text.
// With the argument "tooltip" it points at the version cell of the first row
// whose library answered instead, waits for that cell's tooltip and prints
// the smallest place on the screen that covers the window and the tooltip.
// Used by scripts/run.sh to show the table where no display is watched.
#include <windows.h>
// Common controls, declared on top of windows.h.
#include <commctrl.h>

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

RECT BoundsOf(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return bounds;
}

void PrintPlace(const char* what, const RECT& bounds) {
  std::printf("%s %ld %ld %ld %ld\n", what, bounds.left, bounds.top, bounds.right - bounds.left,
              bounds.bottom - bounds.top);
}

// The name and version cells of row n; none past the last visible row.
struct Row {
  HWND name = nullptr;
  HWND version = nullptr;
  explicit operator bool() const { return name != nullptr; }
};

Row RowOf(HWND form, int n) {
  if (n > 26) return {};
  const HWND list = GetDlgItem(form, 1000);
  const HWND name = GetDlgItem(list, 100 + n);
  if (name == nullptr || !IsWindowVisible(name) || Text(name).empty()) return {};
  return {name, GetDlgItem(list, n)};
}

void PrintTable(HWND form) {
  PrintPlace("window", BoundsOf(form));
  for (int n = 1; Row row = RowOf(form, n); ++n) {
    std::printf("%-10s %s\n", Utf8(Text(row.name)).c_str(), Utf8(Text(row.version)).c_str());
  }
}

// The version cell of the first row whose library answered with a version.
HWND AnsweredCell(HWND form) {
  for (int n = 1; Row row = RowOf(form, n); ++n) {
    const std::wstring version = Text(row.version);
    if (version != L"---" && version != L"?" && version != L"Error!") return row.version;
  }
  return nullptr;
}

// Moves the pointer with real input, as a mouse would, and waits until it is
// there.
void MovePointerTo(POINT point) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  SendInput(1, &input, sizeof input);
  POINT now{};
  for (int tries = 0; tries < 100 && GetCursorPos(&now) && (now.x != point.x || now.y != point.y);
       ++tries) {
    Sleep(20);
  }
}

// The tooltip window owned by the form, if there is one (only a shown one
// when asked so).
struct TooltipQuery {
  HWND owner;
  bool shownOnly;
  HWND found;
};

BOOL CALLBACK FindTooltip(HWND window, LPARAM param) {
  auto& query = *reinterpret_cast<TooltipQuery*>(param);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (GetWindow(window, GW_OWNER) == query.owner && (!query.shownOnly || IsWindowVisible(window)) &&
      lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
    query.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND TooltipOf(HWND form, bool shownOnly) {
  TooltipQuery query{form, shownOnly, nullptr};
  EnumWindows(FindTooltip, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// Returns once the window's thread has handled everything before: a sent
// message is answered before the thread turns to the display's events again,
// so the second answer comes after them.
void WaitForIdle(HWND window) {
  for (int round = 0; round < 2; ++round) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
  }
}

// The program creates its tooltips once its window has been painted.
bool WaitUntilPainted(HWND form) {
  for (int tries = 0; tries < 300 && TooltipOf(form, false) == nullptr; ++tries) Sleep(100);
  WaitForIdle(form);
  return TooltipOf(form, false) != nullptr;
}

// Points at the centre of `cell` the way a user would and waits for the
// tooltip.  The pointer comes from outside the window: a window that appeared
// under a still pointer may not see it there until it moves in.
HWND ShowTooltip(HWND form, HWND cell) {
  const RECT bounds = BoundsOf(cell);
  MovePointerTo({0, 0});
  Sleep(50);
  MovePointerTo({(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2});
  HWND tooltip = nullptr;
  for (int tries = 0; tries < 100 && tooltip == nullptr; ++tries) {
    Sleep(100);
    tooltip = TooltipOf(form, true);
  }
  return tooltip;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const HWND form = WaitForVisibleForm();
  if (form == nullptr || !WaitUntilPainted(form)) {
    std::fputs("no painted Dorvint window appeared\n", stderr);
    return 1;
  }
  if (argc < 2 || argv[1] != std::wstring(L"tooltip")) {
    PrintTable(form);
    return 0;
  }
  const HWND cell = AnsweredCell(form);
  const HWND tooltip = cell != nullptr ? ShowTooltip(form, cell) : nullptr;
  if (tooltip == nullptr) {
    std::fputs("no tooltip of a version cell with a version appeared\n", stderr);
    return 1;
  }
  WaitForIdle(tooltip);  // the tooltip has painted
  const RECT window = BoundsOf(form);
  const RECT tip = BoundsOf(tooltip);
  RECT both{};
  UnionRect(&both, &window, &tip);
  PrintPlace("area", both);
  return 0;
}
