// Archiver libraries that misbehave in their version entry or in their
// initialisation, met by the running program at show and at refresh, several
// times in one run.  Whatever a library does, its row shows a cell text or the
// application reports the fault, the library is unloaded again, and the
// program goes on working.

#include <gtest/gtest.h>

#include <ostream>
#include <regex>
#include <string>
#include <string_view>

#include "Driver_win.h"
#include "ProgramTest_win.h"

namespace dorvint::window {
namespace {

// The rows around the misbehaving one: row 1 answers anew before each pass,
// so that a pass that reached it shows; row 25 comes after every library
// below, so that a pass ended by a fault leaves it as it was.
constexpr const wchar_t* kFirst = L"Unlha32.dll";
constexpr const wchar_t* kLast = L"winex32.dll";
constexpr int kLastRow = 25;

struct Misbehaviour {
  const char* name;
  const wchar_t* file;  // the library that misbehaves
  int row;              // its row in the default list
  const char* config;
  // The error report's message (a pattern), or none when the row shows `cell`.
  const wchar_t* report;
  const wchar_t* cell;
};

// Names the case in a failure message.
void PrintTo(const Misbehaviour& misbehaviour, std::ostream* out) { *out << misbehaviour.name; }

// 256 of the 4096 letters the stand-in writes into the text buffer: a text
// is at most 256 bytes long.
const std::wstring kLetters = [] {
  std::wstring letters;
  for (int i = 0; i < 256; ++i) letters += static_cast<wchar_t>(L'A' + i % 26);
  return letters;
}();

// A message ending in a quote gets no full stop.
const Misbehaviour kMisbehaviours[] = {
    {"ReadsAddressZero", L"Unzip32.dll", 4, "fault=av-read\n",
     L"Access violation at address [0-9A-F]{8} in module 'Unzip32\\.dll'\\. "
     L"Read of address 00000000\\.",
     nullptr},
    {"WritesNearAddressZero", L"Unzip32.dll", 4, "fault=av-write\n",
     L"Access violation at address [0-9A-F]{8} in module 'Unzip32\\.dll'\\. "
     L"Write of address 00000010\\.",
     nullptr},
    {"ExecutesAddressZero", L"Unzip32.dll", 4, "fault=av-exec\n",
     L"Access violation at address 00000000\\. Execute of address 00000000\\.", nullptr},
    {"ExecutesAnIllegalInstruction", L"Unzip32.dll", 4, "fault=illegal\n",
     L"Illegal instruction at address [0-9A-F]{8} in module 'Unzip32\\.dll'", nullptr},
    {"ExecutesAPrivilegedInstruction", L"Unzip32.dll", 4, "fault=privileged\n",
     L"Privileged instruction at address [0-9A-F]{8} in module 'Unzip32\\.dll'", nullptr},
    {"DividesByZero", L"Unzip32.dll", 4, "fault=div0\n",
     L"Division by zero at address [0-9A-F]{8} in module 'Unzip32\\.dll'", nullptr},
    {"OverflowsTheStack", L"Unzip32.dll", 4, "fault=stack\n",
     L"Stack overflow at address [0-9A-F]{8} in module 'Unzip32\\.dll'", nullptr},
    // The address is in RaiseException, a system module.
    {"RaisesAnException", L"Unzip32.dll", 4, "fault=raise\n",
     L"External exception E0441234 at address [0-9A-F]{8} in module '[^']+\\.dll'", nullptr},
    // The program must not take over an exception the library handles itself.
    {"HandlesItsOwnException", L"Unzip32.dll", 4, "fault=handled\nmain=123\n", nullptr, L"1.23"},
    {"FillsTheWholeTextBuffer", L"Nkf32.dll", 24, "fill=4096\n", nullptr, kLetters.c_str()},
    {"FaultsInTheTextEntry", L"Nkf32.dll", 24, "fault=av-write\n",
     L"Access violation at address [0-9A-F]{8} in module 'Nkf32\\.dll'\\. "
     L"Write of address 00000010\\.",
     nullptr},
    // Wine's loader catches a fault in a library's initialisation and fails
    // the load; a fault while the library is unloaded ends the unloading
    // quietly after the version was read.
    {"FaultsWhenLoaded", L"Unzip32.dll", 4, "dllmain=fault-attach\nmain=123\n", nullptr, L"---"},
    {"FailsToInitialise", L"Unzip32.dll", 4, "dllmain=fail\nmain=123\n", nullptr, L"---"},
    {"FaultsWhenUnloaded", L"Unzip32.dll", 4, "dllmain=fault-detach\nmain=123\n", nullptr, L"1.23"},
};

class MisbehavingLibrary : public ProgramTest, public testing::WithParamInterface<Misbehaviour> {
 protected:
  // Rows 1 and 25 answer anew, so that a pass that reached them shows:
  // 2.71a and 6.01 for the first pass, 2.72a and 6.02 for the next, ...
  struct Answers {
    std::wstring first;
    std::wstring last;
  };
  Answers AnswerAnew() {
    ++passes_;
    Configure(kFirst, "main=" + std::to_string(270 + passes_) + "\nsub=100\n");
    Configure(kLast, "main=" + std::to_string(600 + passes_) + "\n");
    return {L"2." + std::to_wstring(70 + passes_) + L"a", L"6.0" + std::to_wstring(passes_)};
  }

