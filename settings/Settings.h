#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The values the program reads from its settings file, their defaults, and
// the rules for reading and writing them.  The file itself is reached through
// the platform's profile functions (Settings_win.cpp).
namespace dorvint {

constexpr int kDisplayNameCount = 26;
// Text values are read into a buffer of this many characters, the
// terminating zero included.
constexpr int kProfileValueBuffer = 2048;

struct Settings {
  // Display list, entries 1 to 26 at indices 0 to 25; narrow texts in the
  // ANSI code page.  The list ends at its first empty entry.
  std::array<std::string, kDisplayNameCount> DisplayNames;
  std::string SubVersionType;  // "A" letters, "N" numbers, else main only
  std::int32_t WindowTop;
  std::int32_t WindowLeft;
  std::string PictureFlag;  // the picture strip is on when exactly "True"
};

// The values used where the settings file says nothing.
Settings DefaultSettings();

// Read access to the settings file.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  // The text of `key` in `section`, or `fallback` when either is absent.
  virtual std::string Read(const char* section, const char* key, const std::string& fallback) = 0;
};

// Reads every value, in the file's documented order; absent values take their
// defaults and loading never fails.
Settings LoadSettings(ProfileReader& reader);

// The integer an integer value's text stands for, or nothing when it is not
// one: optional leading blanks, then decimal digits with an optional sign, or
// a hexadecimal prefix ("$", "x", "X", "0x", "0X") and at most 8 significant
// hexadecimal digits read as a signed 32-bit pattern.
std::optional<std::int32_t> ParseProfileInt(std::string_view text);

// An integer value read from the file: its text converted, or -1 when the
// conversion fails.
std::int32_t ProfileIntOrDefault(std::string_view text);

// One value written at close.
struct ProfileWrite {
  std::string section;
  std::string key;
  std::string value;
  bool operator==(const ProfileWrite&) const = default;
};

// What the close writes, in order.  `pictureFlagAsRead` is the picture flag
// as it was loaded; `pictureChanged` is 1 when the strip was switched on in
// this run.  The window position is saved only when both loaded values are 0
// or more; the picture flag when it was switched on, and "False" when the file
// said "True" and the strip is off at close, so that switching it off sticks.
std::vector<ProfileWrite> CloseWrites(const Settings& settings,
                                      const std::string& pictureFlagAsRead, int pictureChanged,
                                      std::int32_t currentTop, std::int32_t currentLeft);

// The settings file for the executable at `exePath`: "dorvint.ini" in the
// executable's folder.  A drive root keeps its separator, so an executable at
// "C:\dorvint.exe" gives "C:\\dorvint.ini", which the platform accepts.
std::wstring SettingsFilePathFor(const std::wstring& exePath);

}  // namespace dorvint
