#include "Driver_win.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace dorvint::window {
namespace {

std::string Narrow(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// An ASCII text as a wide one.
std::wstring Widen(std::string_view text) { return {text.begin(), text.end()}; }

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + " (error " + std::to_string(GetLastError()) + ")");
}

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Top-level windows of one process and class (any class without one).
struct TopLevelQuery {
  DWORD processId;
  const wchar_t* className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto& query = *reinterpret_cast<TopLevelQuery*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == query.processId &&
      (query.className == nullptr || ClassOf(window) == query.className) &&
      (!query.visibleOnly || IsWindowVisible(window))) {
    query.found.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className, bool visibleOnly) {
  TopLevelQuery query{processId, className, visibleOnly, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// Visible children of one class.
struct ChildQuery {
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
  auto& query = *reinterpret_cast<ChildQuery*>(param);
  if (ClassOf(window) == query.className && IsShown(window)) query.found.push_back(window);
  return TRUE;
}

// The tooltip controls a process owns under `owner`, shown or not.
std::vector<HWND> TooltipsOf(DWORD processId, HWND owner) {
  std::vector<HWND> tooltips = TopLevelWindows(processId, TOOLTIPS_CLASSW, false);
  std::erase_if(tooltips, [&](HWND tooltip) { return GetWindow(tooltip, GW_OWNER) != owner; });
  return tooltips;
}

std::vector<HWND> ShownChildren(HWND parent, const wchar_t* className) {
  ChildQuery query{className, {}};
  EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND WaitForTopLevel(HANDLE process, DWORD processId, const wchar_t* className) {
  HWND found = nullptr;
  const bool seen = WaitUntil([&] {
    const auto windows = TopLevelWindows(processId, className, true);
    if (!windows.empty()) found = windows.front();
    return found != nullptr || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  });
  if (found) return found;
  DWORD exitCode = 0;
  GetExitCodeProcess(process, &exitCode);
  // What the program had instead, to tell a slow program from a lost window.
  std::string windows;
  for (HWND window : TopLevelWindows(processId, nullptr, false)) {
    windows += " " + Narrow(ClassOf(window)) + (IsWindowVisible(window) ? "" : " (hidden)");
  }
  throw std::runtime_error(
      "no visible " + Narrow(className) + " window of the program" +
      (seen ? ", which ended with exit code " + std::to_string(exitCode)
            : " in time; its top-level windows:" + (windows.empty() ? " none" : windows)));
}

void SendMouse(DWORD flags, POINT screenPoint = {}) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    input.mi.dx = MulDiv(screenPoint.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screenPoint.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  if (SendInput(1, &input, sizeof input) != 1) Fail("SendInput");
}

void SendKey(WORD key, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  if (SendInput(1, &input, sizeof input) != 1) Fail("SendInput");
  Sleep(30);
}

// The name the X display's tools give a modifier key, or none for a key that
// is not a modifier.
const char* DisplayKeyName(WORD key) {
  switch (key) {
    case VK_SHIFT:
      return "shift";
    case VK_CONTROL:
      return "ctrl";
    case VK_MENU:
      return "alt";
    default:
      return nullptr;
  }
}

// Runs xdotool with `arguments` on the session's X display, through XTest,
// and returns once it is done.  A Unix program started from Wine leaves no
// process to wait for, so it leaves a file when it is done.
void RunOnDisplay(const std::string& arguments) {
  // Process IDs are counted by each Wine session's own server, so the
  // display, which is the session's alone, makes the name unique.
  static unsigned serial = 0;
  char display[32] = {};
  GetEnvironmentVariableA("DISPLAY", display, sizeof display);
  std::string session = display;
  std::replace_if(
      session.begin(), session.end(), [](char c) { return c < '0' || c > '9'; }, '_');
  const std::string done = "/tmp/dorvint-display-input-" + session + "-" +
                           std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
  std::wstring windowsDone = L"Z:" + Widen(done);
  std::replace(windowsDone.begin(), windowsDone.end(), L'/', L'\\');
  std::wstring commandLine =
      L"/bin/sh -c \"/usr/bin/xdotool " + Widen(arguments + " && : >" + done) + L"\"";
  // Without the emulator's preload (a 32-bit library) the 64-bit programs
  // start without a complaint about it.
  std::wstring environment;
  const std::unique_ptr<wchar_t, decltype(&FreeEnvironmentStringsW)> inherited(
      GetEnvironmentStringsW(), &FreeEnvironmentStringsW);
  for (const wchar_t* entry = inherited.get(); *entry; entry += wcslen(entry) + 1) {
    if (std::wstring_view(entry).substr(0, 11) != L"LD_PRELOAD=") {
      environment.append(entry).push_back(L'\0');
    }
  }
  environment.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &info)) {
    Fail("CreateProcessW /bin/sh for xdotool");
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  if (!WaitUntil([&] { return FileExists(windowsDone); })) {
    throw std::runtime_error("xdotool " + arguments + " did not run on the display");
  }
  DeleteFileW(windowsDone.c_str());
}

// Presses or releases a modifier key on the X display itself.  Wine takes the
// state of the modifier keys back from the display whenever one of its
// windows gains the focus or the pointer; a key held with SendInput alone
// would then be let go behind the test's back.
void SetDisplayKey(const char* name, bool down) {
  RunOnDisplay(std::string(down ? "keydown " : "keyup ") + name);
}

// "HKEY_CURRENT_USER\Control Panel\Colors", where a program finds the system
// colours when it starts.
class ColourKey {
 public:
  ColourKey() {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Colors", 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
      Fail("RegCreateKeyExW");
    }
  }
  ~ColourKey() { RegCloseKey(key_); }
  ColourKey(const ColourKey&) = delete;
  ColourKey& operator=(const ColourKey&) = delete;

  std::optional<std::wstring> Read(const std::wstring& name) const {
    wchar_t value[64] = {};
    DWORD size = sizeof value - sizeof value[0];
    DWORD type = 0;
    if (RegQueryValueExW(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
      return std::nullopt;
    }
    return value;
  }
  void Write(const std::wstring& name, const std::wstring& value) const {
    // The text with its terminating zero.
    const DWORD bytes = (static_cast<DWORD>(value.size()) + 1) * sizeof(wchar_t);
    if (RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       bytes) != ERROR_SUCCESS) {
      Fail("RegSetValueExW " + Narrow(name));
    }
  }
  void Remove(const std::wstring& name) const { RegDeleteValueW(key_, name.c_str()); }

 private:
  HKEY key_ = nullptr;
};

struct DcReleaser {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

Pixels CaptureOnce(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  Pixels pixels;
  pixels.width = rect.right - rect.left;
  pixels.height = rect.bottom - rect.top;
  std::unique_ptr<HDC__, DcReleaser> screen(GetDC(nullptr));
  std::unique_ptr<HDC__, DcDeleter> memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = pixels.width;
  format.bmiHeader.biHeight = -pixels.height;  // top-down rows
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  std::unique_ptr<HBITMAP__, ObjectDeleter> bitmap(
      CreateDIBSection(memory.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) Fail("CreateDIBSection");
  const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  const BOOL copied = BitBlt(memory.get(), 0, 0, pixels.width, pixels.height, screen.get(),
                             rect.left, rect.top, SRCCOPY);
  SelectObject(memory.get(), previous);
  if (!copied) Fail("BitBlt");
  GdiFlush();
  const auto* first = static_cast<const DWORD*>(bits);
  pixels.values.reserve(pixels.width * pixels.height);
  for (int i = 0; i < pixels.width * pixels.height; ++i) {
    pixels.values.push_back(first[i] & 0x00FFFFFF);
  }
  return pixels;
}

// The driver's own error message box, shown on a thread of its own so that
// the driver can capture and close it.
constexpr wchar_t kReferenceCaption[] = L"dorvint-window-reference";

DWORD WINAPI ShowReferenceBox(void* /*unused*/) {
  MessageBoxW(nullptr, L"reference", kReferenceCaption, MB_OK | MB_ICONERROR);
  return 0;
}

Pixels CaptureErrorIcon() {
  UniqueHandle thread(CreateThread(nullptr, 0, ShowReferenceBox, nullptr, 0, nullptr));
  if (!thread) Fail("CreateThread");
  HWND box = nullptr;
  const bool shown = WaitUntil([&] {
    box = FindWindowW(L"#32770", kReferenceCaption);
    return box != nullptr && IsWindowVisible(box);
  });
  if (!shown) throw std::runtime_error("the reference message box did not show");
  // The box exists before the display shows it, and until then a capture
  // sees what lies beneath.  The error icon is drawn in red.
  Pixels icon;
  const bool drawn = WaitUntil([&] {
    icon = CaptureScreen(IconOf(box));
    return std::any_of(icon.values.begin(), icon.values.end(), [](DWORD colour) {
      return (colour >> 16) >= 0xA0 && (colour >> 8 & 0xFF) < 0x60 && (colour & 0xFF) < 0x60;
    });
  });
  if (!drawn) throw std::runtime_error("the reference message box shows no red icon");
  PressOk(box);
  WaitForSingleObject(thread.get(), static_cast<DWORD>(kPatience.count()));
  return icon;
}

// The error icon as this session draws it, from a message box of the
// driver's own, captured once.
const Pixels& ErrorIconPixels() {
  static const Pixels icon = CaptureErrorIcon();
  return icon;
}

}  // namespace

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH] = {};
  if (!GetTempPathW(MAX_PATH, temp)) Fail("GetTempPathW");
  static unsigned serial = 0;
  for (;;) {
    path_ = std::wstring(temp) + L"dorvint-window-" + std::to_wstring(GetCurrentProcessId()) +
            L"-" + std::to_wstring(++serial);
    if (CreateDirectoryW(path_.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) Fail("CreateDirectoryW " + Narrow(path_));
  }
}

TempFolder::~TempFolder() {
  // A program that has just ended may still hold its files for a moment.
  WaitUntil([&] {
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(File(L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring file = File(entry.cFileName);
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(file.c_str());
        } else if (entry.cFileName != std::wstring_view(L".") &&
                   entry.cFileName != std::wstring_view(L"..")) {
          RemoveDirectoryW(file.c_str());  // a test's empty folder
        }
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    return RemoveDirectoryW(path_.c_str()) != 0;
  });
}

std::wstring TempFolder::File(std::wstring_view name) const {
  return path_ + L"\\" + std::wstring(name);
}

std::wstring Lower(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::wstring FileNameOf(const std::wstring& path) {
  const auto separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

void CopyFileTo(const std::wstring& source, const std::wstring& target) {
  if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) {
    Fail("CopyFileW " + Narrow(source) + " to " + Narrow(target));
  }
}

void WriteTextFile(const std::wstring& path, std::string_view content) {
  HANDLE created = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (created == INVALID_HANDLE_VALUE) Fail("CreateFileW " + Narrow(path));
  UniqueHandle file(created);
  DWORD written = 0;
  if (!WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                 nullptr) ||
      written != content.size()) {
    Fail("WriteFile " + Narrow(path));
  }
}

void RemoveFile(const std::wstring& path) {
  if (!DeleteFileW(path.c_str())) Fail("DeleteFileW " + Narrow(path));
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadTextFile(const std::wstring& path) {
  HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (opened == INVALID_HANDLE_VALUE) Fail("CreateFileW " + Narrow(path));
  UniqueHandle file(opened);
  std::string content(GetFileSize(file.get(), nullptr), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) ||
      read != content.size()) {
    Fail("ReadFile " + Narrow(path));
  }
  return content;
}

void MakeFolder(const std::wstring& path) {
  if (!CreateDirectoryW(path.c_str(), nullptr)) Fail("CreateDirectoryW " + Narrow(path));
}

void RemoveFolder(const std::wstring& path) {
  if (!RemoveDirectoryW(path.c_str())) Fail("RemoveDirectoryW " + Narrow(path));
}

Program::Program(const std::wstring& exe, const std::wstring& currentDirectory) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentDirectory.c_str(), &startup, &info_)) {
    Fail("CreateProcessW " + Narrow(exe));
  }
}

