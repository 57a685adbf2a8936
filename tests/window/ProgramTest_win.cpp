#include "ProgramTest_win.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace dorvint::window {

std::string PixelDifference(int x, int y, DWORD actual, DWORD expected) {
  char text[80];
  std::snprintf(text, sizeof text, "(%d, %d): %06lX instead of %06lX", x, y,
                static_cast<unsigned long>(actual), static_cast<unsigned long>(expected));
  return text;
}

std::string Summary(const std::vector<std::string>& differences) {
  std::string summary = std::to_string(differences.size()) + " pixels differ";
  for (std::size_t i = 0; i < differences.size() && i < 12; ++i) {
    summary += "\n  " + differences[i];
  }
  return summary;
}

namespace {

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

}  // namespace

std::vector<std::string> ProfileLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) continue;
    if (const auto equals = line.find('='); line[0] != ';' && equals != std::string::npos) {
      line = Trim(line.substr(0, equals)) + "=" + Trim(line.substr(equals + 1));
    }
    lines.push_back(line);
  }
  return lines;
}

Installation installation;

void ExpectErrorReport(HWND box, const std::wregex& message) {
  EXPECT_EQ(L"Dorvint", TextOf(box));
  const std::wstring text = MessageTextOf(box);
  EXPECT_TRUE(std::regex_match(text, message)) << std::string(text.begin(), text.end());
  EXPECT_EQ(std::vector<int>{IDOK}, ButtonIdsOf(box));
  EXPECT_TRUE(ShowsErrorIcon(box)) << "the icon is not the error icon";
}

void ProgramTest::SetUp() { CopyFileTo(installation.exe, folder_.File(L"dorvint.exe")); }

void ProgramTest::Install(const wchar_t* file, std::string_view config, const wchar_t* variant) {
  InstallInto(folder_, file, config, variant);
}

void ProgramTest::InstallInto(const TempFolder& folder, const wchar_t* file,
                              std::string_view config, const wchar_t* variant) {
  CopyFileTo(installation.standIns + L"\\" + variant + L"\\" + file, folder.File(file));
  if (!config.empty()) WriteTextFile(folder.File(std::wstring(file) + L".txt"), config);
}

void ProgramTest::Configure(const wchar_t* file, std::string_view config) {
  WriteTextFile(folder_.File(std::wstring(file) + L".txt"), config);
}

bool ProgramTest::Called(const wchar_t* file) const {
  // Every call of a stand-in's entries leaves a line in its log.
  return FileExists(folder_.File(std::wstring(file) + L".log"));
}

void ProgramTest::Launch(const std::wstring& currentDirectory) {
  program_.emplace(folder_.File(L"dorvint.exe"), currentDirectory);
}

void ProgramTest::WaitForWindow() { main_ = program_->WaitForMainWindow(); }

void ProgramTest::Start() {
  Launch(folder_.Path());
  WaitForWindow();
}

void ProgramTest::CloseAndWaitForExit() {
  PostMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, program_->WaitForExit());
}

void ProgramTest::PointAtRefreshButton() const {
  MovePointerOnto(CentreOf(SpeedButton2()));
  WaitForIdle(main_);
}

void ProgramTest::ShiftPress(Button button) const {
  PointAtRefreshButton();
  const Held shift(VK_SHIFT);
  Press(button);
  Release(button);
  // Held keeps the display holding Shift too, so nothing may let go of it.
  if (!KeyHeld(VK_SHIFT)) throw std::runtime_error("Shift did not stay held for a press");
}

bool ProgramTest::SwitchStripTo(int height) const {
  ShiftRightPress();
  return WaitForHeight(height);
}

Box ProgramTest::DragTitleBy(int dx, int dy) const {
  const POINT from = CentreOf(PanelTitle());
  const POINT to{from.x + dx, from.y + dy};
  MovePointerOnto(from);
  Press(Button::Left);
  // The title strip hands the drag to the system's move loop at the first
  // move, and the loop follows the pointer from where it finds it: moves made
  // before it runs are lost, several on a slow machine.  So the drag goes on
  // once the loop runs, and from there the window must follow the pointer.
  MovePointerTo({from.x + (dx > 0) - (dx < 0), from.y + (dy > 0) - (dy < 0)});
  const DWORD thread = GetWindowThreadProcessId(main_, nullptr);
  const auto moving = [thread] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE) != 0;
  };
  EXPECT_TRUE(WaitUntil(moving)) << "the program did not start moving its window";
  WaitForIdle(main_);
  const Box before = BoxOf(main_);
  POINT pointer{};
  GetCursorPos(&pointer);
  MovePointerInSteps(pointer, to);
  Sleep(100);
  Release(Button::Left);
  // The loop ends at the release.  A message posted to the window before the
  // loop took the release would be handled inside the loop, ahead of it: a
  // close there leaves the loop waiting for ever.
  EXPECT_TRUE(WaitUntil([&] { return !moving(); })) << "the program did not end the drag";

  Box after{};
  const bool arrived = WaitUntil([&] {
    after = BoxOf(main_);
    return std::abs(after.left - before.left - (to.x - pointer.x)) <= 4 &&
           std::abs(after.top - before.top - (to.y - pointer.y)) <= 4;
  });
  EXPECT_TRUE(arrived) << "dragged from " << before << " by " << to.x - pointer.x << ", "
                       << to.y - pointer.y << ", the window is at " << after;
  return after;
}

bool ProgramTest::WaitForHeight(int height) const {
  return WaitUntil([&] { return BoxOf(main_).height == height; });
}

void ProgramTest::WaitForInputHandled() {
  ++answers_;
  Configure(L"Unlha32.dll", "main=" + std::to_string(100 * answers_ + 7) + "\n");
  Refresh();
  const std::wstring expected = std::to_wstring(answers_) + L".07";
  if (WaitForText(VersionCell(1), expected) != expected) {
    throw std::runtime_error("the program did not handle a refresh click in time");
  }
  WaitForIdle(main_);
}

}  // namespace dorvint::window

// After GoogleTest's own flags: the path of dorvint.exe and the folder of
// stand-in library variants.
int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: window_tests [gtest flags] DORVINT_EXE STANDINS_FOLDER\n");
    return 2;
  }
  dorvint::window::installation = {argv[1], argv[2]};
  return RUN_ALL_TESTS();
}
