// Settings files edited into shapes nobody planned: huge, binary, with zero
// bytes, in other encodings, with overlong lines and values, too many or
// repeated keys and sections, quotes, blanks and bare line feeds.  Whatever
// the file holds, the program starts, lists the names it can read and the
// defaults for the rest, ends normally, and leaves the file as it was apart
// from the values it writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "Driver_win.h"
#include "ProgramTest_win.h"

namespace dorvint::window {
namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr char kUtf16Bom[] = "\xFF\xFE";

// A file of these lines with the line ends Windows editors write.
std::string CrLf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) text.append(line).append("\r\n");
  return text;
}

// Plain ASCII text as UTF-16LE with its byte order mark.
std::string Utf16(std::string_view text) {
  std::string bytes = kUtf16Bom;
  for (char c : text) bytes.append({c, '\0'});
  return bytes;
}

// `size` bytes of every value, the same ones at every run.
std::string Garbage(std::size_t size) {
  std::string bytes;
  std::uint32_t state = 2024;
  while (bytes.size() < size) {
    state = state * 1103515245u + 12345u;
    bytes += static_cast<char>(state >> 23);
  }
  return bytes;
}

// A text of `size` characters that shows where it was cut.
std::string Digits(std::size_t size) {
  std::string text;
  while (text.size() < size) text += static_cast<char>('0' + text.size() % 10);
  return text;
}

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// `first`, then the default names from entry first.size() + 1 on.
std::vector<std::wstring> NamesThenDefaults(std::initializer_list<const wchar_t*> first) {
  std::vector<std::wstring> names(first.begin(), first.end());
  for (int n = static_cast<int>(names.size()) + 1; n <= kDefaultRowCount; ++n) {
    names.emplace_back(kDefaultRows[n - 1].name);
  }
  return names;
}

// The text the profile functions see in a file's bytes: without an encoding
// mark, and UTF-16LE turned into UTF-8, so that ProfileLines can read it.
std::string ProfileText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return std::string(bytes.substr(3));
  if (!bytes.starts_with(kUtf16Bom)) return std::string(bytes);
  std::wstring wide((bytes.size() - 2) / 2, L'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                   static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
  }
  const int size = static_cast<int>(wide.size());
  std::string text(WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), static_cast<int>(text.size()),
                      nullptr, nullptr);
  return text;
}

// The encoding mark a file's bytes begin with, if any.
std::string_view EncodingMark(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return kUtf8Bom;
  if (bytes.starts_with(kUtf16Bom)) return kUtf16Bom;
  return {};
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool IsSection(std::string_view line) { return line.starts_with('[') && line.ends_with(']'); }

// ProfileLines of a file once `key` in `section` is set to `value`: the first
// section of that name (in any letter case) takes it, in the first line with
// that key, or after its last line when it has none; a file without the
// section gets the section at its end.
std::vector<std::string> WithValue(std::vector<std::string> lines, std::string_view section,
                                   std::string_view key, std::string_view value) {
  const std::string header = "[" + std::string(section) + "]";
  auto line = lines.begin();
  while (line != lines.end() && !SameIgnoringCase(*line, header)) ++line;
  if (line == lines.end()) {
    lines.push_back(header);
    lines.push_back(std::string(key) + "=" + std::string(value));
    return lines;
  }
  for (++line; line != lines.end() && !IsSection(*line); ++line) {
    const auto equals = line->find('=');
    if (equals != std::string::npos && SameIgnoringCase(line->substr(0, equals), key)) {
      *line = line->substr(0, equals + 1) + std::string(value);
      return lines;
    }
  }
  lines.insert(line, std::string(key) + "=" + std::string(value));
  return lines;
}

class MisbehavingSettings : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Install(L"7-zip32.dll", "main=920\nsub=2\n");
  }

  // The rows hold `names`, each 7-zip32 row with its version, and the row
  // after the last is hidden.
  void ExpectRows(const std::vector<std::wstring>& names) const {
    const int rowCount = static_cast<int>(names.size());
    EXPECT_EQ(20 * rowCount + 61, BoxOf(main_).height);
    for (int n = 1; n <= rowCount; ++n) {
      SCOPED_TRACE(testing::Message() << "row " << n);
      EXPECT_EQ(names[n - 1], TextOf(NameCell(n)));
      if (names[n - 1] == L"7-ZIP32") {
        EXPECT_EQ(L"9.20.0.02", Version(n));
      }
    }
    if (rowCount < kRows) {
      EXPECT_FALSE(IsShown(NameCell(rowCount + 1)));
      EXPECT_FALSE(IsShown(VersionCell(rowCount + 1)));
    }
  }

  // Switches the picture strip on, so that the close writes its flag.
  void SwitchPictureOn() const {
    const int height = BoxOf(main_).height;
    ASSERT_TRUE(SwitchStripTo(height + 90));
  }
};

