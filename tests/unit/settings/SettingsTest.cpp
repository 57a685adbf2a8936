#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Settings.h"

namespace dorvint {
namespace {

TEST(ParseProfileInt, ValuesTheFileMayHold) {
  struct Case {
    const char* text;
    std::int32_t value;
  };
  const Case valid[] = {
      {"0x20", 32},
      {"0X20", 32},
      {"$20", 32},
      {"x20", 32},
      {"X20", 32},
      {" 15", 15},
      {"   -7", -7},
      {"+15", 15},
      {"0", 0},
      {"-0", 0},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$7fffffff", 2147483647},
      {"$000000020", 32},
      {"0x000000020", 32},
      {"$0", 0},
      {"$00000000000", 0},
      {"007", 7},
      {" 0x20", 32},
      {"0xffffffff", -1},
  };
  for (const Case& c : valid) {
    ASSERT_TRUE(ParseProfileInt(c.text).has_value()) << c.text;
    EXPECT_EQ(*ParseProfileInt(c.text), c.value) << c.text;
  }
  const char* invalid[] = {"",           "abc",         "12px",        "-$20", "+$20", "$",
                           "0x",         "x",           "-",           "+",    "   ",  "$123456789",
                           "2147483648", "-2147483649", "99999999999", "15 ",  "1 5",  "$2G",
                           "0x-1",       "--1",         "1e3",         "\t15", "0b101"};
  for (const char* text : invalid) EXPECT_FALSE(ParseProfileInt(text).has_value()) << text;
  EXPECT_EQ(ProfileIntOrDefault("abc"), -1);
  EXPECT_EQ(ProfileIntOrDefault("$FFFFFFFF"), -1);  // a real -1, not the default
  EXPECT_EQ(ProfileIntOrDefault("0x20"), 32);
}

// A settings file held in memory.
class FakeProfile final : public ProfileReader {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::vector<std::string> reads;

