// The settings file "dorvint.ini" beside the program, from outside: what the
// window shows for a given file, and what the file holds once the program
// has closed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "Driver_win.h"
#include "ProgramTest_win.h"

namespace dorvint::window {
namespace {

constexpr int kStripHeight = 90;

class SettingsFile : public ProgramTest {};

// --- The display list

struct ListCase {
  const char* name;
  std::string settings;
  std::vector<std::wstring> rows;  // the names listed, as shown
  int height;
  int panel0Height;
};
std::ostream& operator<<(std::ostream& out, const ListCase& c) { return out << c.name; }

std::vector<std::wstring> DefaultNamesAfter(const wchar_t* first) {
  std::vector<std::wstring> names{first};
  for (int n = 2; n <= kDefaultRowCount; ++n) names.emplace_back(kDefaultRows[n - 1].name);
  return names;
}

std::vector<std::wstring> TwentySixNames() {
  std::vector<std::wstring> names = DefaultNamesAfter(kDefaultRows[0].name);
  names.emplace_back(L"UNRAR");
  return names;
}

std::string DisplaySection(const std::vector<std::wstring>& names) {
  std::string section = "[Display]\n";
  for (std::size_t n = 1; n <= names.size(); ++n) {
    section +=
        std::to_string(n) + "=" + std::string(names[n - 1].begin(), names[n - 1].end()) + "\n";
  }
  return section;
}

class DisplayList : public SettingsFile, public testing::WithParamInterface<ListCase> {};

TEST_P(DisplayList, ListsTheNamesUpToTheFirstEmptyEntry) {
  const ListCase& list = GetParam();
  Install(L"7-zip32.dll", "main=920\nsub=2\n");
  Install(L"Unlha32.dll", "main=267\nsub=100\n");
  WriteSettings(list.settings);

  Start();

  EXPECT_EQ(list.height, BoxOf(main_).height);
  EXPECT_EQ(list.panel0Height, BoxOf(Panel0()).height);
  const int rowCount = static_cast<int>(list.rows.size());
  for (int n = 1; n <= kRows; ++n) {
    SCOPED_TRACE(testing::Message() << "row " << n);
    const bool inUse = n <= rowCount;
    EXPECT_EQ(inUse ? list.rows[n - 1] : L"", TextOf(NameCell(n)));
    if (inUse && Lower(list.rows[n - 1]) == L"7-zip32") {
      EXPECT_EQ(L"9.20.0.02", Version(n));
    }
    if (inUse || n == rowCount + 1) {
      EXPECT_EQ(inUse, IsShown(NameCell(n)));
      EXPECT_EQ(inUse, IsShown(VersionCell(n)));
    }
  }
  // Names after the first empty entry are never probed.
  const auto listed = [&](const wchar_t* key) {
    return std::ranges::any_of(list.rows,
                               [&](const std::wstring& name) { return Lower(name) == key; });
  };
  EXPECT_EQ(listed(L"7-zip32"), Called(L"7-zip32.dll"));
  EXPECT_EQ(listed(L"unlha32"), Called(L"Unlha32.dll"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, DisplayList,
    testing::Values(
        ListCase{"ShortenedByAnEmptyKey", "[Display]\n1=7-ZIP32\n2=\n", {L"7-ZIP32"}, 81, 57},
        ListCase{"DefaultsAfterASingleKey", "[Display]\n1=7-ZIP32\n", DefaultNamesAfter(L"7-ZIP32"),
                 561, 537},
        ListCase{"TwentySixNames", DisplaySection(TwentySixNames()), TwentySixNames(), 581, 557},
        ListCase{"FirstEntryEmpty", "[Display]\n1=\n", {}, 61, 37},
        ListCase{"EntriesAfterAGapIgnored",
                 "[Display]\n1=7-ZIP32\n2=ISH32\n3=TAR32\n4=\n5=UNLHA32\n",
                 {L"7-ZIP32", L"ISH32", L"TAR32"},
                 121,
                 97}),
    [](const testing::TestParamInfo<ListCase>& list) { return std::string(list.param.name); });

// --- Sub-version display

struct SubVersionCase {
  const char* type;
  const wchar_t* version;  // of main 267, sub 100
};
std::ostream& operator<<(std::ostream& out, const SubVersionCase& c) { return out << c.type; }

class SubVersionType : public SettingsFile, public testing::WithParamInterface<SubVersionCase> {};

TEST_P(SubVersionType, SelectsHowTheSubVersionIsShown) {
  Install(L"Unlha32.dll", "main=267\nsub=100\n");
  WriteSettings(std::string("[SubVersion]\nType=") + GetParam().type + "\n");

  Start();

  EXPECT_EQ(GetParam().version, Version(1));
}

INSTANTIATE_TEST_SUITE_P(Types, SubVersionType,
                         testing::Values(SubVersionCase{"N", L"2.67.1"},
                                         SubVersionCase{"X", L"2.67"},
                                         SubVersionCase{"a", L"2.67"}),
                         [](const testing::TestParamInfo<SubVersionCase>& type) {
                           return std::string(type.param.type) == "a" ? std::string("LowerA")
                                                                      : type.param.type;
                         });

// --- Integer values, seen through where the window opens

struct PositionCase {
  const char* name;
  const char* window;  // the [Window] section's keys
  int left;
  int top;
};
std::ostream& operator<<(std::ostream& out, const PositionCase& c) { return out << c.name; }

class PositionValue : public SettingsFile, public testing::WithParamInterface<PositionCase> {};

TEST_P(PositionValue, PlacesTheWindow) {
  WriteSettings(std::string("[Window]\n") + GetParam().window);

  Start();

  // A single negative value places the window as it is, so an unreadable
  // value shows as -1.
  EXPECT_EQ(GetParam().left, BoxOf(main_).left);
  EXPECT_EQ(GetParam().top, BoxOf(main_).top);
}

INSTANTIATE_TEST_SUITE_P(
    Readings, PositionValue,
    testing::Values(PositionCase{"HexWith0x", "Top=0x20\nLeft=100\n", 100, 32},
                    PositionCase{"HexWithDollar", "Top=$20\nLeft=100\n", 100, 32},
                    // The profile functions drop blanks around a value, but not inside quotes.
                    PositionCase{"LeadingBlank", "Top=\" 15\"\nLeft=100\n", 100, 15},
                    PositionCase{"Letters", "Top=abc\nLeft=100\n", 100, -1},
                    PositionCase{"TrailingLetters", "Top=12px\nLeft=100\n", 100, -1},
                    PositionCase{"Empty", "Top=\nLeft=100\n", 100, -1},
                    PositionCase{"HexWithX", "Top=100\nLeft=x20\n", 32, 100},
                    PositionCase{"AllOnes", "Top=100\nLeft=$FFFFFFFF\n", -1, 100},
                    PositionCase{"SignBeforePrefix", "Top=100\nLeft=-$20\n", -1, 100},
                    PositionCase{"NineHexDigits", "Top=100\nLeft=$123456789\n", -1, 100},
                    PositionCase{"LeadingZeros", "Top=100\nLeft=$000000020\n", 32, 100}),
    [](const testing::TestParamInfo<PositionCase>& value) {
      return std::string(value.param.name);
    });

// --- Position memory

TEST_F(SettingsFile, SavesThePositionReachedByDragging) {
  WriteSettings("[Window]\nTop=10\nLeft=20\n");
  Start();
  ASSERT_EQ(20, BoxOf(main_).left);
  ASSERT_EQ(10, BoxOf(main_).top);

  const Box moved = DragTitleBy(280, 190);
  CloseAndWaitForExit();

  EXPECT_EQ((std::vector<std::string>{"[Window]", "Top=" + std::to_string(moved.top),
                                      "Left=" + std::to_string(moved.left)}),
            SavedLines());
}

TEST_F(SettingsFile, OneNegativeValuePlacesTheWindowAsItIsAndSavesNothing) {
  const std::string settings = "[Window]\nTop=-5\nLeft=10\n";
  WriteSettings(settings);
  Start();
  EXPECT_EQ(10, BoxOf(main_).left);
  EXPECT_EQ(-5, BoxOf(main_).top);

  DragTitleBy(60, 50);
  CloseAndWaitForExit();

  EXPECT_EQ(settings, ReadTextFile(SettingsPath()));
}

TEST_F(SettingsFile, PositionOffTheLeftEdgeIsSavedOnceAndThenNoMore) {
  WriteSettings("[Window]\nTop=10\nLeft=20\n");
  Start();
  const Box moved = DragTitleBy(-50, 0);
  ASSERT_LT(moved.left, 0);
  CloseAndWaitForExit();
  const std::vector<std::string> saved{"[Window]", "Top=10", "Left=" + std::to_string(moved.left)};
  ASSERT_EQ(saved, SavedLines());

  // Placed where it was left, not centred, though one value is negative.
  Start();
  EXPECT_EQ(moved.left, BoxOf(main_).left);
  EXPECT_EQ(10, BoxOf(main_).top);
  DragTitleBy(80, 40);
  CloseAndWaitForExit();

  EXPECT_EQ(saved, SavedLines());
}

// --- The picture flag at close

struct FlagCase {
  const char* name;
  std::optional<std::string> settings;            // none: no file
  int gestures;                                   // Shift + right presses on the refresh button
  std::optional<std::vector<std::string>> saved;  // none: no file after the close
};
std::ostream& operator<<(std::ostream& out, const FlagCase& c) { return out << c.name; }

class PictureFlag : public SettingsFile, public testing::WithParamInterface<FlagCase> {};

TEST_P(PictureFlag, IsWrittenAtCloseWhenItChanged) {
  const FlagCase& flag = GetParam();
  if (flag.settings) WriteSettings(*flag.settings);
  Start();

  int height = BoxOf(main_).height;
  for (int gesture = 1; gesture <= flag.gestures; ++gesture) {
    height = height == 561 ? 561 + kStripHeight : 561;
    ASSERT_TRUE(SwitchStripTo(height)) << "gesture " << gesture;
  }
  CloseAndWaitForExit();

  if (flag.saved) {
    EXPECT_EQ(*flag.saved, SavedLines());
  } else {
    EXPECT_FALSE(FileExists(SettingsPath()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PictureFlag,
    testing::Values(FlagCase{"SwitchedOnWithoutAFile", std::nullopt, 1,
                             std::vector<std::string>{"[Picture]", "H=True"}},
                    FlagCase{"SwitchedOnAndOffWithoutAFile", std::nullopt, 2, std::nullopt},
                    FlagCase{"FileSaidTrueSwitchedOff", "[Picture]\nH=True\n", 1,
                             std::vector<std::string>{"[Picture]", "H=False"}}),
    [](const testing::TestParamInfo<FlagCase>& flag) { return std::string(flag.param.name); });

TEST_F(SettingsFile, SavingKeepsEverythingElseInTheFile) {
  // Blanks and blank lines on purpose: what the profile writer does with them
  // is its own affair.
  WriteSettings(
      "; Dorvint's settings\n"
      "[Display]\n"
      "1=UNLHA32\n"
      "2 = 7-zip32\n"
      "3=\n"
      "; the list ends above\n"
      "\n"
      "[SubVersion]\n"
      "Type=N\n"
      "[Window]\n"
      "; where the window opens\n"
      "Top=10\n"
      "Left=20\n"
      "Width=171\n"
      "\n"
      "[Picture]\n"
      "H=True\n"
      "Frame=raised\n"
      "[Notes]\n"
      "owner=someone\n"
      "; last line\n");
  Start();

  const Box moved = DragTitleBy(40, 30);
  ASSERT_TRUE(SwitchStripTo(101));  // two rows, the strip switched off
  CloseAndWaitForExit();

  EXPECT_EQ((std::vector<std::string>{
                "; Dorvint's settings", "[Display]", "1=UNLHA32", "2=7-zip32",
                "3=", "; the list ends above", "[SubVersion]", "Type=N", "[Window]",
                "; where the window opens", "Top=" + std::to_string(moved.top),
                "Left=" + std::to_string(moved.left), "Width=171", "[Picture]", "H=False",
                "Frame=raised", "[Notes]", "owner=someone", "; last line"}),
            SavedLines());
}

// --- A write the platform refuses

TEST_F(SettingsFile, RefusedWriteIsReportedAndTheNextCloseTriesAgain) {
  // A folder in the file's place: nothing can write the file, not even an
  // administrator.
  MakeFolder(SettingsPath());
  Start();
  ASSERT_TRUE(SwitchStripTo(561 + kStripHeight));

  // "<path> に書き込めません."
  const std::wstring report =
      SettingsPath() + L" \u306B\u66F8\u304D\u8FBC\u3081\u307E\u305B\u3093.";
  for (int attempt = 1; attempt <= 2; ++attempt) {
    SCOPED_TRACE(testing::Message() << "close " << attempt);
    PostMessageW(main_, WM_CLOSE, 0, 0);
    const HWND box = program_->WaitForMessageBox();
    EXPECT_EQ(L"Dorvint", TextOf(box));
    EXPECT_EQ(report, MessageTextOf(box));
    EXPECT_EQ(std::vector<int>{IDOK}, ButtonIdsOf(box));
    PressOk(box);
    ASSERT_TRUE(WaitUntil([&] { return !program_->HasMessageBox(); }));
    // The close was abandoned: the window stays and the program runs on.
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(561 + kStripHeight, BoxOf(main_).height);
  }

  RemoveFolder(SettingsPath());
  CloseAndWaitForExit();
  EXPECT_EQ((std::vector<std::string>{"[Picture]", "H=True"}), SavedLines());
}

}  // namespace
}  // namespace dorvint::window
