// The listing as a user runs it: "dorvint /list" typed into cmd.exe, in a
// folder holding dorvint.com and dorvint.exe beside stand-in archiver
// libraries, with its output going to a file or to a pipe.  Everything the
// command starts runs in a job, so that a program left running (a window
// opened after all) shows.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <type_traits>
#include <vector>

#include "Text_win.h"
#include "Version.h"

namespace dorvint {
namespace {

// Where the programs and the stand-ins are; set from the command line.
std::wstring programFolder;
std::wstring standInFolder;

struct HandleRelease {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using HandleOwner = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleRelease>;

std::string Utf8(const std::wstring& text) { return Narrow(text, CP_UTF8); }

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream file(path.c_str(), std::ios::binary);
  file << bytes;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Polls `done` until it holds or a minute has passed.
template <typename Condition>
bool WaitUntil(Condition done) {
  const ULONGLONG deadline = GetTickCount64() + 60000;
  while (!done()) {
    if (GetTickCount64() > deadline) return false;
    Sleep(20);
  }
  return true;
}

// A fresh folder in the temporary folder, `name` in its name, removed with
// its files.
class Folder {
 public:
  explicit Folder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    for (unsigned serial = 1; path_.empty(); ++serial) {
      const std::wstring path = std::wstring(temp) + L"dorvint-listing-" + name + L"-" +
                                std::to_wstring(GetCurrentProcessId()) + L"-" +
                                std::to_wstring(serial);
      if (CreateDirectoryW(path.c_str(), nullptr)) path_ = path;
    }
  }
  ~Folder() {
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(File(L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW(File(entry.cFileName).c_str());
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

struct Finished {
  DWORD exitCode = 0;
  std::string output;  // what cmd.exe wrote to its standard output
};

// Reads a pipe to its end on a thread of its own.
struct PipeReader {
  HANDLE pipe;
  std::string bytes;
};

DWORD WINAPI ReadToEnd(void* context) {
  auto& reader = *static_cast<PipeReader*>(context);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(reader.pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    reader.bytes.append(buffer, got);
  }
  return 0;
}

// The processes of the job that run dorvint.exe or dorvint.com.  (The job
// may also hold Wine's own helpers, which a window program starts.)
std::vector<DWORD> ProgramsRunning(HANDLE job) {
  struct {
    JOBOBJECT_BASIC_PROCESS_ID_LIST list;
    ULONG_PTR more[63];
  } ids{};
  ids.list.NumberOfAssignedProcesses = 64;
  QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof(ids), nullptr);
  std::vector<DWORD> programs;
  for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
    const auto id = static_cast<DWORD>(ids.list.ProcessIdList[i]);
    const HandleOwner process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, image, &size)) continue;
    std::wstring name(image, size);
    name.erase(0, name.find_last_of(L'\\') + 1);
    if (_wcsicmp(name.c_str(), L"dorvint.exe") == 0 ||
        _wcsicmp(name.c_str(), L"dorvint.com") == 0) {
      programs.push_back(id);
    }
  }
  return programs;
}

// Runs `command` with "cmd /c" in `folder`, its output into a pipe, and waits
// until the command and everything it started have ended; `afterCommand` runs
// once cmd.exe has ended.  What is still running a minute after that fails
// the test and is ended.  (The pipe reaches its end when cmd.exe and the
// programs have ended.)
Finished RunCommand(
    const std::wstring& folder, const std::wstring& command,
    const std::function<void()>& afterCommand = [] {}) {
  const HandleOwner job(CreateJobObjectW(nullptr, nullptr));

  SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
  HANDLE reading = nullptr;
  HANDLE writing = nullptr;
  Finished finished;
  if (!CreatePipe(&reading, &writing, &inherited, 0)) {
    ADD_FAILURE() << "CreatePipe " << GetLastError();
    return finished;
  }
  const HandleOwner readEnd(reading);
  HandleOwner writeEnd(writing);
  SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writing;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::wstring commandLine = L"cmd.exe /c " + command;
  PROCESS_INFORMATION started{};
  // No console window of its own: any window is the program's.
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup,
                      &started)) {
    ADD_FAILURE() << "CreateProcessW " << GetLastError();
    return finished;
  }
  const HandleOwner process(started.hProcess);
  const HandleOwner thread(started.hThread);
  AssignProcessToJobObject(job.get(), process.get());
  ResumeThread(thread.get());
  writeEnd.reset();
  PipeReader reader{reading, {}};
  const HandleOwner readerThread(CreateThread(nullptr, 0, &ReadToEnd, &reader, 0, nullptr));