Program::~Program() {
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kPatience.count()));
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

HWND Program::WaitForMainWindow() const {
  const HWND main = WaitForTopLevel(info_.hProcess, Id(), L"TForm1");
  // The program creates its tooltips once the window has been painted, and
  // is ready when they are there.
  const bool ready = WaitUntil([&] {
    return !TooltipsOf(Id(), main).empty() ||
           WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
  });
  if (!ready) throw std::runtime_error("the program's window came without its tooltips");
  return main;
}

HWND Program::WaitForMessageBox() const { return WaitForTopLevel(info_.hProcess, Id(), L"#32770"); }

bool Program::HasMessageBox() const { return !TopLevelWindows(Id(), L"#32770", true).empty(); }

DWORD Program::WaitForExit() const {
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(kPatience.count())) != WAIT_OBJECT_0) {
    throw std::runtime_error("the program did not end in time");
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(info_.hProcess, &exitCode);
  return exitCode;
}

std::vector<std::wstring> Program::Modules() const {
  // A snapshot taken while the process loads or unloads a module can fail
  // with ERROR_BAD_LENGTH; it is taken again then.
  HANDLE taken = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 10 && taken == INVALID_HANDLE_VALUE; ++attempt) {
    taken = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, Id());
    if (taken == INVALID_HANDLE_VALUE) Sleep(20);
  }
  if (taken == INVALID_HANDLE_VALUE) Fail("CreateToolhelp32Snapshot of the program");
  const UniqueHandle snapshot(taken);
  std::vector<std::wstring> modules;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32FirstW(snapshot.get(), &entry); more;
       more = Module32NextW(snapshot.get(), &entry)) {
    modules.push_back(Lower(entry.szModule));
  }
  return modules;
}