// --- Files without position memory: a close writes only the picture flag

struct FileCase {
  const char* name;
  std::string content;                // the file's bytes
  std::vector<std::wstring> rows;     // the names listed, as shown
  std::optional<POINT> opensAt = {};  // left and top, when the file places the window
  // Where the profile writer changes more than the flag: the lines it keeps
  // from the line `keptFrom` on, or all the lines it writes, `saved`.
  std::string keptFrom = {};
  std::vector<std::string> saved = {};
};
std::ostream& operator<<(std::ostream& out, const FileCase& c) { return out << c.name; }

class UnusualFile : public MisbehavingSettings, public testing::WithParamInterface<FileCase> {};

TEST_P(UnusualFile, ListsWhatItCanReadAndKeepsTheRestOfTheFile) {
  const FileCase& file = GetParam();
  WriteSettings(file.content);

  Start();
  ExpectRows(file.rows);
  if (file.opensAt) {
    EXPECT_EQ(file.opensAt->x, BoxOf(main_).left);
    EXPECT_EQ(file.opensAt->y, BoxOf(main_).top);
  }
  CloseAndWaitForExit();
  // Nothing to save: the file is not touched.
  EXPECT_TRUE(ReadTextFile(SettingsPath()) == file.content) << "the file changed";

  Start();
  SwitchPictureOn();
  CloseAndWaitForExit();
  const std::string saved = ReadTextFile(SettingsPath());
  EXPECT_EQ(EncodingMark(file.content), EncodingMark(saved));
  if (!file.saved.empty()) {
    EXPECT_EQ(file.saved, ProfileLines(saved));
    return;
  }
  const auto kept = [&](std::vector<std::string> lines) {
    if (file.keptFrom.empty()) return lines;
    return std::vector<std::string>(std::find(lines.begin(), lines.end(), file.keptFrom),
                                    lines.end());
  };
  EXPECT_EQ(kept(WithValue(ProfileLines(ProfileText(file.content)), "Picture", "H", "True")),
            kept(ProfileLines(ProfileText(saved))));
}

// Names for the forty keys of a Display section that has too many.
std::string FortyKeys() {
  std::string section = "[Display]\r\n1=7-ZIP32\r\n";
  for (int n = 2; n <= 40; ++n) section += std::to_string(n) + "=Name" + std::to_string(n) + "\r\n";
  return section;
}
std::vector<std::wstring> TwentySixOfFortyKeys() {
  std::vector<std::wstring> names{L"7-ZIP32"};
  for (int n = 2; n <= kRows; ++n) names.push_back(L"Name" + std::to_wstring(n));
  return names;
}

// A 10 MB file whose Display section comes last.
std::string TenMegabytes() {
  std::string text = CrLf({"; a settings file grown big", "[Filler]"});
  const std::string filler = Digits(90);
  for (int n = 1; text.size() < 10'000'000; ++n) {
    text += "line" + std::to_string(n) + "=" + filler + "\r\n";
  }
  return text + CrLf({"[Display]", "1=7-ZIP32", "2=TAR32", "3="});
}

// The Display section most cases list.
const std::string kTwoRows = CrLf({"[Display]", "1=7-ZIP32", "2=TAR32", "3="});

