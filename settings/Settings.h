#pragma once

#include <array>
#include <cstdint>
#include <string>

// The values the program reads from its settings file, with their defaults.
namespace dorvint {

constexpr int kDisplayNameCount = 26;

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

}  // namespace dorvint