bool Program::HasLoaded(std::wstring_view file) const {
  const std::wstring wanted = Lower(std::wstring(file));
  const std::vector<std::wstring> modules = Modules();
  return std::find(modules.begin(), modules.end(), wanted) != modules.end();
}

std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << "{left " << box.left << ", top " << box.top << ", width " << box.width
             << ", height " << box.height << "}";
}

HWND Control(HWND parent, int id) {
  HWND control = GetDlgItem(parent, id);
  if (!control) throw std::runtime_error("no control with ID " + std::to_string(id));
  return control;
}

std::wstring TextOf(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

Box BoxOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  RECT origin{};
  if (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow()) {
    GetWindowRect(parent, &origin);
  }
  return {rect.left - origin.left, rect.top - origin.top, rect.right - rect.left,
          rect.bottom - rect.top};
}

bool IsShown(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

std::wstring WaitForText(HWND window, std::wstring_view expected) {
  std::wstring text;
  WaitUntil([&] {
    text = TextOf(window);
    return text == expected;
  });
  return text;
}

// The display tells the program whose window the pointer enters or crosses
// of each move as well, and that program passes the news on to the system
// when it gets to it: on a slow machine after the test has moved on, which
// takes the pointer back.  So a move starts and ends with that program idle.
namespace {

bool AnswersTwice(HWND window) {
  // A sent message is answered before the thread turns to the display's
  // events again, so the second answer comes after them.
  for (int round = 0; round < 2; ++round) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL,
                             static_cast<UINT>(kPatience.count()), &result)) {
      return false;
    }
  }
  return true;
}

