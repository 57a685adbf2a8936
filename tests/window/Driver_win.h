#pragma once

#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Drives the program from outside, the way a user would: files beside the
// executable, a launched process, its windows read through the window manager
// and the mouse moved with real input.  Every wait is bounded; a wait that
// runs out throws std::runtime_error, which fails the test.
namespace dorvint::window {

// How long anything the program does may take before the test gives up.
constexpr std::chrono::milliseconds kPatience{20000};

// Calls `probe` every few milliseconds until it returns true; false when
// patience runs out first.
template <typename Probe>
bool WaitUntil(Probe probe) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!probe()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Sleep(20);
  }
  return true;
}

// A fresh folder under the temporary folder, removed with its files.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // The full path of `name` inside the folder.
  std::wstring File(std::wstring_view name) const;

 private:
  std::wstring path_;
};

// `text` in lower case.
std::wstring Lower(std::wstring text);
// The file name part of a path.
std::wstring FileNameOf(const std::wstring& path);
void CopyFileTo(const std::wstring& source, const std::wstring& target);
void WriteTextFile(const std::wstring& path, std::string_view content);
void RemoveFile(const std::wstring& path);
bool FileExists(const std::wstring& path);
// The bytes of a file; throws when it cannot be read.
std::string ReadTextFile(const std::wstring& path);
void MakeFolder(const std::wstring& path);
void RemoveFolder(const std::wstring& path);

// A running program, terminated on destruction if it is still running.
class Program {
 public:
  // Starts `exe` with `currentDirectory` as its current directory.
  Program(const std::wstring& exe, const std::wstring& currentDirectory);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  // The program's visible top-level window of class "TForm1", once its
  // tooltips are there.
  HWND WaitForMainWindow() const;
  // The program's message box (dialog class "#32770").
  HWND WaitForMessageBox() const;
  // Whether the program shows a message box right now.
  bool HasMessageBox() const;
  // Waits for the program to end and returns its exit code.
  DWORD WaitForExit() const;
  // The file names of the modules loaded in the program, lower-cased.
  std::vector<std::wstring> Modules() const;
  // Whether a module with file name `file` (any case) is loaded in it.
  bool HasLoaded(std::wstring_view file) const;

 private:
  PROCESS_INFORMATION info_{};
};

// A window's place and size, relative to the top-left corner of its parent
// window (or of the screen for a top-level window).
struct Box {
  int left;
  int top;
  int width;
  int height;
  bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& box);

// The child of `parent` with control ID `id`; throws when there is none.
HWND Control(HWND parent, int id);
std::wstring TextOf(HWND window);
Box BoxOf(HWND window);
// Whether the window itself has the visible style, whatever its parent has.
bool IsShown(HWND window);
// Polls the window's text until it equals `expected` or patience runs out;
// returns the last text seen.
std::wstring WaitForText(HWND window, std::wstring_view expected);

// Real mouse input through SendInput.  Moves the pointer and waits until it
// is there and the program under it, if any, is idle.
void MovePointerTo(POINT screenPoint);
// Moves the pointer away and then onto `screenPoint`, so that whatever lies
// there sees it arrive even when the pointer already was there (a window that
// appeared under a still pointer may miss the next press otherwise), then
// waits a little.
void MovePointerOnto(POINT screenPoint);
// Returns once the thread of `window` has handled what reached it so far,
// the display's own events included.  Those can take back a key held with
// SendInput: a window the pointer has just entered syncs the modifier keys
// with the display's keyboard, on which nothing is held.
void WaitForIdle(HWND window);
// Moves the pointer onto the centre of `window`, then presses and releases
// the left button.
void ClickOn(HWND window);
// Moves the pointer to a corner of the screen that no window covers, away
// from the program.
void MovePointerAway();
POINT CentreOf(HWND window);

enum class Button { Left, Right };
// Presses or releases a mouse button where the pointer is, then waits a moment.
void Press(Button button);
void Release(Button button);
// Moves the pointer from `from` to `to` a few pixels at a time.
void MovePointerInSteps(POINT from, POINT to);
// Presses `button` at `from`, moves to `to` a few pixels at a time and
// releases it there.
void Drag(Button button, POINT from, POINT to);

// Whether `key` is down for the whole desktop.
bool KeyHeld(WORD key);

// Holds a key such as VK_SHIFT, or a mouse button where the pointer is, down
// for its lifetime; a key is down for the whole desktop when the constructor
// returns and up again when the destructor does.  Shift, Ctrl and Alt are
// held on the X display too, which Wine takes their state back from.
class Held {
 public:
  explicit Held(WORD key);
  explicit Held(Button button);
  ~Held();  // NOLINT(bugprone-exception-escape): a failure ends the test program
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;

 private:
  std::optional<WORD> key_;  // none: a mouse button
  Button button_ = Button::Left;
};

// System colours as the registry holds them for programs started from now on,
// under their names in "HKEY_CURRENT_USER\Control Panel\Colors"
// ("ButtonFace", ...).  The previous values come back on destruction.
class SystemColours {
 public:
  struct Colour {
    const wchar_t* name;
    COLORREF value;
  };
  explicit SystemColours(std::initializer_list<Colour> colours);
  ~SystemColours();  // NOLINT(bugprone-exception-escape): a failure ends the test program
  SystemColours(const SystemColours&) = delete;
  SystemColours& operator=(const SystemColours&) = delete;

 private:
  struct Saved {
    std::wstring name;
    std::optional<std::wstring> value;  // none: the value was absent
  };
  std::vector<Saved> saved_;
};

// A message box's texts and controls.
std::wstring MessageTextOf(HWND messageBox);
// Control IDs of the visible buttons, in Z order.
std::vector<int> ButtonIdsOf(HWND messageBox);
// The visible icon control of a message box; throws when there is none.
HWND IconOf(HWND messageBox);
void PressOk(HWND messageBox);

// Screen pixels of a window as 0x00RRGGBB values, row by row.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<DWORD> values;
  DWORD At(int x, int y) const { return values[y * width + x]; }
  bool operator==(const Pixels&) const = default;
};
Pixels CaptureScreen(HWND window);
// Whether a message box shows the error icon, compared with a message box
// of the driver's own; waits until the display shows the box.
bool ShowsErrorIcon(HWND messageBox);

// The tools of the tooltip controls a process owns under `owner`.
struct Tool {
  HWND window;  // the tool's window, or the window holding its rectangle
  RECT rect;    // the tool's rectangle in `window`, when it is not the window itself
  bool isWindow;
  std::wstring text;
};
std::vector<Tool> ToolsOf(DWORD processId, HWND owner);
// The tooltip text of control `control`, or an empty text when it has none.
std::wstring ToolTipOf(DWORD processId, HWND owner, HWND control);

}  // namespace dorvint::window
