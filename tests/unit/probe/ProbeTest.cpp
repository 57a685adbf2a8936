#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "Probe.h"

namespace dorvint {
namespace {

// A library as the fake loader sees it: its exported entries with the raw
// results they return (ignored for the buffer-filling entry), and the text
// that entry writes.
struct FakeDll {
  std::map<std::string, std::uint32_t> numbers;
  std::string text;             // written by a text entry
  std::size_t textBytes = 0;    // when non-zero, this many 'x' bytes instead
  std::string faultingEntry;    // this entry raises a fault
  std::uint32_t loadError = 0;  // when non-zero, the load fails with this code
};

FakeDll Exports(std::map<std::string, std::uint32_t> numbers) {
  FakeDll dll;
  dll.numbers = std::move(numbers);
  return dll;
}

FakeDll TextDll(std::string text) {
  FakeDll dll = Exports({{"GetNkfVersion", 0}});
  dll.text = std::move(text);
  return dll;
}

struct Journal {
  std::vector<std::string> events;  // "load X", "call E", "free X"
};

class FakeLibrary final : public LoadedLibrary {
 public:
  FakeLibrary(std::string file, const FakeDll& dll, Journal& journal)
      : file_(std::move(file)), dll_(dll), journal_(journal) {}
  ~FakeLibrary() override { journal_.events.push_back("free " + file_); }

  std::wstring FilePath() const override {
    return L"C:\\dlls\\" + std::wstring(file_.begin(), file_.end());
  }

  const void* FindEntry(const char* name) override {
    return dll_.numbers.contains(name) ? Remember(name) : nullptr;
  }
  std::uint32_t CallNumberEntry(const void* entry) override {
    const std::string name = Call(entry);
    return dll_.numbers.at(name);
  }
  void CallTextEntry(const void* entry, char* buffer) override {
    Call(entry);
    if (dll_.textBytes) {
      std::memset(buffer, 'x', dll_.textBytes);
    } else {
      std::memcpy(buffer, dll_.text.c_str(), dll_.text.size() + 1);
    }
  }

 private:
  const void* Remember(const std::string& name) {
    names_.push_back(name);
    return &names_.back();
  }
  std::string Call(const void* entry) {
    std::string name = *static_cast<const std::string*>(entry);
    journal_.events.push_back("call " + name);
    if (name == dll_.faultingEntry) throw LibraryFault("fault in " + name);
    return name;
  }

  std::string file_;
  const FakeDll& dll_;
  Journal& journal_;
  std::deque<std::string> names_;
};

class FakeLoader final : public LibraryLoader {
 public:
  std::map<std::string, FakeDll> files;
  Journal journal;

  std::unique_ptr<LoadedLibrary> Load(const char* fileName) override {
    journal.events.push_back(std::string("load ") + fileName);
    const auto found = files.find(fileName);
    lastError_ = found == files.end() ? kNotFound : found->second.loadError;
    if (lastError_ != 0) return nullptr;
    return std::make_unique<FakeLibrary>(fileName, found->second, journal);
  }
  std::uint32_t LastError() const override { return lastError_; }

  static constexpr std::uint32_t kNotFound = 126;