  std::string Read(const char* section, const char* key, const std::string& fallback) override {
    reads.push_back(std::string(section) + "/" + key);
    const auto found = values.find({section, key});
    return found == values.end() ? fallback : found->second;
  }
};

TEST(LoadSettings, DefaultsWhereTheFileIsSilent) {
  FakeProfile file;
  const Settings loaded = LoadSettings(file);
  const Settings defaults = DefaultSettings();
  EXPECT_EQ(loaded.DisplayNames, defaults.DisplayNames);
  EXPECT_EQ(loaded.DisplayNames[0], "UNLHA32");
  EXPECT_EQ(loaded.DisplayNames[24], "WinEx32");
  EXPECT_EQ(loaded.DisplayNames[25], "");
  EXPECT_EQ(loaded.SubVersionType, "A");
  EXPECT_EQ(loaded.WindowTop, -1);
  EXPECT_EQ(loaded.WindowLeft, -1);
  EXPECT_EQ(loaded.PictureFlag, "False");
}

TEST(LoadSettings, ReadsEveryKeyInOrder) {
  FakeProfile file;
  LoadSettings(file);
  ASSERT_EQ(file.reads.size(), 30u);
  EXPECT_EQ(file.reads[0], "Display/1");
  EXPECT_EQ(file.reads[25], "Display/26");
  EXPECT_EQ(
      std::vector<std::string>(file.reads.begin() + 26, file.reads.end()),
      (std::vector<std::string>{"SubVersion/Type", "Window/Top", "Window/Left", "Picture/H"}));
}

TEST(LoadSettings, OnlyAnEmptyKeyShortensTheList) {
  FakeProfile one;
  one.values[{"Display", "1"}] = "7-ZIP32";
  one.values[{"Display", "2"}] = "";
  EXPECT_EQ(LoadSettings(one).DisplayNames[0], "7-ZIP32");
  EXPECT_EQ(LoadSettings(one).DisplayNames[1], "");

  FakeProfile single;
  single.values[{"Display", "1"}] = "7-ZIP32";
  const Settings s = LoadSettings(single);
  EXPECT_EQ(s.DisplayNames[0], "7-ZIP32");
  EXPECT_EQ(s.DisplayNames[1], "UNARJ32J");
  EXPECT_EQ(s.DisplayNames[24], "WinEx32");
}

TEST(LoadSettings, IntegersFallBackToMinusOne) {
  FakeProfile file;
  file.values[{"Window", "Top"}] = "12px";
  file.values[{"Window", "Left"}] = "x20";
  file.values[{"Picture", "H"}] = "true";
  file.values[{"SubVersion", "Type"}] = "N";
  const Settings s = LoadSettings(file);
  EXPECT_EQ(s.WindowTop, -1);
  EXPECT_EQ(s.WindowLeft, 32);
  EXPECT_EQ(s.PictureFlag, "true");
  EXPECT_EQ(s.SubVersionType, "N");
}

TEST(CloseWrites, PositionAndPictureUnderTheirConditions) {
  struct Case {
    const char* what;
    std::int32_t top, left;  // as loaded
    const char* flagAsRead;
    const char* flagNow;
    int changed;
    std::vector<ProfileWrite> writes;
  };
  const ProfileWrite top{"Window", "Top", "200"};
  const ProfileWrite left{"Window", "Left", "-30"};
  const ProfileWrite on{"Picture", "H", "True"};
  const ProfileWrite off{"Picture", "H", "False"};
  const Case cases[] = {
      {"nothing loaded", -1, -1, "False", "False", 0, {}},
      {"one negative", -5, 10, "False", "False", 0, {}},
      {"other negative", 10, -1, "False", "False", 0, {}},
      {"position opt-in", 10, 20, "False", "False", 0, {top, left}},
      {"zero counts", 0, 0, "False", "False", 0, {top, left}},
      {"switched on", -1, -1, "False", "True", 1, {on}},
      {"both", 0, 0, "False", "True", 1, {top, left, on}},
      {"on then off", -1, -1, "False", "False", 0, {}},
      {"file said True, switched off", -1, -1, "True", "False", 0, {off}},
      {"file said True, off and on again", -1, -1, "True", "True", 1, {on}},
      {"file said True, left on", -1, -1, "True", "True", 0, {}},
      {"file said true", -1, -1, "true", "False", 0, {}},
      {"mistyped, on then off", 5, 5, "yes", "False", 0, {top, left}},
  };
  for (const Case& c : cases) {
    Settings s = DefaultSettings();
    s.WindowTop = c.top;
    s.WindowLeft = c.left;
    s.PictureFlag = c.flagNow;
    EXPECT_EQ(CloseWrites(s, c.flagAsRead, c.changed, 200, -30), c.writes) << c.what;
  }
}

TEST(SettingsFilePathFor, BesideTheExecutable) {
  struct Case {
    const wchar_t* exe;
    const wchar_t* ini;
  };
  const Case cases[] = {
      {L"C:\\Tools\\dorvint.exe", L"C:\\Tools\\dorvint.ini"},
      {L"C:\\dorvint.exe", L"C:\\\\dorvint.ini"},  // drive root keeps its separator
      {L"C:\\a\\b\\c\\dorvint.exe", L"C:\\a\\b\\c\\dorvint.ini"},
      {L"\\\\server\\share\\dorvint.exe", L"\\\\server\\share\\dorvint.ini"},
      {L"C:dorvint.exe", L"C:\\dorvint.ini"},
      {L"C:\\\u8868\\dorvint.exe", L"C:\\\u8868\\dorvint.ini"},  // 表: 0x95 0x5C in code page 932
      {L"C:\\caf\u00e9 \u0444\\dorvint.exe", L"C:\\caf\u00e9 \u0444\\dorvint.ini"},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingsFilePathFor(c.exe), c.ini);
}

}  // namespace
}  // namespace dorvint
