// The main window and its version list, driven from outside: the program is
// started from a folder of its own with stand-in archiver libraries beside it,
// and read and clicked through the window manager like a user would.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "Driver_win.h"
#include "ProgramTest_win.h"

namespace dorvint::window {
namespace {

const wchar_t* FileOfRow(int n) { return kDefaultRows[n - 1].file; }

// Bytes a library hands over, as the system's ANSI code page reads them (two
// Japanese characters under code page 932).
std::wstring FromAnsi(std::string_view bytes) {
  std::wstring text(bytes.size(), L'\0');
  text.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                  text.data(), static_cast<int>(text.size())));
  return text;
}

DWORD ButtonFace() {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  return GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
}

// Whether any pixel on the outer edge of a captured control differs from the
// button face.
bool EdgeDrawn(const Pixels& pixels) {
  for (int x = 0; x < pixels.width; ++x) {
    for (int y = 0; y < pixels.height; ++y) {
      const bool onEdge = x == 0 || y == 0 || x == pixels.width - 1 || y == pixels.height - 1;
      if (onEdge && pixels.At(x, y) != ButtonFace()) return true;
    }
  }
  return false;
}

class VersionList : public ProgramTest {};

TEST_F(VersionList, WithoutLibrariesShowsTheDesignedLayoutAndDashes) {
  Start();

  EXPECT_EQ(L"Dorvint", TextOf(main_));
  const LONG style = GetWindowLongW(main_, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
  EXPECT_EQ(nullptr, GetWindow(main_, GW_OWNER)) << "an owned window has no task bar button";
  EXPECT_FALSE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  // Centred on the primary screen, dividing with truncation.
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ((Box{(screenWidth - 171) / 2, (screenHeight - 561) / 2, 171, 561}), BoxOf(main_));
  RECT client{};
  GetClientRect(main_, &client);
  EXPECT_EQ(171, client.right);
  EXPECT_EQ(561, client.bottom);

  struct FixedControl {
    bool inPanel0;
    int id;
    Box box;
    const wchar_t* text;
  };
  const FixedControl fixedControls[] = {
      {false, kPanel0, {3, 21, 165, 537}, L""},
      {false, kPanelTitle, {3, 3, 130, 18}, L" Dorvint"},
      {false, kSpeedButton1, {150, 4, 17, 15}, L"\u00D7"},
      {false, kSpeedButton2, {133, 4, 17, 15}, L"U"},
      {true, 31, {8, 8, 81, 17}, L"DLL"},
      {true, 32, {92, 8, 65, 17}, L"Version"},
  };
  for (const FixedControl& fixed : fixedControls) {
    SCOPED_TRACE(testing::Message() << "control " << fixed.id);
    const HWND control = Control(fixed.inPanel0 ? Panel0() : main_, fixed.id);
    EXPECT_EQ(fixed.box, BoxOf(control));
    EXPECT_EQ(fixed.text, TextOf(control));
    EXPECT_TRUE(IsShown(control));
  }

  for (int n = 1; n <= kRows; ++n) {
    SCOPED_TRACE(testing::Message() << "row " << n);
    const bool inUse = n <= kDefaultRowCount;
    EXPECT_EQ((Box{8, 12 + 20 * n, 81, 17}), BoxOf(NameCell(n)));
    EXPECT_EQ((Box{92, 12 + 20 * n, 65, 17}), BoxOf(VersionCell(n)));
    EXPECT_EQ(inUse ? kDefaultRows[n - 1].name : L"", TextOf(NameCell(n)));
    EXPECT_EQ(inUse ? L"---" : L"", Version(n));
    EXPECT_EQ(inUse, IsShown(NameCell(n)));
    EXPECT_EQ(inUse, IsShown(VersionCell(n)));
  }
}

TEST_F(VersionList, ShowsTheVersionOfEveryDefaultLibrary) {
  struct Row {
    std::string_view config;
    std::wstring version;
  };
  // Row by row in the default order; every row answers differently, so that
  // a version shown in the wrong row shows up.
  const Row rows[kDefaultRowCount] = {
      {"main=267\nsub=100\n", L"2.67a"},  // main with suffix, letter
      {"main=300\nsub=0\n", L"3.00"},     // main with suffix, none
      {"main=-5\n", L"0.0-5"},            // 32-bit, negative
      {"main=65803\n", L"2.67"},          // 16-bit: 65536 + 267
      {"main=230\n", L"2.30"},
      {"main=105\n", L"1.05"},
      {"main=123456\n", L"1234.56"},  // 32-bit, above 65535
      {"main=250\n", L"2.50"},
      {"main=102\n", L"1.02"},
      {"main=98\n", L"0.98"},
      {"main=350\n", L"3.50"},
      {"main=7\n", L"0.07"},
      {"main=1000\n", L"10.00"},
      {"main=110\n", L"1.10"},
      {"main=111\n", L"1.11"},
      {"main=112\n", L"1.12"},
      {"main=113\n", L"1.13"},
      {"main=114\n", L"1.14"},
      {"main=123\nsub=205\n", L"1.23b"},  // main with suffix
      {"main=115\n", L"1.15"},
      {"main=116\n", L"1.16"},
      {"main=920\nsub=2\n", L"9.20.0.02"},                                          // compound
      {"main=123\nsub=4\n", L"1.23.4"},                                             // unimp form
      {"text=2.1.5 \x93\xfa\x96\x7b\n", L"2.1.5 " + FromAnsi("\x93\xfa\x96\x7b")},  // text
      {"main=117\n", L"1.17"},
  };
  for (int n = 1; n <= kDefaultRowCount; ++n) Install(FileOfRow(n), rows[n - 1].config);

  Start();

  for (int n = 1; n <= kDefaultRowCount; ++n) {
    EXPECT_EQ(rows[n - 1].version, Version(n)) << "row " << n;
  }
}

TEST_F(VersionList, LibrariesThatCannotAnswerShowStatusTexts) {
  struct Case {
    int row;
    const wchar_t* variant;
    std::string_view config;
    const wchar_t* version;
  };
  const Case cases[] = {
      {1, L"no-main", "", L"?"},               // loads, lacks its version entry
      {2, L"full", "dllmain=fail\n", L"---"},  // refuses to initialise
      {4, L"x64", "", L"---"},                 // built for another architecture
  };
  for (const Case& broken : cases) Install(FileOfRow(broken.row), broken.config, broken.variant);

  Start();

  for (const Case& broken : cases) EXPECT_EQ(broken.version, Version(broken.row)) << broken.row;
}

TEST_F(VersionList, LibraryInTheCurrentDirectoryIsNotLoaded) {
  TempFolder elsewhere;
  InstallInto(elsewhere, FileOfRow(1), "main=267\nsub=100\n", L"full");

  Launch(elsewhere.Path());
  WaitForWindow();

  EXPECT_EQ(L"---", Version(1));
  program_.reset();  // before the folder it was started in goes
}

TEST_F(VersionList, RefreshShowsChangedAndDeletedLibraries) {
  Install(FileOfRow(1), "main=267\nsub=100\n");
  Install(FileOfRow(4), "main=100\n");
  Start();
  ASSERT_EQ(L"2.67a", Version(1));
  ASSERT_EQ(L"1.00", Version(4));
  const Box before = BoxOf(main_);

  Configure(FileOfRow(1), "main=268\nsub=200\n");
  RemoveFile(folder_.File(FileOfRow(4)));
  Refresh();

  EXPECT_EQ(L"---", WaitForText(VersionCell(4), L"---"));
  EXPECT_EQ(L"2.68b", Version(1));
  EXPECT_EQ(L"UNLHA32", TextOf(NameCell(1)));
  EXPECT_EQ(before, BoxOf(main_));
  EXPECT_FALSE(IsShown(VersionCell(26)));
}

TEST_F(VersionList, FaultAtShowIsReportedAndTheWindowShownAtItsDesignedHeight) {
  Install(FileOfRow(1), "main=267\nsub=100\n");
  Install(FileOfRow(4), "fault=av-read\n");
  Install(FileOfRow(7), "main=500\n");
  Launch(folder_.Path());

  const HWND box = program_->WaitForMessageBox();
  ExpectErrorReport(box, std::wregex(L"Access violation at address [0-9A-F]{8} in module "
                                     L"'Unzip32\\.dll'\\. Read of address 00000000\\."));
  PressOk(box);
  WaitForWindow();

  EXPECT_EQ(171, BoxOf(main_).width);
  EXPECT_EQ(583, BoxOf(main_).height);
  EXPECT_EQ(556, BoxOf(Panel0()).height);
  EXPECT_EQ(L"2.67a", Version(1));
  EXPECT_EQ(L"---", Version(3));
  EXPECT_EQ(L"UNZIP32", TextOf(NameCell(4)));
  EXPECT_EQ(L"", Version(4));
  for (int n = 5; n <= kRows; ++n) {
    SCOPED_TRACE(testing::Message() << "row " << n);
    EXPECT_EQ(L"", TextOf(NameCell(n)));
    EXPECT_EQ(L"", Version(n));
    EXPECT_TRUE(IsShown(NameCell(n)));
    EXPECT_TRUE(IsShown(VersionCell(n)));
  }
}

TEST_F(VersionList, FaultAtRefreshEndsThePassAndLaterRefreshesWork) {
  Install(FileOfRow(1), "main=267\nsub=100\n");
  Install(FileOfRow(4), "main=100\n");
  Install(FileOfRow(7), "main=500\n");
  Start();
  ASSERT_EQ(L"5.00", Version(7));

  // Each round row 1 answers anew, so that a pass that reached it shows.  A
  // message ending in a quote gets no full stop.
  struct Round {
    std::string_view fault;
    std::string_view row1;
    const wchar_t* row1Version;
    const wchar_t* message;  // pattern
  };
  const Round rounds[] = {
      {"av-read", "main=271\nsub=100\n", L"2.71a",
       L"Access violation at address [0-9A-F]{8} in module 'Unzip32\\.dll'\\. "
       L"Read of address 00000000\\."},
      {"illegal", "main=272\nsub=200\n", L"2.72b",
       L"Illegal instruction at address [0-9A-F]{8} in module 'Unzip32\\.dll'"},
      {"stack", "main=273\nsub=300\n", L"2.73c",
       L"Stack overflow at address [0-9A-F]{8} in module 'Unzip32\\.dll'"},
  };
  Configure(FileOfRow(7), "main=600\n");
  for (const Round& round : rounds) {
    SCOPED_TRACE(std::string(round.fault));
    Configure(FileOfRow(1), round.row1);
    Configure(FileOfRow(4), "fault=" + std::string(round.fault) + "\n");
    Refresh();

    const HWND box = program_->WaitForMessageBox();
    ExpectErrorReport(box, std::wregex(round.message));
    // Rows before the fault are probed again, the faulting row and those
    // after it keep what they showed.
    EXPECT_EQ(round.row1Version, Version(1));
    EXPECT_EQ(L"1.00", Version(4));
    EXPECT_EQ(L"5.00", Version(7));
    PressOk(box);
    EXPECT_TRUE(WaitUntil([&] { return !program_->HasMessageBox(); }));
  }

  Configure(FileOfRow(4), "main=101\n");
  Refresh();
  EXPECT_EQ(L"6.00", WaitForText(VersionCell(7), L"6.00"));
  EXPECT_EQ(L"1.01", Version(4));
  EXPECT_FALSE(program_->HasMessageBox());
}

struct CloseCase {
  const char* name;
  void (*close)(HWND form);
};

class Closing : public VersionList, public testing::WithParamInterface<CloseCase> {};

TEST_P(Closing, EndsTheProgramWithExitCodeZero) {
  Start();
  GetParam().close(main_);
  EXPECT_EQ(0u, program_->WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Closing,
    testing::Values(CloseCase{"CloseButton",
                              [](HWND form) { ClickOn(Control(form, kSpeedButton1)); }},
                    CloseCase{"WmClose", [](HWND form) { PostMessageW(form, WM_CLOSE, 0, 0); }}),
    [](const testing::TestParamInfo<CloseCase>& way) { return std::string(way.param.name); });

TEST_F(VersionList, ButtonsShowTheirTooltips) {
  Start();
  EXPECT_EQ(L"\u7D42\u4E86", ToolTipOf(program_->Id(), main_, Control(main_, kSpeedButton1)));
  EXPECT_EQ(L"\u66F4\u65B0", ToolTipOf(program_->Id(), main_, Control(main_, kSpeedButton2)));
}

TEST_F(VersionList, FlatButtonsShowAnEdgeOnlyUnderThePointer) {
  MovePointerAway();
  Start();
  for (int id : {kSpeedButton1, kSpeedButton2}) {
    SCOPED_TRACE(testing::Message() << "button " << id);
    const HWND button = Control(main_, id);
    EXPECT_FALSE(EdgeDrawn(CaptureScreen(button)));

    RECT rect{};
    GetWindowRect(button, &rect);
    MovePointerTo({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    EXPECT_TRUE(WaitUntil([&] { return EdgeDrawn(CaptureScreen(button)); }));

    MovePointerAway();
    EXPECT_TRUE(WaitUntil([&] { return !EdgeDrawn(CaptureScreen(button)); }));
  }
}

}  // namespace
}  // namespace dorvint::window
