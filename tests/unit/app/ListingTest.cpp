#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Listing.h"
#include "Version.h"

namespace dorvint {
namespace {

TEST(ParseCommand, TellsTheListingFromTheWindowAndFromMistakes) {
  struct Case {
    std::vector<std::string> arguments;
    Command command;
  };
  const Case cases[] = {
      {{}, Command::Window},
      {{"/list"}, Command::List},
      {{"/LIST"}, Command::List},
      {{"-List"}, Command::List},
      {{"/?"}, Command::Help},
      {{"-?"}, Command::Help},
      {{"list"}, Command::Wrong},
      {{"/lis"}, Command::Wrong},
      {{"/listing"}, Command::Wrong},
      {{"/"}, Command::Wrong},
      {{""}, Command::Wrong},
      {{"/list", "/list"}, Command::Wrong},
      {{"/list", "UNLHA32"}, Command::Wrong},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseCommand(c.arguments), c.command)
        << (c.arguments.empty() ? "(none)" : c.arguments[0]) << " of " << c.arguments.size();
  }
}

TEST(ShowsVersion, OnlyTheStatusTextsAndTheEmptyTextAreNoVersion) {
  for (const char* text : {"---", "?", "< 0.01", "Error!", ""}) EXPECT_FALSE(ShowsVersion(text));
  for (const char* text : {"2.67a", "0.00", "9.20.0.02", "-", "error!", "?!"}) {
    EXPECT_TRUE(ShowsVersion(text)) << text;
  }
}

TEST(UsageText, NamesTheVersionAndEveryOption) {
  const std::string usage = UsageText();
  EXPECT_EQ(usage.find(std::string("Dorvint ") + DORVINT_VERSION + ":"), 0u);
  EXPECT_NE(usage.find("/list"), std::string::npos);
  EXPECT_NE(usage.find("/?"), std::string::npos);
}

}  // namespace
}  // namespace dorvint