  void ExpectUnloaded() const {
    const Misbehaviour& library = GetParam();
    EXPECT_FALSE(program_->HasLoaded(library.file)) << "the library is still loaded";
  }

  // Expects the error report of the library's fault, with the library
  // already unloaded, and closes it.
  void ExpectReportAndDismiss() const {
    const HWND box = program_->WaitForMessageBox();
    ExpectErrorReport(box, std::wregex(GetParam().report));
    ExpectUnloaded();
    PressOk(box);
    EXPECT_TRUE(WaitUntil([&] { return !program_->HasMessageBox(); }));
  }

 private:
  int passes_ = 0;
};

TEST_P(MisbehavingLibrary, IsSurvivedAtShowAndAtEveryRefresh) {
  const Misbehaviour& library = GetParam();
  Install(kFirst, "main=270\nsub=100\n");
  Install(library.file, library.config);
  Install(kLast, "main=500\n");
  Launch(folder_.Path());

  // At show: the fault ends the pass at the library's row.
  if (library.report) {
    ExpectReportAndDismiss();
    WaitForWindow();
    EXPECT_EQ(L"", Version(library.row));
    EXPECT_EQ(L"", Version(kLastRow));
  } else {
    WaitForWindow();
    EXPECT_EQ(library.cell, Version(library.row));
    EXPECT_EQ(L"5.00", Version(kLastRow));
    ExpectUnloaded();
  }
  EXPECT_EQ(L"2.70a", Version(1));

  // At refresh, three times in a row.
  for (int pass = 1; pass <= 3; ++pass) {
    SCOPED_TRACE(testing::Message() << "refresh " << pass);
    const Answers answers = AnswerAnew();
    Refresh();
    if (library.report) {
      ExpectReportAndDismiss();
      EXPECT_EQ(answers.first, Version(1));
      EXPECT_EQ(L"", Version(library.row));
      EXPECT_EQ(L"", Version(kLastRow));
    } else {
      EXPECT_EQ(answers.last, WaitForText(VersionCell(kLastRow), answers.last));
      EXPECT_EQ(answers.first, Version(1));
      EXPECT_EQ(library.cell, Version(library.row));
      ExpectUnloaded();
    }
  }

  // Mended, the library answers at the next refresh, and so do the rows
  // after it.
  Configure(library.file, "main=101\ntext=1.01\n");
  const Answers answers = AnswerAnew();
  Refresh();
  EXPECT_EQ(answers.last, WaitForText(VersionCell(kLastRow), answers.last));
  EXPECT_EQ(L"1.01", Version(library.row));
  EXPECT_FALSE(program_->HasMessageBox());
  ExpectUnloaded();
  CloseAndWaitForExit();
}

INSTANTIATE_TEST_SUITE_P(Kinds, MisbehavingLibrary, testing::ValuesIn(kMisbehaviours),
                         [](const testing::TestParamInfo<Misbehaviour>& kind) {
                           return std::string(kind.param.name);
                         });

}  // namespace
}  // namespace dorvint::window
