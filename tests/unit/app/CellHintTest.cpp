#include <gtest/gtest.h>

#include <string>

#include "CellHint.h"
#include "Texts.h"

namespace dorvint {
namespace {

ProbeReport Report(ProbeStatus status, std::uint32_t loadError = 0, std::string missingEntry = {}) {
  ProbeReport report;
  report.status = status;
  report.loadError = loadError;
  report.missingEntry = std::move(missingEntry);
  return report;
}

TEST(HintFor, TellsWhyTheCellShowsItsText) {
  using Kind = CellHint::Kind;
  struct Case {
    ProbeReport report;
    Kind kind;
    const char* subject;
    const char* text;
    std::uint32_t code;
  };
  const Case cases[] = {
      {Report(ProbeStatus::Answered), Kind::FilePath, "", "", 0},
      {Report(ProbeStatus::NotLoaded, 126), Kind::Text, "", kNotFoundHint, 0},
      {Report(ProbeStatus::NotLoaded, 2), Kind::Text, "", kNotFoundHint, 0},
      {Report(ProbeStatus::NotLoaded, 193), Kind::Text, "", kNot32BitHint, 0},
      {Report(ProbeStatus::NotLoaded, 1114), Kind::Text, "", kInitFailedHint, 0},
      {Report(ProbeStatus::NotLoaded, 5), Kind::SystemMessage, "", "", 5},
      {Report(ProbeStatus::NotLoaded, 0), Kind::SystemMessage, "", "", 0},
      {Report(ProbeStatus::EntryMissing, 0, "UnZipGetVersion"), Kind::Text, "UnZipGetVersion",
       kEntryMissingHint, 0},
      {Report(ProbeStatus::UnknownName), Kind::Text, "Foo Bar", kUnknownNameHint, 0},
  };
  for (const Case& c : cases) {
    const CellHint hint = HintFor(c.report, "Foo Bar");
    const int status = static_cast<int>(c.report.status);
    EXPECT_EQ(hint.kind, c.kind) << status << " " << c.report.loadError;
    EXPECT_EQ(hint.subject, c.subject) << status;
    EXPECT_STREQ(hint.text, c.text) << status << " " << c.report.loadError;
    EXPECT_EQ(hint.code, c.code) << status;
  }
}

}  // namespace
}  // namespace dorvint
