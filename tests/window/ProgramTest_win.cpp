#include "ProgramTest_win.h"

#include <cstdio>
#include <string>

namespace dorvint::window {

Installation installation;

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

void ProgramTest::ShiftRightPress() const {
  MovePointerTo(CentreOf(SpeedButton2()));
  Sleep(100);
  const Held shift(VK_SHIFT);
  Press(Button::Right);
  Release(Button::Right);
}

bool ProgramTest::WaitForHeight(int height) const {
  return WaitUntil([&] { return BoxOf(main_).height == height; });
}

void ProgramTest::WaitForInputHandled(const wchar_t* rowOneFile) {
  ++answers_;
  Configure(rowOneFile, "main=" + std::to_string(100 * answers_ + 7) + "\n");
  Refresh();
  const std::wstring expected = std::to_wstring(answers_) + L".07";
  if (WaitForText(VersionCell(1), expected) != expected) {
    throw std::runtime_error("the program did not handle a refresh click in time");
  }
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
