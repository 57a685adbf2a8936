// shellapi.h needs windows.h first.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "Loader_win.h"
#include "Probe.h"

namespace dorvint {
namespace {

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(length));
  return wide;
}

// The folder with the stand-in variant folders (full, main-only, no-main,
// x64): the one argument that is not a test framework flag.
std::wstring StandinsRoot() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring root;
  for (int i = 1; i < count; ++i) {
    if (std::wstring(arguments[i]).rfind(L"--gtest", 0) != 0) root = arguments[i];
  }
  LocalFree(arguments);
  return root;
}

const char* FileOf(const char* name) { return FindCatalogueEntry(CatalogueKey(name))->libraryFile; }

bool Loaded(const char* file) { return GetModuleHandleW(Widen(file).c_str()) != nullptr; }

// "ABC...Z" repeated: what a stand-in writes for fill=N.
std::string Letters(std::size_t count) {
  std::string letters;
  for (std::size_t i = 0; i < count; ++i) letters += static_cast<char>('A' + i % 26);
  return letters;
}

bool HeapsAreIntact() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapValidate(heaps[i], 0, nullptr)) return false;
  }
  return count > 0;
}

// A fresh folder that the loader searches, to install stand-ins into.  Each
// stand-in reads its behaviour from "<file>.txt" beside it and logs its entry
// calls to "<file>.log".
class ProbeWin : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = StandinsRoot();
    ASSERT_FALSE(root_.empty()) << "usage: probe_win_tests <stand-ins folder>";
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    // Wine reuses process ids, and a run that crashed leaves its folders.
    static int folders = 0;
    bool created = false;
    do {
      folder_ = std::wstring(temp) + L"dorvint-probe-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++folders);
      created = CreateDirectoryW(folder_.c_str(), nullptr);
    } while (!created && GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(created);
    ASSERT_TRUE(SetDllDirectoryW(folder_.c_str()));
  }

  void TearDown() override {
    SetDllDirectoryW(nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          EXPECT_TRUE(DeleteFileW(Path(found.cFileName).c_str()));
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    EXPECT_TRUE(RemoveDirectoryW(folder_.c_str()));
  }

  std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }

  // Copies the stand-in for `file` from a variant folder and gives it its
  // settings (none when empty); the previous call log goes.
  void Install(const char* variant, const char* file, const std::string& settings) {
    const std::wstring source = root_ + L"\\" + Widen(variant) + L"\\" + Widen(file);
    ASSERT_TRUE(CopyFileW(source.c_str(), Path(Widen(file)).c_str(), FALSE))
        << variant << "\\" << file;
    Configure(file, settings);
    DeleteFileW(Path(Widen(file) + L".log").c_str());
  }

  void Configure(const char* file, const std::string& settings) {
    const std::wstring path = Path(Widen(file) + L".txt");
    DeleteFileW(path.c_str());
    if (settings.empty()) return;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(out, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(out, settings.data(), static_cast<DWORD>(settings.size()), &written, nullptr);
    CloseHandle(out);
    ASSERT_EQ(written, settings.size());
  }

  // The entry calls the stand-in logged, one per line.
  std::string CallLog(const char* file) const {
    HANDLE in = CreateFileW(Path(Widen(file) + L".log").c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE) return {};
    char buffer[256];
    DWORD read = 0;
    ReadFile(in, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(in);
    return std::string(buffer, read);
  }

  static std::string Probe(const char* name, const char* type) {
    Win32LibraryLoader loader;
    return ProbeDllVersion(name, type, loader);
  }

  std::wstring root_;
  std::wstring folder_;
};

TEST_F(ProbeWin, EveryCatalogueLibraryIsFoundByItsFileAndEntryNames) {
  for (const CatalogueEntry& entry : LibraryCatalogue) {
    Install("full", entry.libraryFile, "main=267\ntext=2.67\n");
    EXPECT_EQ(Probe(entry.key, "X"), "2.67") << entry.key;
    Install("no-main", entry.libraryFile, "main=267\ntext=2.67\n");
    EXPECT_EQ(Probe(entry.key, "X"), entry.missingEntryText) << entry.key;
    EXPECT_FALSE(Loaded(entry.libraryFile)) << entry.key;
  }
}

TEST_F(ProbeWin, CellTextsByTheCatalogueRules) {
  struct Case {
    const char* variant;
    const char* name;
    const char* type;
    std::string settings;
    std::string expected;
  };
  const Case cases[] = {
      // 16-bit results keep their low 16 bits, 32-bit ones are signed.
      {"full", "UNZIP32", "A", "main=70000", "44.64"},
      {"full", "BZ2LIB", "A", "main=70000", "700.00"},
      {"full", "unrar", "A", "main=-5", "0.0-5"},
      {"full", "ISH32", "A", "main=-1234", "-1-2.-3-4"},
      // Main with suffix; sub-versions are 16-bit.
      {"full", "UNLHA32", "A", "main=267\nsub=100", "2.67a"},
      {"full", "UNLHA32", "N", "main=267\nsub=100", "2.67.1"},
      {"full", "UNLHA32", "X", "main=267\nsub=100", "2.67"},
      {"full", "UNLHA32", "a", "main=267\nsub=100", "2.67"},
      {"full", "UNARJ32J", "A", "main=267\nsub=65736", "2.67b"},
      {"full", "UnGCA32", "N", "main=110\nsub=5", "1.10.0.5"},
      {"main-only", "UNLHA32", "A", "main=267\nsub=100", "2.67"},
      {"main-only", "UNARJ32J", "N", "main=300", "3.00"},
      // unimp form
      {"full", "unimp32", "A", "main=123\nsub=4", "1.23.4"},
      {"full", "unimp32", "N", "main=123\nsub=100", "1.23"},
      {"full", "unimp32", "X", "main=123\nsub=4", "1.23"},
      {"main-only", "unimp32", "A", "main=123", "1.2.3"},
      {"main-only", "unimp32", "X", "main=123", "1.2.3"},
      // compound
      {"full", "7-zip32", "A", "main=920\nsub=2", "9.20.0.02"},
      {"full", "7-zip32", "X", "main=920\nsub=2", "9.20"},
      {"main-only", "7-zip32", "N", "main=920", "9.20"},
      // text: up to the first zero byte, at most 256 bytes
      {"full", "NKF32", "A", "text=2.0.9.0", "2.0.9.0"},
      {"full", "NKF32", "A", "text=", ""},
      {"full", "NKF32", "A", "fill=0", ""},
      {"full", "NKF32", "A", "fill=256", Letters(256)},
      // without a settings file a stand-in answers 200
      {"full", "CAB32", "A", "", "2.00"},
  };
  for (const Case& c : cases) {
    const char* file = FileOf(c.name);
    Install(c.variant, file, c.settings);
    EXPECT_EQ(Probe(c.name, c.type), c.expected) << c.variant << " " << c.name << " " << c.type;
    EXPECT_FALSE(Loaded(file)) << c.name;
  }
}

TEST_F(ProbeWin, TextEntryOverrunningTheLimitCorruptsNothing) {
  Install("full", "Nkf32.dll", "fill=4096");
  EXPECT_EQ(Probe("NKF32", "A"), Letters(256));
  EXPECT_TRUE(HeapsAreIntact());
}

TEST_F(ProbeWin, EntriesAreCalledOnceInTheRuleOrder) {
  struct Case {
    const char* name;
    const char* type;
    const char* calls;
  };
  const Case cases[] = {
      {"UNLHA32", "A", "sub\nmain\n"}, {"UNLHA32", "X", "main\n"},
      {"unimp32", "N", "sub\nmain\n"}, {"unimp32", "X", "main\n"},
      {"7-zip32", "A", "main\nsub\n"}, {"7-zip32", "X", "main\n"},
      {"NKF32", "A", "text\n"},
  };
  for (const Case& c : cases) {
    Install("full", FileOf(c.name), "main=100\nsub=1");
    Probe(c.name, c.type);
    EXPECT_EQ(CallLog(FileOf(c.name)), c.calls) << c.name << " " << c.type;
  }
}

TEST_F(ProbeWin, LibrariesThatDoNotLoadShowDashes) {
  struct Case {
    const char* variant;  // nullptr: not installed
    const char* name;
    const char* settings;
  };
  const Case cases[] = {
      {nullptr, "UNZIP32", ""},
      {"x64", "UNZIP32", "main=267"},
      {"x64", "UNLHA32", "main=267"},
      {"x64", "NKF32", "text=2.67"},
      {"full", "UNZIP32", "dllmain=fail\nmain=267"},
      {"full", "UNZIP32", "dllmain=fault-attach\nmain=267"},
  };
  for (const Case& c : cases) {
    if (c.variant) Install(c.variant, FileOf(c.name), c.settings);
    EXPECT_EQ(Probe(c.name, "A"), "---") << (c.variant ? c.variant : "none") << " " << c.name;
    EXPECT_FALSE(Loaded(FileOf(c.name)));
    DeleteFileW(Path(Widen(FileOf(c.name))).c_str());
  }
}

TEST_F(ProbeWin, FaultWhileUnloadingLeavesTheVersion) {
  Install("full", "Unzip32.dll", "dllmain=fault-detach\nmain=267");
  EXPECT_EQ(Probe("UNZIP32", "A"), "2.67");
  EXPECT_FALSE(Loaded("Unzip32.dll"));
}

// The message of the LibraryFault a probe throws, "" when it throws none.
std::string FaultOf(const char* name, const char* type) {
  try {
    Win32LibraryLoader loader;
    ProbeDllVersion(name, type, loader);
  } catch (const LibraryFault& fault) {
    return fault.what();
  }
  return {};
}

struct FaultCase {
  const char* name;
  const char* fault;
  const char* message;  // pattern
};

// Hex8 is an address as eight upper-case hex digits.
std::regex Pattern(const char* message) {
  return std::regex(std::regex_replace(std::string(message), std::regex("Hex8"), "[0-9A-F]{8}"));
}

TEST_F(ProbeWin, FaultsBecomeLibraryFaultsAndReleaseTheLibrary) {
  const FaultCase cases[] = {
      {"UNZIP32", "av-read",
       R"(Access violation at address Hex8 in module 'Unzip32\.dll'\. Read of address 00000000)"},
      {"UNZIP32", "av-write",
       R"(Access violation at address Hex8 in module 'Unzip32\.dll'\. Write of address 00000010)"},
      {"UNZIP32", "av-exec",
       R"(Access violation at address 00000000\. Execute of address 00000000)"},
      {"UNZIP32", "illegal", R"(Illegal instruction at address Hex8 in module 'Unzip32\.dll')"},
      {"UNZIP32", "privileged",
       R"(Privileged instruction at address Hex8 in module 'Unzip32\.dll')"},
      {"UNZIP32", "div0", R"(Division by zero at address Hex8 in module 'Unzip32\.dll')"},
      {"UNZIP32", "stack", R"(Stack overflow at address Hex8 in module 'Unzip32\.dll')"},
      // RaiseException itself is the address: a system module.
      {"UNZIP32", "raise", R"(External exception E0441234 at address Hex8 in module '[^']+\.dll')"},
      // In the sub entry, which is called first, and in the text entry.
      {"UNLHA32", "div0", R"(Division by zero at address Hex8 in module 'Unlha32\.dll')"},
      {"NKF32", "av-write",
       R"(Access violation at address Hex8 in module 'Nkf32\.dll'\. Write of address 00000010)"},
  };
  for (const FaultCase& c : cases) {
    const char* file = FileOf(c.name);
    Install("full", file, std::string("main=267\nsub=100\nfault=") + c.fault);
    const std::string message = FaultOf(c.name, "A");
    EXPECT_TRUE(std::regex_match(message, Pattern(c.message))) << c.fault << ": " << message;
    EXPECT_FALSE(Loaded(file)) << c.fault;
  }
}

TEST_F(ProbeWin, FaultsInARowAreCaughtLikeTheFirst) {
  Install("full", "Unzip32.dll", "");
  for (const char* fault : {"stack", "av-read", "stack", "illegal", "raise"}) {
    Configure("Unzip32.dll", std::string("fault=") + fault);
    EXPECT_FALSE(FaultOf("UNZIP32", "A").empty()) << fault;
    EXPECT_FALSE(Loaded("Unzip32.dll")) << fault;
  }
  Configure("Unzip32.dll", "main=267");
  EXPECT_EQ(Probe("UNZIP32", "A"), "2.67");
}

TEST_F(ProbeWin, ALibraryHandlingItsOwnExceptionAnswers) {
  Install("full", "Unlha32.dll", "main=267\nsub=100\nfault=handled");
  EXPECT_EQ(Probe("UNLHA32", "A"), "2.67a");
  EXPECT_EQ(CallLog("Unlha32.dll"), "sub\nmain\n");
}

}  // namespace
}  // namespace dorvint
