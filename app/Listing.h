#pragma once

#include <string>
#include <vector>

// The command line of the console companion, dorvint.com.
namespace dorvint {

enum class Command {
  Window,  // no arguments: open the window
  List,    // "/list": print the table
  Help,    // "/?": print the usage
  Wrong,   // anything else: print the usage, exit code kUsageError
};

// Exit codes of the companion.
constexpr int kEveryVersionShown = 0;
constexpr int kSomeVersionMissing = 1;
constexpr int kUsageError = 2;

// What the arguments (without the program name) ask for.  Options are
// case-insensitive and may start with "/" or "-".
Command ParseCommand(const std::vector<std::string>& arguments);

// The usage text, lines ending in CR LF.
std::string UsageText();

// Whether a version cell text is a version: anything but "---", "?",
// "< 0.01", "Error!" and the empty text.
bool ShowsVersion(const std::string& versionText);

}  // namespace dorvint
