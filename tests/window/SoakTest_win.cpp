// A long run of the program: a thousand refreshes and two hundred switches of
// the picture strip, with every default library present, leave its handles,
// GDI and USER objects and memory where they were, and no archiver library
// loaded between refreshes.  The figures are printed before and after.
//
// Real input for each of 1,200 actions would take minutes, so the warm-up
// uses real input and the long run posts the messages the same input brings
// (see the Soak fixture).

#include <gtest/gtest.h>
#include <windows.h>
// Process figures and the system's own structures, declared on top of
// windows.h.
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Driver_win.h"
#include "ProgramTest_win.h"

namespace dorvint::window {
namespace {

constexpr int kRefreshes = 1000;
constexpr int kSwitches = 200;
constexpr int kRefreshesPerSwitch = kRefreshes / kSwitches;
// The long run goes in rounds; between two rounds the program is idle and
// its modules are checked.  Each round switches the strip an even number of
// times, so that it ends with the strip off.
constexpr int kRounds = 10;
constexpr int kRefreshesPerRound = kRefreshes / kRounds;
static_assert(kRefreshesPerRound % (2 * kRefreshesPerSwitch) == 0);
// The warm-up before the first figures, in the long run's own pattern.
constexpr int kWarmUpRefreshes = 2 * kRefreshesPerSwitch;

constexpr int kList = 561;  // the window with the 25 default rows
constexpr int kWithStrip = kList + 90;
// Keeps the tallest window on the screen and away from the pointer's corner.
constexpr char kPlace[] = "[Window]\nTop=40\nLeft=300\n";

// How much the program's private memory may grow over the long run.  Every
// refresh and switch frees what it allocates: under Wine the program's own
// memory came back to where it was after the run, but during the run it
// swings by up to about 230 KB as drawing buffers come and go, and an idle
// moment may find either side of that swing.  The limit leaves room for it
// twice and still catches a leak of over about 440 bytes per action, such as
// one string per probe.  A leaked GDI object is far smaller (a thousand pens
// are about 50 KB under Wine) and shows in the GDI count instead.
constexpr std::int64_t kMemoryGrowthLimit = std::int64_t{512} * 1024;

// Whether Wine runs with a CPU emulator (tests/wine/emulate-i386.sh), whose
// own memory is then part of the program's process.
bool UnderCpuEmulator() { return GetEnvironmentVariableW(L"DORVINT_CPU_EMULATOR", nullptr, 0) > 0; }

// The committed private memory in the process's address space, region by
// region.  The CPU emulator's own memory lies outside that space.
std::uint64_t CommittedPrivateMemory(HANDLE process) {
  std::uint64_t bytes = 0;
  MEMORY_BASIC_INFORMATION region{};
  ULONG_PTR at = 0;
  while (VirtualQueryEx(process, reinterpret_cast<const void*>(at), &region, sizeof region) ==
         sizeof region) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
    const ULONG_PTR next = reinterpret_cast<ULONG_PTR>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;  // the end of the address space
    at = next;
  }
  return bytes;
}

// How many more GDI objects an idle program may hold at one moment than at
// another (see the test).
constexpr std::uint64_t kGdiObjectsComingAndGoing = 2;

// One figure of the program's resource use and where it came from.
struct Figure {
  std::uint64_t value = 0;
  const char* source = "";
};

struct Usage {
  Figure gdiObjects;
  Figure userObjects;
  Figure handles;
  Figure memory;  // bytes
};

// An entry of ntdll, which has no import library for these.
template <typename Entry>
Entry NtdllEntry(const char* name) {
  return reinterpret_cast<Entry>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

// The system's list of every open handle (SystemExtendedHandleInformation),
// as ntdll fills it in: a header, then one entry per handle.
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
struct HandleListHeader {
  ULONG_PTR count;
  ULONG_PTR reserved;
};
struct HandleListEntry {
  void* object;
  ULONG_PTR processId;
  ULONG_PTR handle;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG handleAttributes;
  ULONG reserved;
};
using QuerySystemInformation = LONG(NTAPI*)(ULONG infoClass, void* info, ULONG size, ULONG* needed);

// How many handles process `processId` holds, counted in the system's list;
// 0 when the list cannot be had.
std::uint64_t HandlesInSystemList(DWORD processId) {
  const auto query = NtdllEntry<QuerySystemInformation>("NtQuerySystemInformation");
  if (query == nullptr) return 0;
  // The list changes between two calls: grow the buffer until it fits.
  std::vector<std::byte> list(64 * 1024);
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(kSystemExtendedHandleInformation, list.data(),
                              static_cast<ULONG>(list.size()), &needed);
    if (status == kStatusInfoLengthMismatch && list.size() < 64 * 1024 * 1024) {
      list.resize(std::max<std::size_t>(list.size() * 2, needed));
      continue;
    }
    if (status < 0) return 0;
    break;
  }
  const auto& header = *reinterpret_cast<const HandleListHeader*>(list.data());
  const auto* entries = reinterpret_cast<const HandleListEntry*>(list.data() + sizeof header);
  const std::size_t fits = (list.size() - sizeof header) / sizeof(HandleListEntry);
  const std::size_t count = std::min<std::size_t>(header.count, fits);
  return static_cast<std::uint64_t>(
      std::count_if(entries, entries + count,
                    [&](const HandleListEntry& entry) { return entry.processId == processId; }));
}

// Wine keeps a process's GDI objects in a table of the process's own, which
// its environment block points to (GdiSharedHandleTable, at 0x94 in a 32-bit
// one): 65,536 entries of 24 bytes, an entry in use when its type byte (at
// 14) is not 0, a stock object when bit 7 of the byte at 12 is set.
constexpr std::size_t kPebGdiTable = 0x94;
constexpr std::size_t kGdiEntries = 65536;
constexpr std::size_t kGdiEntrySize = 24;
using QueryInformationProcess = LONG(NTAPI*)(HANDLE process, ULONG infoClass, void* info,
                                             ULONG size, ULONG* needed);

// How many GDI objects of its own the process has in that table; 0 when it
// has no such table.
std::uint64_t GdiObjectsInWineTable(HANDLE process) {
  const auto query = NtdllEntry<QueryInformationProcess>("NtQueryInformationProcess");
  PROCESS_BASIC_INFORMATION basic{};
  if (query == nullptr ||
      query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) < 0) {
    return 0;
  }
  DWORD table = 0;
  if (!ReadProcessMemory(process,
                         reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTable, &table,
                         sizeof table, nullptr) ||
      table == 0) {
    return 0;
  }
  std::vector<std::uint8_t> entries(kGdiEntries * kGdiEntrySize);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(static_cast<ULONG_PTR>(table)),
                         entries.data(), entries.size(), nullptr)) {
    return 0;
  }
  std::uint64_t objects = 0;
  for (std::size_t at = 0; at < entries.size(); at += kGdiEntrySize) {
    if (entries[at + 14] != 0 && (entries[at + 12] & 0x80) == 0) ++objects;
  }
  return objects;
}

