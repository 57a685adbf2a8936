// What the program tells about each library beyond its version: the tooltip
// of each version cell, the table copied with Ctrl+C and refresh with F5.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "Driver_win.h"
#include "ProgramTest_win.h"

namespace dorvint::window {
namespace {

const std::wstring kNotFound = L"\u898B\u3064\u304B\u308A\u307E\u305B\u3093";
const std::wstring kNot32Bit =
    L"32 \u30D3\u30C3\u30C8\u7248\u306E\u30E9\u30A4\u30D6\u30E9\u30EA\u3067\u306F\u3042\u308A"
    L"\u307E\u305B\u3093";
const std::wstring kInitFailed =
    L"\u30E9\u30A4\u30D6\u30E9\u30EA\u306E\u521D\u671F\u5316\u306B\u5931\u6557\u3057\u307E\u3057"
    L"\u305F";
const std::wstring kIsMissing = L" \u304C\u3042\u308A\u307E\u305B\u3093";
const std::wstring kIsUnknown =
    L" \u306F\u65E2\u77E5\u306E\u30E9\u30A4\u30D6\u30E9\u30EA\u540D\u3067\u306F\u3042\u308A\u307E"
    L"\u305B\u3093";

// The Unicode text on the clipboard, or an empty text.
std::wstring ClipboardText() {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) {
    throw std::runtime_error("the clipboard stays busy");
  }
  std::wstring copy;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) copy = text;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return copy;
}

void EmptyTheClipboard() {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) {
    throw std::runtime_error("the clipboard stays busy");
  }
  EmptyClipboard();
  CloseClipboard();
}

// A key pressed and released with real input.
void Tap(WORD key) { const Held down(key); }

class Diagnostics : public ProgramTest {
 protected:
  std::wstring Hint(int n) const { return ToolTipOf(program_->Id(), main_, VersionCell(n)); }

  // Makes the program's window the one that takes the keyboard, as a user
  // would: a click on a name cell, then the pointer away so that no tooltip
  // pops up meanwhile; waits until the program has the focus.
  void Focus() const {
    ClickOn(NameCell(1));
    MovePointerAway();
    const DWORD thread = GetWindowThreadProcessId(main_, nullptr);
    const bool focused = WaitUntil([&] {
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      return GetForegroundWindow() == main_ && GetGUIThreadInfo(thread, &info) &&
             info.hwndFocus == main_;
    });
    if (!focused) throw std::runtime_error("the program's window did not take the keyboard");
  }
};

TEST_F(Diagnostics, EachVersionCellTellsWhyItShowsItsText) {
  Install(L"Unlha32.dll", "main=267\nsub=100\n");
  Install(L"Nkf32.dll", {}, L"x64");
  Install(L"Tar32.dll", "main=100\ndllmain=fail\n");
  Install(L"Unzip32.dll", "main=100\n", L"no-main");
  WriteSettings("[Display]\n1=UNLHA32\n2=CAB32\n3=NKF32\n4=TAR32\n5=UNZIP32\n6=FOO\n7=\n");
  Start();

  struct Row {
    const wchar_t* version;
    std::wstring hint;
  };
  const Row rows[] = {
      {L"2.67a", folder_.File(L"Unlha32.dll")},  // present beside the program
      {L"---", kNotFound},                       // missing
      {L"---", kNot32Bit},                       // built for x86-64
      {L"---", kInitFailed},                     // its DllMain fails
      {L"?", L"UnZipGetVersion" + kIsMissing},   // no main entry
      {L"Error!", L"FOO" + kIsUnknown},          // a name the program does not know
  };
  for (int n = 1; n <= static_cast<int>(std::size(rows)); ++n) {
    EXPECT_EQ(rows[n - 1].version, Version(n)) << "row " << n;
    // The system may spell the folder in another letter case.
    EXPECT_EQ(Lower(rows[n - 1].hint), Lower(Hint(n))) << "row " << n;
  }
  CloseAndWaitForExit();
}