  WaitForSingleObject(process.get(), INFINITE);
  GetExitCodeProcess(process.get(), &finished.exitCode);
  afterCommand();
  if (!WaitUntil([&] { return ProgramsRunning(job.get()).empty(); })) {
    ADD_FAILURE() << "a program the command started is still running";
    EXPECT_EQ(FindWindowW(L"TForm1", nullptr), nullptr) << "the window opened";
    for (const DWORD id : ProgramsRunning(job.get())) {
      const HandleOwner program(OpenProcess(PROCESS_TERMINATE, FALSE, id));
      if (program) TerminateProcess(program.get(), 1);
    }
  }
  WaitForSingleObject(readerThread.get(), INFINITE);
  finished.output = std::move(reader.bytes);
  return finished;
}

// The fault's address differs from build to build.
std::string WithoutAddresses(const std::string& text) {
  return std::regex_replace(text, std::regex("address [0-9A-F]{8} in"), "address ######## in");
}

constexpr char kSettings[] =
    "[Display]\r\n1=UNLHA32\r\n2=UNZIP32\r\n3=NKF32\r\n4=\r\n[SubVersion]\r\nType=A\r\n";
// "見つかりません", the tooltip of a library that is not there, in UTF-8.
constexpr char kNotFound[] =
    "\xE8\xA6\x8B\xE3\x81\xA4\xE3\x81\x8B\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93";

struct Library {
  const wchar_t* file;
  const char* config;  // what the stand-in answers; nullptr: not installed
};