// The windows of process `processId`: its top-level windows and all their
// descendants.
struct WindowCount {
  DWORD processId;
  std::uint64_t windows;
};

BOOL CALLBACK CountDescendant(HWND /*window*/, LPARAM param) {
  ++reinterpret_cast<WindowCount*>(param)->windows;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
  auto& count = *reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == count.processId) {
    ++count.windows;
    EnumChildWindows(window, CountDescendant, param);
  }
  return TRUE;
}

std::uint64_t WindowsOf(DWORD processId) {
  WindowCount count{processId, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
  return count.windows;
}

// The program's process, opened to read its figures from outside.  Each
// figure comes from the call made for it where that call gives one.  Wine 8
// gives 0 for GetGuiResources, GetProcessHandleCount and PrivateUsage; there
// the GDI objects are counted in Wine's table of them, the USER objects are
// the program's windows (the only kind it makes), the handles are counted in
// the system's list and the memory is PagefileUsage, which Wine fills in with
// the process's anonymous resident memory.  Under the CPU emulator that
// includes the emulator's, which grows as it runs (by about 100 MB over the
// soak), so there the memory is the committed private regions of the
// program's address space.
class ProcessFigures {
 public:
  explicit ProcessFigures(DWORD processId)
      : processId_(processId),
        process_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)) {
    if (process_ == nullptr) {
      throw std::runtime_error("cannot open the program's process (error " +
                               std::to_string(GetLastError()) + ")");
    }
  }
  ~ProcessFigures() { CloseHandle(process_); }
  ProcessFigures(const ProcessFigures&) = delete;
  ProcessFigures& operator=(const ProcessFigures&) = delete;

  Usage Read() const {
    Usage usage;
    if (const DWORD gdi = GetGuiResources(process_, GR_GDIOBJECTS)) {
      usage.gdiObjects = {gdi, "GetGuiResources"};
    } else {
      usage.gdiObjects = Counted(GdiObjectsInWineTable(process_), "Wine's GDI handle table");
    }
    if (const DWORD user = GetGuiResources(process_, GR_USEROBJECTS)) {
      usage.userObjects = {user, "GetGuiResources"};
    } else {
      usage.userObjects = Counted(WindowsOf(processId_), "windows of the program");
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(process_, &handles) && handles != 0) {
      usage.handles = {handles, "GetProcessHandleCount"};
    } else {
      usage.handles = Counted(HandlesInSystemList(processId_), "system handle list");
    }
    // Last: reading the GDI table may bring its pages into memory.
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof memory)) {
      throw std::runtime_error("no memory figures of the program (error " +
                               std::to_string(GetLastError()) + ")");
    }
    if (UnderCpuEmulator()) {
      usage.memory = {CommittedPrivateMemory(process_), "committed private regions"};
    } else if (memory.PrivateUsage != 0) {
      usage.memory = {memory.PrivateUsage, "PrivateUsage"};
    } else {
      usage.memory = {memory.PagefileUsage, "PagefileUsage"};
    }
    return usage;
  }

 private:
  // A figure from a second source, which gives 0 where it cannot count.
  static Figure Counted(std::uint64_t value, const char* source) {
    return {value, value != 0 ? source : "not counted here"};
  }

  DWORD processId_;
  HANDLE process_;
};

