#pragma once

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "Driver_win.h"

// What every window test starts from: the program copied into a fresh folder
// of its own, with stand-in archiver libraries and a settings file beside it
// as the test chooses.
namespace dorvint::window {

// One line of a pixel comparison: "(x, y): actual instead of expected".
std::string PixelDifference(int x, int y, DWORD actual, DWORD expected);
// How many pixels differ, and the first few of them.
std::string Summary(const std::vector<std::string>& differences);

// The application's error report: caption "Dorvint", a message matching
// `message`, one OK button and the error icon.
void ExpectErrorReport(HWND box, const std::wregex& message);

// The lines of a settings file that matter: sections, keys with their values,
// and comments, in order.  Blank lines and blanks around "=" or at either end
// of a line do not count; the platform's profile writer may drop them.
std::vector<std::string> ProfileLines(std::string_view text);

// Where the program under test and the stand-in libraries are; set from the
// command line.
struct Installation {
  std::wstring exe;       // dorvint.exe
  std::wstring standIns;  // holds one folder of stand-in libraries per variant
};
extern Installation installation;

// Control IDs.
constexpr int kPanel0 = 1000;
constexpr int kPanelTitle = 1001;
constexpr int kSpeedButton1 = 1002;
constexpr int kSpeedButton2 = 1003;
constexpr int kRows = 26;

// The default display list with the library file each name loads.
struct DefaultRow {
  const wchar_t* name;
  const wchar_t* file;
};
constexpr DefaultRow kDefaultRows[] = {
    {L"UNLHA32", L"Unlha32.dll"},   {L"UNARJ32J", L"Unarj32j.dll"}, {L"ISH32", L"Ish32.dll"},
    {L"UNZIP32", L"Unzip32.dll"},   {L"ZIP32J", L"Zip32j.dll"},     {L"IZIP32J", L"IZip32j.dll"},
    {L"ZCRYPT32", L"Zcrypt32.dll"}, {L"TAR32", L"Tar32.dll"},       {L"BZ2LIB", L"Bz2lib.dll"},
    {L"CAB32", L"Cab32.dll"},       {L"UNRAR32", L"Unrar32.dll"},   {L"FTP32", L"Ftp32.dll"},
    {L"UNKANJ", L"unkanj.dll"},     {L"AISH32", L"Aish32.dll"},     {L"AISHMV32", L"Aishmv32.dll"},
    {L"BGA32", L"bga32.dll"},       {L"Jack32", L"jack32.dll"},     {L"UNBEL32", L"Unbel32.dll"},
    {L"UnGCA32", L"Ungca32.dll"},   {L"YZ1", L"Yz1.dll"},           {L"UNYZ1", L"UnYz1.dll"},
    {L"7-zip32", L"7-zip32.dll"},   {L"unimp32", L"Unimp32.dll"},   {L"NKF32", L"Nkf32.dll"},
    {L"WinEx32", L"winex32.dll"},
};
constexpr int kDefaultRowCount = std::size(kDefaultRows);

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override;

  // Puts the stand-in library `file` of `variant` beside the program, and
  // `config` beside the library when it is not empty.
  void Install(const wchar_t* file, std::string_view config = {}, const wchar_t* variant = L"full");
  static void InstallInto(const TempFolder& folder, const wchar_t* file, std::string_view config,
                          const wchar_t* variant);
  // Changes what the stand-in beside the program answers from its next call on.
  void Configure(const wchar_t* file, std::string_view config);
  // Whether the program has called the stand-in `file` beside it.
  bool Called(const wchar_t* file) const;

  // The settings file beside the program.
  std::wstring SettingsPath() const { return folder_.File(L"dorvint.ini"); }
  void WriteSettings(std::string_view content) { WriteTextFile(SettingsPath(), content); }
  // The lines that matter of the settings file (ProfileLines).
  std::vector<std::string> SavedLines() const { return ProfileLines(ReadTextFile(SettingsPath())); }

  void Launch(const std::wstring& currentDirectory);
  void WaitForWindow();
  // Starts the program from its own folder and waits for its window.
  void Start();
  // Asks the window to close and expects the program to end normally.
  void CloseAndWaitForExit();

  HWND Panel0() const { return Control(main_, kPanel0); }
  HWND PanelTitle() const { return Control(main_, kPanelTitle); }
  HWND SpeedButton2() const { return Control(main_, kSpeedButton2); }
  HWND NameCell(int n) const { return Control(Panel0(), 100 + n); }
  HWND VersionCell(int n) const { return Control(Panel0(), n); }
  std::wstring Version(int n) const { return TextOf(VersionCell(n)); }

  void Refresh() const { ClickOn(SpeedButton2()); }
  // Moves the pointer onto the refresh button and waits until the program
  // has seen it arrive, so that a key pressed next stays held.
  void PointAtRefreshButton() const;
  // Shift with a press of `button` on the refresh button.
  void ShiftPress(Button button) const;
  void ShiftRightPress() const { ShiftPress(Button::Right); }
  // Switches the picture strip with Shift and a right press on the refresh
  // button, and waits until the window is `height` high; false when it is
  // not in time.
  bool SwitchStripTo(int height) const;
  // Drags the window by its title strip by (dx, dy), expects it to follow
  // the pointer and returns where it ended.
  Box DragTitleBy(int dx, int dy) const;
  // Waits until the window is `height` high; false when it is not in time.
  bool WaitForHeight(int height) const;
  // Returns once the program has handled all input sent so far: input is
  // handled in order, so a refresh click that shows a new answer of the
  // stand-in in row 1 comes after it, and the program is idle again once the
  // rest of that refresh is done.  Needs that stand-in, Unlha32.dll.
  void WaitForInputHandled();

  TempFolder folder_;
  std::optional<Program> program_;  // ended before the folder goes
  HWND main_ = nullptr;

 private:
  int answers_ = 0;  // how often the row-1 stand-in was given a new answer
};

}  // namespace dorvint::window