INSTANTIATE_TEST_SUITE_P(
    Files, UnusualFile,
    testing::Values(
        FileCase{"TenMegabytes", TenMegabytes(), {L"7-ZIP32", L"TAR32"}, std::nullopt},
        // The profile functions read the file as text in the ANSI code page
        // and write it back as such: under code page 932 an invalid
        // double-byte pair comes back as U+30FB, and a line ends at its
        // first zero byte.  The program cannot keep bytes that are not
        // text through them; what follows the garbage is kept.
        FileCase{.name = "BinaryGarbage",
                 .content = Garbage(4096),
                 .rows = NamesThenDefaults({}),
                 .keptFrom = "[Picture]"},
        // The "x" ends the garbage: a lead byte of a double-byte code page
        // swallows the byte after it, which would otherwise be the line end.
        FileCase{.name = "GarbageBeforeTheSections",
                 .content = Garbage(4096) + "x\r\n" + kTwoRows,
                 .rows = {L"7-ZIP32", L"TAR32"},
                 .keptFrom = "[Display]"},
        // The profile writer keeps each line only up to its first zero byte.
        FileCase{.name = "ZeroBytesBeforeTheSection",
                 .content = CrLf({std::string_view("; hidden\0after a zero byte", 26)}) + kTwoRows,
                 .rows = {L"7-ZIP32", L"TAR32"},
                 .saved = {"; hidden", "[Display]", "1=7-ZIP32", "2=TAR32", "3=", "[Picture]",
                           "H=True"}},
        // A zero byte before the section's header makes it a line like any
        // other, and the keys below belong to the section above.
        FileCase{
            .name = "ZeroByteBeforeTheHeader",
            .content = CrLf({"[Notes]", std::string_view("\0[Display]", 10), "1=7-ZIP32", "2="}),
            .rows = NamesThenDefaults({}),
            .saved = {"[Notes]", "1=7-ZIP32", "2=", "[Picture]", "H=True"}},
        // A value ends at a zero byte, and so does a key's name.
        FileCase{.name = "ZeroBytesInTheSection",
                 .content = CrLf({"[Display]", std::string_view("1=7-ZIP32\0UNLHA32", 17),
                                  std::string_view("2\0x=TA\0R32", 10), "3="}),
                 .rows = {L"7-ZIP32", L"TA"},
                 .saved = {"[Display]", "1=7-ZIP32", "2=TA", "3=", "[Picture]", "H=True"}},
        FileCase{"Utf16WithMark", Utf16(kTwoRows), {L"7-ZIP32", L"TAR32"}, std::nullopt},
        FileCase{"Utf8WithMark", kUtf8Bom + kTwoRows, {L"7-ZIP32", L"TAR32"}, std::nullopt},
        FileCase{"LineOf100000Characters",
                 CrLf({"[Notes]", "long=" + Digits(100'000)}) + kTwoRows,
                 {L"7-ZIP32", L"TAR32"},
                 std::nullopt},
        // Values are read into a buffer of 2048 characters, of which the
        // profile functions fill 2047 and a terminating zero: the name cell
        // shows the first 2047 characters, and an integer is converted from
        // its first 2047 characters, here all zeros of 4998 followed by 12.
        FileCase{"ValuesOf5000Characters",
                 CrLf({"[Display]", "1=" + Digits(5000), "2=7-ZIP32", "3=", "[Window]",
                       "Top=" + std::string(4998, '0') + "12", "Left=-1"}),
                 {Wide(Digits(2047)), L"7-ZIP32"},
                 POINT{-1, 0}},
        FileCase{"FortyDisplayKeys", FortyKeys(), TwentySixOfFortyKeys(), std::nullopt},
        // The first section of a name and the first key of a name count.
        FileCase{"DuplicateSections",
                 CrLf({"[Display]", "1=7-ZIP32", "[Display]", "1=TAR32", "2="}),
                 NamesThenDefaults({L"7-ZIP32"}), std::nullopt},
        FileCase{"DuplicateKeys",
                 CrLf({"[Display]", "1=7-ZIP32", "2=TAR32", "1=ISH32", "3=", "2="}),
                 {L"7-ZIP32", L"TAR32"},
                 std::nullopt},
        // Matching quotes around a whole value go; a lone quote stays, and
        // a pair of quotes is an empty value.
        FileCase{"ValuesInQuotes",
                 CrLf({"[Display]", "1=\"7-ZIP32\"", "2='TAR32'", "3=\" ISH32\"", "4=\"UNZIP32",
                       "5=\"\"", "6=CAB32", "[Window]", "Top=\"15\"", "Left='-5'"}),
                 {L"7-ZIP32", L"TAR32", L" ISH32", L"\"UNZIP32"},
                 POINT{-5, 15}},
        FileCase{"BlanksAroundEquals",
                 CrLf({"[Display]", "  1 = 7-ZIP32  ", "\t2\t=\tTAR32\t", "3 =", "[Window]",
                       "Top = 15", "Left =\t-5"}),
                 {L"7-ZIP32", L"TAR32"},
                 POINT{-5, 15}},
        FileCase{"LineFeedsOnly",
                 "; edited elsewhere\n[Display]\n1=7-ZIP32\n2=TAR32\n3=\n",
                 {L"7-ZIP32", L"TAR32"},
                 std::nullopt}),
    [](const testing::TestParamInfo<FileCase>& file) { return std::string(file.param.name); });

// --- Files with position memory: a close writes the position

struct MemoryCase {
  const char* name;
  std::string content;
  POINT opensAt;  // left and top
};
std::ostream& operator<<(std::ostream& out, const MemoryCase& c) { return out << c.name; }

class PositionInUnusualFile : public MisbehavingSettings,
                              public testing::WithParamInterface<MemoryCase> {};

TEST_P(PositionInUnusualFile, IsSavedWhereItWasRead) {
  const MemoryCase& file = GetParam();
  WriteSettings(file.content);
  Start();
  EXPECT_EQ(file.opensAt.x, BoxOf(main_).left);
  EXPECT_EQ(file.opensAt.y, BoxOf(main_).top);

  const Box moved = DragTitleBy(40, 30);
  SwitchPictureOn();
  CloseAndWaitForExit();

  std::vector<std::string> expected = ProfileLines(file.content);
  expected = WithValue(expected, "Window", "Top", std::to_string(moved.top));
  expected = WithValue(expected, "Window", "Left", std::to_string(moved.left));
  expected = WithValue(expected, "Picture", "H", "True");
  EXPECT_EQ(expected, SavedLines());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PositionInUnusualFile,
    testing::Values(
        MemoryCase{"DuplicateSections",
                   CrLf({"[Window]", "Top=10", "Left=20", "[Picture]", "H=False", "[Window]",
                         "Top=300", "Left=400", "[picture]", "H=False"}),
                   {20, 10}},
        MemoryCase{"DuplicateKeys",
                   CrLf({"[Window]", "Top=10", "top=300", "Left=20", "Left=400", "Top=500"}),
                   {20, 10}},
        MemoryCase{"ValuesInQuotes", CrLf({"[Window]", "Top=\"10\"", "Left='20'"}), {20, 10}},
        MemoryCase{
            "BlanksAroundEquals", CrLf({"[Window]", " Top = 10 ", "\tLeft\t=\t20"}), {20, 10}},
        MemoryCase{
            "LineFeedsOnly", "[Window]\nTop=10\n; a comment\nLeft=20\n[Notes]\nx=1\n", {20, 10}}),
    [](const testing::TestParamInfo<MemoryCase>& file) { return std::string(file.param.name); });

// --- Names that look like paths

TEST_F(MisbehavingSettings, NamesLikePathsShowErrorAndLoadNothing) {
  // A library these names would reach if they were used as file names.
  Install(L"Unlha32.dll", "main=267\n");
  const std::wstring besideWide = folder_.File(L"Unlha32.dll");
  const std::string beside(besideWide.begin(), besideWide.end());
  const std::vector<std::string> names{"..\\Unlha32", "C:\\x\\Unlha32.dll", ".\\Unlha32.dll",
                                       "Unlha32.dll", beside};
  std::string settings = "[Display]\r\n";
  for (std::size_t n = 1; n <= names.size(); ++n) {
    settings += std::to_string(n) + "=" + names[n - 1] + "\r\n";
  }
  WriteSettings(settings + std::to_string(names.size() + 1) + "=\r\n");

  Start();
  for (int n = 1; n <= static_cast<int>(names.size()); ++n) {
    SCOPED_TRACE(testing::Message() << "row " << n);
    EXPECT_EQ(Wide(names[n - 1]), TextOf(NameCell(n)));
    EXPECT_EQ(L"Error!", Version(n));
  }
  EXPECT_FALSE(program_->HasLoaded(L"Unlha32.dll"));
  CloseAndWaitForExit();
  // A loaded stand-in would have been asked for its version.
  EXPECT_FALSE(Called(L"Unlha32.dll"));
}

}  // namespace
}  // namespace dorvint::window