// The figures before and after as a table, one row per figure.
std::string Table(const Usage& before, const Usage& after) {
  struct Row {
    const char* name;
    Figure Usage::*figure;
  };
  const Row rows[] = {{"GDI objects", &Usage::gdiObjects},
                      {"USER objects", &Usage::userObjects},
                      {"handles", &Usage::handles},
                      {"memory (bytes)", &Usage::memory}};
  char line[160];
  std::snprintf(line, sizeof line, "%-14s %11s %11s %11s  %s\n", "figure", "before", "after",
                "change", "source");
  std::string table = line;
  for (const Row& row : rows) {
    const Figure& first = before.*row.figure;
    const Figure& last = after.*row.figure;
    std::snprintf(
        line, sizeof line, "%-14s %11llu %11llu %+11lld  %s\n", row.name,
        static_cast<unsigned long long>(first.value), static_cast<unsigned long long>(last.value),
        static_cast<long long>(last.value) - static_cast<long long>(first.value), last.source);
    table += line;
  }
  return table;
}

// The long run drives the program with posted messages, which reach the same
// handlers as real input: a left press and release on the refresh button is
// a click (SpeedButton::OnLeftButtonUp), F5 goes to the window's key handler,
// and a right press carries the keys and buttons held in its wParam, which
// the strip's handler reads.  Posted messages are handled one after another,
// so once the last refresh of a round has run, so has everything before it.
class Soak : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    for (const DefaultRow& row : kDefaultRows) Install(row.file);
    WriteSettings(kPlace);
  }

  void PostClickOnRefreshButton() const {
    Post(SpeedButton2(), WM_LBUTTONDOWN, MK_LBUTTON, CentreOfRefreshButton());
    Post(SpeedButton2(), WM_LBUTTONUP, 0, CentreOfRefreshButton());
  }
  void PostF5() const {
    // Repeat count 1 and the key's scan code; a release was down before.
    const auto keyData = static_cast<LPARAM>(1 | MapVirtualKeyW(VK_F5, MAPVK_VK_TO_VSC) << 16);
    Post(main_, WM_KEYDOWN, VK_F5, keyData);
    Post(main_, WM_KEYUP, VK_F5, keyData | static_cast<LPARAM>(0xC0000000u));
  }
  void PostShiftRightPress() const {
    Post(SpeedButton2(), WM_RBUTTONDOWN, MK_SHIFT | MK_RBUTTON, CentreOfRefreshButton());
    Post(SpeedButton2(), WM_RBUTTONUP, MK_SHIFT, CentreOfRefreshButton());
  }

  // How often the program has asked the stand-in in row 1 for its main
  // version: once per refresh, at its start, as every call leaves a line in
  // its log.
  int Row1Probes() const {
    const std::wstring log = folder_.File(L"Unlha32.dll.log");
    if (!FileExists(log)) return 0;
    const std::string lines = ReadTextFile(log);
    int probes = 0;
    for (auto at = lines.find("main\n"); at != std::string::npos;
         at = lines.find("main\n", at + 1)) {
      ++probes;
    }
    return probes;
  }
  // Posts `refreshes` refreshes, a click on the refresh button and F5 in
  // turn, with a press that switches the strip before every
  // kRefreshesPerSwitch-th, and waits until the program has run them all, for
  // as long as it keeps running more, and is idle again.
  void RunRefreshes(int refreshes) const {
    const int total = Row1Probes() + refreshes;
    for (int n = 0; n < refreshes; ++n) {
      if (n % kRefreshesPerSwitch == 0) PostShiftRightPress();
      if (n % 2 == 0) {
        PostClickOnRefreshButton();
      } else {
        PostF5();
      }
    }
    for (int seen = Row1Probes(); seen < total;) {
      const int before = seen;
      if (!WaitUntil([&] {
            seen = Row1Probes();
            return seen > before;
          })) {
        throw std::runtime_error("the program stopped refreshing after " + std::to_string(seen) +
                                 " of " + std::to_string(total) + " refreshes");
      }
    }
    // The last refresh has started; the program answers once it is done.
    WaitForIdle(main_);
    EXPECT_EQ(total, Row1Probes()) << "refreshes run in all";
  }

  // The default libraries loaded in the program right now.
  std::vector<std::wstring> LoadedLibraries() const {
    const std::vector<std::wstring> modules = program_->Modules();
    // A module list without the program itself would find nothing either.
    if (std::find(modules.begin(), modules.end(), L"dorvint.exe") == modules.end()) {
      throw std::runtime_error("the module list lacks dorvint.exe");
    }
    std::vector<std::wstring> loaded;
    for (const DefaultRow& row : kDefaultRows) {
      const std::wstring file = Lower(row.file);
      if (std::find(modules.begin(), modules.end(), file) != modules.end()) loaded.push_back(file);
    }
    return loaded;
  }

 private:
  static void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageW(window, message, wParam, lParam)) {
      throw std::runtime_error("PostMessageW failed (error " + std::to_string(GetLastError()) +
                               ")");
    }
  }
  LPARAM CentreOfRefreshButton() const {
    RECT client{};
    GetClientRect(SpeedButton2(), &client);
    return MAKELPARAM(client.right / 2, client.bottom / 2);
  }
};

