#pragma once

#include <stdexcept>
#include <vector>

#include "Settings.h"

// The settings file "dorvint.ini" beside the executable, through the
// platform's profile functions.
namespace dorvint {

// A write to the settings file that the platform refused.  what() is the
// report text: "<path> に書き込めません" in code page 932.
class SettingsWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the settings; an absent or unreadable file gives the defaults.
Settings ReadSettingsFile();

// Makes the writes in order; throws SettingsWriteError at the first refused
// one and skips the rest.
void WriteSettingsFile(const std::vector<ProfileWrite>& writes);

}  // namespace dorvint