TEST_F(Diagnostics, RefreshUpdatesTheTooltips) {
  Install(L"Unlha32.dll", "main=267\n");
  Install(L"Unzip32.dll", "main=100\n");
  WriteSettings("[Display]\n1=UNLHA32\n2=UNZIP32\n3=\n");
  Start();
  ASSERT_EQ(Lower(folder_.File(L"Unzip32.dll")), Lower(Hint(2)));

  RemoveFile(folder_.File(L"Unzip32.dll"));
  WaitForInputHandled();
  EXPECT_EQ(L"---", Version(2));
  EXPECT_EQ(kNotFound, Hint(2));

  Install(L"Unzip32.dll", {}, L"no-main");
  WaitForInputHandled();
  EXPECT_EQ(L"?", Version(2));
  EXPECT_EQ(L"UnZipGetVersion" + kIsMissing, Hint(2));

  Install(L"Unzip32.dll", "main=601\n");
  WaitForInputHandled();
  EXPECT_EQ(L"6.01", Version(2));
  EXPECT_EQ(Lower(folder_.File(L"Unzip32.dll")), Lower(Hint(2)));
  CloseAndWaitForExit();
}

TEST_F(Diagnostics, AFaultKeepsTheTooltipsFromThatRowOn) {
  Install(L"Unlha32.dll", "main=267\n");
  Install(L"Unzip32.dll", "main=100\n");
  WriteSettings("[Display]\n1=UNLHA32\n2=UNZIP32\n3=\n");
  Start();
  const std::wstring before[] = {Hint(1), Hint(2)};

  Configure(L"Unlha32.dll", "main=300\nfault=av-read\n");
  RemoveFile(folder_.File(L"Unzip32.dll"));
  Refresh();
  PressOk(program_->WaitForMessageBox());
  EXPECT_EQ(L"2.67", Version(1));
  EXPECT_EQ(L"1.00", Version(2));
  EXPECT_EQ(before[0], Hint(1));
  EXPECT_EQ(before[1], Hint(2));
  CloseAndWaitForExit();
}

TEST_F(Diagnostics, CtrlCCopiesTheVisibleRows) {
  Install(L"Unlha32.dll", "main=267\nsub=100\n");
  WriteSettings("[Display]\n1=UNLHA32\n2=CAB32\n3=FOO\n4=\n5=UNZIP32\n");
  Start();
  EmptyTheClipboard();
  Focus();
  // Pending display events could take the held Ctrl back (see WaitForIdle).
  WaitForIdle(main_);
  {
    const Held control(VK_CONTROL);
    Tap('C');
  }

  std::wstring copied;
  WaitUntil([&] {
    copied = ClipboardText();
    return !copied.empty();
  });
  EXPECT_EQ(L"UNLHA32\t2.67a\t" + Hint(1) + L"\r\nCAB32\t---\t" + kNotFound +
                L"\r\nFOO\tError!\tFOO" + kIsUnknown + L"\r\n",
            copied);
  EXPECT_EQ(Lower(folder_.File(L"Unlha32.dll")), Lower(Hint(1)));
  CloseAndWaitForExit();
}

TEST_F(Diagnostics, F5RefreshesLikeTheRefreshButton) {
  Install(L"Unlha32.dll", "main=267\n");
  Install(L"Unzip32.dll", "main=100\n");
  WriteSettings("[Display]\n1=UNLHA32\n2=UNZIP32\n3=\n");
  Start();
  ASSERT_EQ(L"1.00", Version(2));

  Configure(L"Unzip32.dll", "main=601\n");
  RemoveFile(folder_.File(L"Unlha32.dll"));
  Focus();
  Tap(VK_F5);
  EXPECT_EQ(L"6.01", WaitForText(VersionCell(2), L"6.01"));
  EXPECT_EQ(L"---", Version(1));
  EXPECT_EQ(kNotFound, Hint(1));
  CloseAndWaitForExit();
}

TEST_F(Diagnostics, TitleStripNamesTheKeys) {
  Start();
  EXPECT_EQ(L"Ctrl+C: \u30B3\u30D4\u30FC\u3000F5: \u66F4\u65B0",
            ToolTipOf(program_->Id(), main_, PanelTitle()));
  CloseAndWaitForExit();
}

}  // namespace
}  // namespace dorvint::window