// The window of another program at `screenPoint`, or none.
HWND ProgramWindowAt(POINT screenPoint) {
  const HWND window = WindowFromPoint(screenPoint);
  DWORD processId = 0;
  if (!window || window == GetDesktopWindow() || !GetWindowThreadProcessId(window, &processId) ||
      processId == GetCurrentProcessId()) {
    return nullptr;
  }
  return window;
}

void WaitForIdleUnder(POINT screenPoint) {
  const HWND window = ProgramWindowAt(screenPoint);
  // A window that went meanwhile leaves nothing to wait for.
  if (window && !AnswersTwice(window) && IsWindow(window)) {
    Fail("the program did not answer in time");
  }
}

}  // namespace

void MovePointerTo(POINT screenPoint) {
  POINT now{};
  if (GetCursorPos(&now)) WaitForIdleUnder(now);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screenPoint);
  // Reading the position back also makes the display's own pointer follow at
  // once: a program that asked for the position before that would be told the
  // old place and move the pointer back there.
  if (!WaitUntil(
          [&] { return GetCursorPos(&now) && now.x == screenPoint.x && now.y == screenPoint.y; })) {
    throw std::runtime_error("the pointer did not reach " + std::to_string(screenPoint.x) + ", " +
                             std::to_string(screenPoint.y) + "; it is at " + std::to_string(now.x) +
                             ", " + std::to_string(now.y));
  }
  WaitForIdleUnder(screenPoint);
}