 private:
  std::uint32_t lastError_ = 0;
};

struct RuleCase {
  const char* name;
  const char* type;
  const char* file;
  FakeDll dll;
  const char* expected;
};

TEST(ProbeDllVersion, BuildsTheTextByTheCatalogueRule) {
  const RuleCase cases[] = {
      // plain, 16-bit: only the low 16 bits count
      {"UNZIP32", "A", "Unzip32.dll", Exports({{"UnZipGetVersion", 267}}), "2.67"},
      {"UNZIP32", "A", "Unzip32.dll", Exports({{"UnZipGetVersion", 0x10000 + 540}}), "5.40"},
      // plain, 32-bit: the whole value, signed
      {"BZ2LIB", "A", "Bz2lib.dll", Exports({{"BZ2GetVersion", 0x10000 + 540}}), "660.76"},
      {"BZ2LIB", "A", "Bz2lib.dll", Exports({{"BZ2GetVersion", 0xFFFFFFFBu}}), "0.0-5"},
      {"unrar", "A", "Unrar.dll", Exports({{"RARGetDllVersion", 4}}), "0.04"},
      // main with suffix
      {"UNLHA32", "A", "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}}), "2.67a"},
      {"UNLHA32", "N", "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}}), "2.67.1"},
      {"UNLHA32", "X", "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}}), "2.67"},
      {"UNLHA32", "a", "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}}), "2.67"},
      {"UNLHA32", "", "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}}), "2.67"},
      {"UNLHA32", "A", "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 0}}), "2.67"},
      {"UNLHA32", "N", "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 0}}), "2.67"},
      {"UNLHA32", "A", "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 0x10000 + 200}}), "2.67b"},
      {"UNARJ32J", "A", "Unarj32j.dll", Exports({{"UnarjGetVersion", 300}}),
       "3.00"},  // no sub entry
      {"UnGCA32", "N", "Ungca32.dll",
       Exports({{"UnGCAGetVersion", 110}, {"UnGCAGetSubVersion", 5}}), "1.10.0.5"},
      // unimp form
      {"unimp32", "A", "Unimp32.dll", Exports({{"UnimpGetVersion", 123}}), "1.2.3"},
      {"unimp32", "X", "Unimp32.dll", Exports({{"UnimpGetVersion", 123}}), "1.2.3"},
      {"unimp32", "A", "Unimp32.dll",
       Exports({{"UnimpGetVersion", 123}, {"UnimpGetSubVersion", 4}}), "1.23.4"},
      {"unimp32", "N", "Unimp32.dll",
       Exports({{"UnimpGetVersion", 123}, {"UnimpGetSubVersion", 100}}), "1.23"},
      {"unimp32", "X", "Unimp32.dll",
       Exports({{"UnimpGetVersion", 123}, {"UnimpGetSubVersion", 4}}), "1.23"},
      // compound
      {"7-zip32", "A", "7-zip32.dll",
       Exports({{"SevenZipGetVersion", 920}, {"SevenZipGetSubVersion", 2}}), "9.20.0.02"},
      {"7-ZIP32", "N", "7-zip32.dll",
       Exports({{"SevenZipGetVersion", 920}, {"SevenZipGetSubVersion", 2}}), "9.20.0.02"},
      {"7-zip32", "X", "7-zip32.dll",
       Exports({{"SevenZipGetVersion", 920}, {"SevenZipGetSubVersion", 2}}), "9.20"},
      {"7-zip32", "A", "7-zip32.dll", Exports({{"SevenZipGetVersion", 920}}), "9.20"},
      // missing main entry
      {"UNZIP32", "A", "Unzip32.dll", Exports({{"SomethingElse", 1}}), "?"},
      {"unrar", "A", "Unrar.dll", Exports({{"SomethingElse", 1}}), "< 0.01"},
      {"UNLHA32", "A", "Unlha32.dll", Exports({{"UnlhaGetSubVersion", 100}}), "?"},
      // text entry
      {"NKF32", "A", "Nkf32.dll", TextDll("2.1.5"), "2.1.5"},
  };
  for (const RuleCase& c : cases) {
    FakeLoader loader;
    loader.files[c.file] = c.dll;
    EXPECT_EQ(ProbeDllVersion(c.name, c.type, loader), c.expected) << c.name << " " << c.type;
    EXPECT_EQ(loader.journal.events.back(), std::string("free ") + c.file) << c.name;
  }
}

TEST(ProbeDllVersion, StatusTextsWithoutALibrary) {
  FakeLoader loader;
  EXPECT_EQ(ProbeDllVersion("UNLHA32", "A", loader), "---");
  EXPECT_EQ(ProbeDllVersion("unrar", "A", loader), "---");
  for (const char* unknown : {" UNLHA32", "", "unlha", "Unlha32.dll", "..\\Unlha32"}) {
    EXPECT_EQ(ProbeDllVersion(unknown, "A", loader), "Error!") << unknown;
  }
  // Unknown names load nothing.
  EXPECT_EQ(loader.journal.events,
            (std::vector<std::string>{"load Unlha32.dll", "load Unrar.dll"}));
}

TEST(ProbeDllVersion, AnyLetterCaseLoadsTheCataloguedFile) {
  FakeLoader loader;
  loader.files["Unlha32.dll"] = Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}});
  for (const char* name : {"UNLHA32", "Unlha32", "unlha32"}) {
    EXPECT_EQ(ProbeDllVersion(name, "A", loader), "2.67a");
  }
}

TEST(ProbeDllVersion, CallsEachEntryOnceInTheRuleOrder) {
  struct OrderCase {
    const char* name;
    const char* file;
    FakeDll dll;
    std::vector<std::string> events;
  };
  const OrderCase cases[] = {
      {"UNLHA32",
       "Unlha32.dll",
       Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}}),
       {"load Unlha32.dll", "call UnlhaGetSubVersion", "call UnlhaGetVersion", "free Unlha32.dll"}},
      {"unimp32",
       "Unimp32.dll",
       Exports({{"UnimpGetVersion", 123}, {"UnimpGetSubVersion", 4}}),
       {"load Unimp32.dll", "call UnimpGetSubVersion", "call UnimpGetVersion", "free Unimp32.dll"}},
      {"7-zip32",
       "7-zip32.dll",
       Exports({{"SevenZipGetVersion", 920}, {"SevenZipGetSubVersion", 2}}),
       {"load 7-zip32.dll", "call SevenZipGetVersion", "call SevenZipGetSubVersion",
        "free 7-zip32.dll"}},
  };
  for (const OrderCase& c : cases) {
    FakeLoader loader;
    loader.files[c.file] = c.dll;
    ProbeDllVersion(c.name, "A", loader);
    EXPECT_EQ(loader.journal.events, c.events) << c.name;
  }
}

TEST(ProbeDllVersion, TextEntryTakesAtMost256BytesUpToTheFirstZero) {
  FakeLoader loader;
  FakeDll& nkf = loader.files["Nkf32.dll"];
  nkf.numbers["GetNkfVersion"] = 0;
  nkf.textBytes = 256;
  EXPECT_EQ(ProbeDllVersion("NKF32", "A", loader), std::string(256, 'x'));
  nkf.textBytes = 4096;  // a library that overruns: still 256 bytes, nothing corrupted
  EXPECT_EQ(ProbeDllVersion("NKF32", "A", loader), std::string(256, 'x'));
  nkf.textBytes = 0;
  nkf.text = "v\xFF\x82\xA0 2";  // any bytes, shown unchanged
  EXPECT_EQ(ProbeDllVersion("NKF32", "A", loader), "v\xFF\x82\xA0 2");
}

TEST(ProbeDllVersion, EmptyTextOnlyFromTheTextEntry) {
  FakeLoader loader;
  loader.files["Nkf32.dll"] = TextDll("");  // writes nothing
  EXPECT_EQ(ProbeDllVersion("NKF32", "A", loader), "");
}

TEST(ProbeDllVersion, AFaultReleasesTheLibraryOnceAndPassesOn) {
  for (const char* faulting : {"UnlhaGetSubVersion", "UnlhaGetVersion"}) {
    FakeLoader loader;
    loader.files["Unlha32.dll"] = Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}});
    loader.files["Unlha32.dll"].faultingEntry = faulting;
    EXPECT_THROW(ProbeDllVersion("UNLHA32", "A", loader), LibraryFault);
    const auto& events = loader.journal.events;
    EXPECT_EQ(std::count(events.begin(), events.end(), "free Unlha32.dll"), 1) << faulting;
    EXPECT_EQ(events.back(), "free Unlha32.dll");
    EXPECT_EQ(events[events.size() - 2], std::string("call ") + faulting);
  }
}

FakeDll FailingLoad(std::uint32_t code) {
  FakeDll dll = Exports({{"UnlhaGetVersion", 267}});
  dll.loadError = code;
  return dll;
}

TEST(ProbeLibrary, ReportsWhyTheCellShowsItsText) {
  struct ReportCase {
    const char* name;
    FakeDll dll;  // installed as Unlha32.dll
    ProbeStatus status;
    const char* text;
    const char* missingEntry;
    std::uint32_t loadError;
    const wchar_t* filePath;
  };
  const ReportCase cases[] = {
      {"UNLHA32", Exports({{"UnlhaGetVersion", 267}, {"UnlhaGetSubVersion", 100}}),
       ProbeStatus::Answered, "2.67a", "", 0, L"C:\\dlls\\Unlha32.dll"},
      {"UNLHA32", Exports({{"UnlhaGetSubVersion", 100}}), ProbeStatus::EntryMissing, "?",
       "UnlhaGetVersion", 0, L"C:\\dlls\\Unlha32.dll"},
      {"UNLHA32", FailingLoad(193), ProbeStatus::NotLoaded, "---", "", 193, L""},
      {"UNLHA32", FailingLoad(1114), ProbeStatus::NotLoaded, "---", "", 1114, L""},
      {"UNZIP32", Exports({}), ProbeStatus::NotLoaded, "---", "", FakeLoader::kNotFound, L""},
      {"unrar", Exports({}), ProbeStatus::NotLoaded, "---", "", FakeLoader::kNotFound, L""},
      {"FOO", Exports({}), ProbeStatus::UnknownName, "Error!", "", 0, L""},
  };
  for (const ReportCase& c : cases) {
    FakeLoader loader;
    loader.files["Unlha32.dll"] = c.dll;
    const ProbeReport report = ProbeLibrary(c.name, "A", loader);
    EXPECT_EQ(report.status, c.status) << c.name << " " << c.text;
    EXPECT_EQ(report.text, c.text) << c.name;
    EXPECT_EQ(report.missingEntry, c.missingEntry) << c.name << " " << c.text;
    EXPECT_EQ(report.loadError, c.loadError) << c.name << " " << c.text;
    EXPECT_EQ(report.filePath, c.filePath) << c.name << " " << c.text;
  }
}

TEST(ProbeDllVersion, SameNameTwiceLoadsTwice) {
  FakeLoader loader;
  loader.files["Unzip32.dll"] = Exports({{"UnZipGetVersion", 600}});
  EXPECT_EQ(ProbeDllVersion("UNZIP32", "A", loader), "6.00");
  loader.files["Unzip32.dll"].numbers["UnZipGetVersion"] = 601;
  EXPECT_EQ(ProbeDllVersion("UNZIP32", "A", loader), "6.01");
  EXPECT_EQ(loader.journal.events.size(), 6u);
}

}  // namespace
}  // namespace dorvint