TEST_F(Soak, RefreshesAndStripSwitchesLeaveResourceUseFlat) {
  Start();
  const ProcessFigures figures(program_->Id());

  // Warm-up with real input, then with the posted messages, each of which is
  // seen to reach its handler.
  Refresh();
  ASSERT_TRUE(SwitchStripTo(kWithStrip));
  ASSERT_TRUE(SwitchStripTo(kList));
  MovePointerAway();  // no tooltip comes and goes during the run
  Configure(L"Unlha32.dll", "main=301\n");
  PostClickOnRefreshButton();
  ASSERT_EQ(L"3.01", WaitForText(VersionCell(1), L"3.01"));
  Configure(L"Unlha32.dll", "main=302\n");
  PostF5();
  ASSERT_EQ(L"3.02", WaitForText(VersionCell(1), L"3.02"));
  PostShiftRightPress();
  ASSERT_TRUE(WaitForHeight(kWithStrip));
  PostShiftRightPress();
  ASSERT_TRUE(WaitForHeight(kList));
  RunRefreshes(kWarmUpRefreshes);
  const Usage before = figures.Read();

  const auto start = std::chrono::steady_clock::now();
  for (int round = 1; round <= kRounds; ++round) {
    RunRefreshes(kRefreshesPerRound);
    EXPECT_EQ(kList, BoxOf(main_).height) << "round " << round;
    EXPECT_EQ(std::vector<std::wstring>{}, LoadedLibraries())
        << "after " << round * kRefreshesPerRound << " refreshes";
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

  const Usage after = figures.Read();
  std::cout << "Resource use of the program over " << kRefreshes << " refreshes and " << kSwitches
            << " strip switches (" << took.count() << " s):\n"
            << Table(before, after);

  EXPECT_EQ(L"3.02", Version(1));
  // A leak shows as growth, of hundreds of objects if a refresh or a switch
  // leaks one.  One GDI object comes and goes by itself: under Wine, idle
  // moments of the same run find 231 or 232.
  EXPECT_LE(after.gdiObjects.value, before.gdiObjects.value + kGdiObjectsComingAndGoing);
  EXPECT_LE(after.userObjects.value, before.userObjects.value);
  EXPECT_LE(after.handles.value, before.handles.value);
  EXPECT_LT(static_cast<std::int64_t>(after.memory.value) -
                static_cast<std::int64_t>(before.memory.value),
            kMemoryGrowthLimit);
  CloseAndWaitForExit();
}

}  // namespace
}  // namespace dorvint::window