void MovePointerOnto(POINT screenPoint) {
  MovePointerAway();
  Sleep(50);
  MovePointerTo(screenPoint);
  Sleep(100);
}

void WaitForIdle(HWND window) {
  if (!AnswersTwice(window)) Fail("the program did not answer in time");
}

void ClickOn(HWND window) {
  MovePointerOnto(CentreOf(window));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(50);
  SendMouse(MOUSEEVENTF_LEFTUP);
}

void MovePointerAway() {
  // Where no window is, no program hears of the move.
  const int right = GetSystemMetrics(SM_CXSCREEN) - 1;
  const int bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
  for (const POINT corner :
       {POINT{0, 0}, POINT{right, 0}, POINT{0, bottom}, POINT{right, bottom}}) {
    if (!ProgramWindowAt(corner)) {
      MovePointerTo(corner);
      return;
    }
  }
  throw std::runtime_error("windows cover every corner of the screen");
}

POINT CentreOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void Press(Button button) {
  SendMouse(button == Button::Left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
  Sleep(30);
}

void Release(Button button) {
  SendMouse(button == Button::Left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
  Sleep(30);
}

void MovePointerInSteps(POINT from, POINT to) {
  const LONG steps = std::max<LONG>({std::abs(to.x - from.x), std::abs(to.y - from.y), 2}) / 2;
  for (LONG step = 1; step <= steps; ++step) {
    MovePointerTo(
        {from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps});
    Sleep(10);
  }
}

void Drag(Button button, POINT from, POINT to) {
  MovePointerOnto(from);
  Press(button);
  MovePointerInSteps(from, to);
  Sleep(100);
  Release(button);
}

bool KeyHeld(WORD key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

Held::Held(WORD key) : key_(key) {
  // The display holds a modifier first, so that Wine, whenever it looks,
  // finds it held there too; SendInput then holds it at once, wherever the
  // display's keyboard focus is.
  const char* displayName = DisplayKeyName(key);
  if (displayName) SetDisplayKey(displayName, true);
  SendKey(key, 0);
  if (!WaitUntil([&] { return KeyHeld(key); })) {
    throw std::runtime_error("key " + std::to_string(key) + " did not go down");
  }
}

Held::Held(Button button) : button_(button) { Press(button); }

// A failure to let go ends the test program, which is what it should do.
// NOLINTNEXTLINE(bugprone-exception-escape)
Held::~Held() {
  if (key_) {
    // In the reverse order: the display first, or Wine could take the key
    // back from it in between.
    const char* displayName = DisplayKeyName(*key_);
    if (displayName) SetDisplayKey(displayName, false);
    SendKey(*key_, KEYEVENTF_KEYUP);
    if (!WaitUntil([&] { return !KeyHeld(*key_); })) {
      std::fprintf(stderr, "key %u did not come up\n", static_cast<unsigned>(*key_));
      std::abort();
    }
  } else {
    Release(button_);
  }
}

SystemColours::SystemColours(std::initializer_list<Colour> colours) {
  const ColourKey key;
  for (const Colour& colour : colours) {
    saved_.push_back({colour.name, key.Read(colour.name)});
    key.Write(colour.name, std::to_wstring(GetRValue(colour.value)) + L" " +
                               std::to_wstring(GetGValue(colour.value)) + L" " +
                               std::to_wstring(GetBValue(colour.value)));
  }
}

// A failure to restore the colours ends the test program: the next tests
// would otherwise run with the wrong ones.
// NOLINTNEXTLINE(bugprone-exception-escape)
SystemColours::~SystemColours() {
  const ColourKey key;
  for (const Saved& saved : saved_) {
    if (saved.value) {
      key.Write(saved.name, *saved.value);
    } else {
      key.Remove(saved.name);
    }
  }
}

std::wstring MessageTextOf(HWND messageBox) { return TextOf(Control(messageBox, 0xFFFF)); }

std::vector<int> ButtonIdsOf(HWND messageBox) {
  std::vector<int> ids;
  for (HWND button : ShownChildren(messageBox, L"Button")) ids.push_back(GetDlgCtrlID(button));
  return ids;
}

HWND IconOf(HWND messageBox) {
  for (HWND control : ShownChildren(messageBox, L"Static")) {
    if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return control;
  }
  throw std::runtime_error("the message box shows no icon");
}

void PressOk(HWND messageBox) {
  PostMessageW(messageBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(messageBox, IDOK)));
}

Pixels CaptureScreen(HWND window) {
  // A window that has just appeared or changed may not be painted yet: take
  // the picture once two captures a moment apart agree.
  Pixels previous = CaptureOnce(window);
  Pixels current;
  WaitUntil([&] {
    Sleep(100);
    current = CaptureOnce(window);
    if (current == previous) return true;
    previous = current;
    return false;
  });
  return current;
}

bool ShowsErrorIcon(HWND messageBox) {
  const Pixels& expected = ErrorIconPixels();
  const HWND icon = IconOf(messageBox);
  // The display may show the box a moment after it exists.
  return WaitUntil([&] { return CaptureOnce(icon) == expected; });
}

std::vector<Tool> ToolsOf(DWORD processId, HWND owner) {
  UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process) Fail("OpenProcess");
  // A tool description and a text buffer inside the program's own memory,
  // where the tooltip control can fill them in.
  constexpr SIZE_T kTextChars = 1024;
  struct RemoteFree {
    HANDLE process;
    void operator()(void* memory) const { VirtualFreeEx(process, memory, 0, MEM_RELEASE); }
  };
  std::unique_ptr<void, RemoteFree> remote(
      VirtualAllocEx(process.get(), nullptr, sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t),
                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE),
      RemoteFree{process.get()});
  if (!remote) Fail("VirtualAllocEx");
  auto* remoteInfo = static_cast<TTTOOLINFOW*>(remote.get());
  auto* remoteText = reinterpret_cast<wchar_t*>(remoteInfo + 1);

  std::vector<Tool> tools;
  for (HWND tooltip : TooltipsOf(processId, owner)) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    for (DWORD_PTR index = 0; index < count; ++index) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.lpszText = remoteText;
      const wchar_t empty = L'\0';
      DWORD_PTR found = 0;
      if (!WriteProcessMemory(process.get(), remoteInfo, &info, sizeof info, nullptr) ||
          !WriteProcessMemory(process.get(), remoteText, &empty, sizeof empty, nullptr) ||
          !SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(remoteInfo),
                               SMTO_ABORTIFHUNG, 5000, &found) ||
          !found || !ReadProcessMemory(process.get(), remoteInfo, &info, sizeof info, nullptr)) {
        Fail("TTM_ENUMTOOLSW");
      }
      std::wstring text(kTextChars, L'\0');
      if (info.lpszText == remoteText) {
        if (!ReadProcessMemory(process.get(), remoteText, text.data(), kTextChars * sizeof(wchar_t),
                               nullptr)) {
          Fail("ReadProcessMemory");
        }
      }
      text.resize(text.find(L'\0'));
      const bool isWindow = (info.uFlags & TTF_IDISHWND) != 0;
      tools.push_back(
          {isWindow ? reinterpret_cast<HWND>(info.uId) : info.hwnd, info.rect, isWindow, text});
    }
  }
  return tools;
}

std::wstring ToolTipOf(DWORD processId, HWND owner, HWND control) {
  HWND parent = GetParent(control);
  RECT inParent{};
  GetWindowRect(control, &inParent);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
  for (const Tool& tool : ToolsOf(processId, owner)) {
    if (tool.isWindow ? tool.window == control
                      : tool.window == parent && EqualRect(&tool.rect, &inParent)) {
      return tool.text;
    }
  }
  return {};
}

}  // namespace dorvint::window