struct Case {
  const char* name;
  const char* settings;  // nullptr: no settings file
  Library unzip;         // Unlha32.dll and Nkf32.dll are always there
  const wchar_t* command;
  DWORD exitCode;
  // The output; "{}" stands for the folder, in UTF-8.
  std::string rows;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const std::string kUsage = std::string("Dorvint ") + DORVINT_VERSION + ": versions";

const Case kCases[] = {
    {"EveryLibraryAnswers",
     kSettings,
     {L"Unzip32.dll", "main=600\n"},
     L"dorvint /list",
     0,
     "UNLHA32\t2.67a\t{}\\Unlha32.dll\r\n"
     "UNZIP32\t6.00\t{}\\Unzip32.dll\r\n"
     "NKF32\t2.00\t{}\\Nkf32.dll\r\n"},
    {"NumericSubVersions",
     "[Display]\r\n1=unlha32\r\n2=\r\n[SubVersion]\r\nType=N\r\n",
     {L"Unzip32.dll", "main=600\n"},
     L"dorvint /list",
     0,
     "unlha32\t2.67.1\t{}\\Unlha32.dll\r\n"},
    {"OneLibraryMissing",
     kSettings,
     {L"Unzip32.dll", nullptr},
     L"dorvint /LIST",
     1,
     "UNLHA32\t2.67a\t{}\\Unlha32.dll\r\n"
     "UNZIP32\t---\t" +
         std::string(kNotFound) +
         "\r\n"
         "NKF32\t2.00\t{}\\Nkf32.dll\r\n"},
    {"UnknownName",
     "[Display]\r\n1=UNLHA\r\n2=\r\n",
     {L"Unzip32.dll", "main=600\n"},
     L"dorvint /list",
     1,
     // "UNLHA は既知のライブラリ名ではありません"
     "UNLHA\tError!\tUNLHA \xE3\x81\xAF\xE6\x97\xA2\xE7\x9F\xA5\xE3\x81\xAE\xE3\x83\xA9\xE3\x82"
     "\xA4\xE3\x83\x96\xE3\x83\xA9\xE3\x83\xAA\xE5\x90\x8D\xE3\x81\xA7\xE3\x81\xAF\xE3\x81\x82"
     "\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\r\n"},
    // The fault ends its own row only; the version stays empty, as in the
    // window, and the last column holds the error report's text.
    {"LibraryFaults",
     kSettings,
     {L"Unzip32.dll", "fault=av-read\n"},
     L"dorvint /list",
     1,
     "UNLHA32\t2.67a\t{}\\Unlha32.dll\r\n"
     "UNZIP32\t\tAccess violation at address ######## in module 'Unzip32.dll'. "
     "Read of address 00000000.\r\n"
     "NKF32\t2.00\t{}\\Nkf32.dll\r\n"},
    {"EmptyList", "[Display]\r\n1=\r\n", {L"Unzip32.dll", "main=600\n"}, L"dorvint /list", 0, ""},
    {"UnknownOption", kSettings, {L"Unzip32.dll", "main=600\n"}, L"dorvint /lst", 2, ""},
    // "/한" in the ANSI code page would read "/?".
    {"OptionOutsideTheAnsiCodePage",
     kSettings,
     {L"Unzip32.dll", "main=600\n"},
     L"dorvint /\uD55C",
     2,
     ""},
    {"TooManyArguments", kSettings, {L"Unzip32.dll", "main=600\n"}, L"dorvint /list /list", 2, ""},
};

// Installs the programs, Unlha32.dll and Nkf32.dll, and the case's
// Unzip32.dll and settings file into `folder`.
void Install(const Folder& folder, const Case& c) {
  for (const wchar_t* program : {L"dorvint.com", L"dorvint.exe"}) {
    CopyFileW((programFolder + L"\\" + program).c_str(), folder.File(program).c_str(), FALSE);
  }
  const Library libraries[] = {
      {L"Unlha32.dll", "main=267\nsub=100\n"}, {L"Nkf32.dll", "text=2.00\n"}, c.unzip};
  for (const Library& library : libraries) {
    if (library.config == nullptr) continue;
    const std::wstring file = library.file;
    std::wstring standIn = standInFolder;
    standIn.append(L"\\full\\").append(file);
    CopyFileW(standIn.c_str(), folder.File(file).c_str(), FALSE);
    WriteFileBytes(folder.File(file + L".txt"), library.config);
  }
  if (c.settings != nullptr) WriteFileBytes(folder.File(L"dorvint.ini"), c.settings);
}

// Runs the case in `folder` with its output into a file and into a pipe,
// checking both, the exit code and the settings file.
void Check(const Folder& folder, const Case& c) {
  const std::string settings = ReadFileBytes(folder.File(L"dorvint.ini"));
  std::string rows = c.rows;
  for (std::size_t at; (at = rows.find("{}")) != std::string::npos;) {
    rows.replace(at, 2, Utf8(folder.Path()));
  }

  const Finished toFile =
      RunCommand(folder.Path(), std::wstring(c.command) + L" > out.txt 2> err.txt");
  EXPECT_EQ(toFile.exitCode, c.exitCode);
  EXPECT_EQ(WithoutAddresses(ReadFileBytes(folder.File(L"out.txt"))), rows);
  const std::string errors = ReadFileBytes(folder.File(L"err.txt"));
  if (c.exitCode == 2) {
    EXPECT_EQ(errors.find(kUsage), 0u) << errors;
  } else {
    EXPECT_EQ(errors, "");
  }

  const Finished toPipe = RunCommand(folder.Path(), c.command);
  EXPECT_EQ(toPipe.exitCode, c.exitCode);
  EXPECT_EQ(WithoutAddresses(toPipe.output), rows);

  EXPECT_EQ(ReadFileBytes(folder.File(L"dorvint.ini")), settings);
  EXPECT_EQ(Exists(folder.File(L"dorvint.ini")), c.settings != nullptr);
}

using Listing = testing::TestWithParam<Case>;

std::string CaseName(const testing::TestParamInfo<Case>& tested) { return tested.param.name; }

TEST_P(Listing, PrintsTheRowsTheWindowWouldShow) {
  const Folder folder(L"plain");
  Install(folder, GetParam());
  Check(folder, GetParam());
}

// Hangul and a Welsh letter, in neither code page 932 nor 1252: the paths
// in the last column keep them.
TEST_P(Listing, KeepsCharactersOutsideTheAnsiCodePage) {
  const Folder folder(L"\uD55C\uAE00-\u0175");
  ASSERT_NE(Utf8(folder.Path()).find("\xED\x95\x9C\xEA\xB8\x80-\xC5\xB5"), std::string::npos);
  Install(folder, GetParam());
  Check(folder, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, Listing, testing::ValuesIn(kCases), CaseName);

// Default list, no settings file: 25 rows, and still no settings file after.
TEST(ListingDefaults, ListsTheDefaultNamesWithoutWritingTheSettingsFile) {
  const Folder folder(L"defaults");
  const Case c{"Defaults", nullptr, {L"Unzip32.dll", "main=600\n"}, L"dorvint /list", 1, ""};
  Install(folder, c);
  const Finished finished = RunCommand(folder.Path(), c.command);
  EXPECT_EQ(finished.exitCode, 1u);
  std::vector<std::string> names;
  for (std::size_t start = 0, end; (end = finished.output.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    names.push_back(finished.output.substr(start, finished.output.find('\t', start) - start));
  }
  EXPECT_EQ(names.size(), 25u);
  EXPECT_EQ(names.front(), "UNLHA32");
  EXPECT_EQ(names.back(), "WinEx32");
  EXPECT_FALSE(Exists(folder.File(L"dorvint.ini")));
}

// "dorvint" alone opens the window and returns at once, leaving it open.
TEST(ListingWindow, WithoutArgumentsOpensTheWindowAndReturns) {
  const Folder folder(L"window");
  Install(folder, kCases[0]);
  const std::string settings = ReadFileBytes(folder.File(L"dorvint.ini"));
  bool windowOpened = false;
  const Finished finished = RunCommand(folder.Path(), L"dorvint", [&] {
    HWND window = nullptr;
    windowOpened = WaitUntil([&] { return (window = FindWindowW(L"TForm1", nullptr)) != nullptr; });
    if (windowOpened) PostMessageW(window, WM_CLOSE, 0, 0);
  });
  EXPECT_TRUE(windowOpened);
  EXPECT_EQ(finished.exitCode, 0u);
  EXPECT_EQ(finished.output, "");
  EXPECT_EQ(ReadFileBytes(folder.File(L"dorvint.ini")), settings);
}

TEST(ListingHelp, PrintsTheUsageWithTheVersion) {
  const Folder folder(L"help");
  const Finished finished =
      RunCommand(folder.Path(), L"\"" + programFolder + L"\\dorvint.com\" /?");
  EXPECT_EQ(finished.exitCode, 0u);
  EXPECT_EQ(finished.output.find(kUsage), 0u) << finished.output;
}

}  // namespace
}  // namespace dorvint

// ARGS: the folder of dorvint.com and dorvint.exe, the stand-ins' folder.
int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 3) {
    fprintf(stderr, "usage: listing_tests PROGRAM_FOLDER STANDIN_FOLDER\n");
    return 2;
  }
  dorvint::programFolder = argv[1];
  dorvint::standInFolder = argv[2];
  return RUN_ALL_TESTS();
}
