#include "Listing.h"

#include "Version.h"

namespace dorvint {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace

Command ParseCommand(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return Command::Window;
  if (arguments.size() > 1) return Command::Wrong;
  const std::string option = Lower(arguments[0]);
  if (option.size() < 2 || (option[0] != '/' && option[0] != '-')) return Command::Wrong;
  const std::string word = option.substr(1);
  if (word == "list") return Command::List;
  if (word == "?") return Command::Help;
  return Command::Wrong;
}

std::string UsageText() {
  return "Dorvint " DORVINT_VERSION
         ": versions of the installed archiver libraries\r\n"
         "\r\n"
         "  dorvint          opens the window\r\n"
         "  dorvint /list    prints the table: a line per library with its name,\r\n"
         "                   version and details, separated by tabs\r\n"
         "  dorvint /?       prints this text\r\n"
         "\r\n"
         "Exit code of /list: 0 when every library answered with its version,\r\n"
         "1 when any did not, 2 when the command line is not understood.\r\n";
}

bool ShowsVersion(const std::string& versionText) {
  return !versionText.empty() && versionText != "---" && versionText != "?" &&
         versionText != "< 0.01" && versionText != "Error!";
}

}  // namespace dorvint
