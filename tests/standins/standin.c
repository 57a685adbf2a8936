/* A stand-in archiver library for the tests.
 *
 * Which entries it exports is fixed when it is built:
 *   MAIN_ENTRY  an entry without argument returning the main version (WINAPI);
 *   SUB_ENTRY   the same for the sub-version;
 *   TEXT_ENTRY  an entry that writes a version text into the caller's buffer;
 * with neither a main nor a text entry it exports only StandinUnrelated.
 *
 * What the entries do is read at every call from "<own file name>.txt" beside
 * the library, one key=value per line:
 *   main=N, sub=N   raw 32-bit result of the entry (negative values allowed);
 *   text=T          text written by the text entry, terminating zero included;
 *   fill=N          instead, N non-zero bytes ("ABC...Z" repeated), no zero;
 *   fault=K         fault in every entry: av-read, av-write, av-exec, illegal,
 *                   privileged, div0, stack, raise, or handled (raises and
 *                   handles its own exception, then answers as usual);
 *   dllmain=K       at load: fail, fault-attach; at unload: fault-detach.
 * Every entry call appends its kind (main, sub, text, unrelated) as a line to
 * "<own file name>.log". */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

/* Raised by fault=raise; fault=handled raises and absorbs HANDLED_EXCEPTION. */
#define RAISED_EXCEPTION 0xE0441234u
#define HANDLED_EXCEPTION 0xE0445678u

#define EXPORT __declspec(dllexport)

static HINSTANCE self;

/* Own path with `extension` appended. */
static void SidePath(const wchar_t* extension, wchar_t* path, size_t size) {
  const DWORD length = GetModuleFileNameW(self, path, (DWORD)size);
  path[length < size ? length : 0] = L'\0';
  wcsncat(path, extension, size - wcslen(path) - 1);
}

/* The value of `key` from the settings file; 0 when the key or file is absent. */
static int Setting(const char* key, char* value, size_t size) {
  wchar_t path[MAX_PATH + 8];
  char line[512];
  const size_t keyLength = strlen(key);
  int found = 0;
  FILE* file;
  SidePath(L".txt", path, MAX_PATH + 8);
  file = _wfopen(path, L"rb");
  if (file == NULL) return 0;
  while (!found && fgets(line, sizeof line, file) != NULL) {
    if (strncmp(line, key, keyLength) == 0 && line[keyLength] == '=') {
      line[strcspn(line, "\r\n")] = '\0';
      snprintf(value, size, "%s", line + keyLength + 1);
      found = 1;
    }
  }
  fclose(file);
  return found;
}

static int SettingIs(const char* key, const char* expected) {
  char value[64];
  return Setting(key, value, sizeof value) && strcmp(value, expected) == 0;
}

static void Log(const char* entry) {
  wchar_t path[MAX_PATH + 8];
  FILE* file;
  SidePath(L".log", path, MAX_PATH + 8);
  file = _wfopen(path, L"ab");
  if (file == NULL) return;
  fprintf(file, "%s\n", entry);
  fclose(file);
}

static volatile int bottomless = 1;

static __attribute__((noinline)) int Deeper(int depth) {
  volatile char frame[512];
  frame[0] = (char)depth;
  if (bottomless) return Deeper(depth + 1) + frame[0];
  return frame[0];
}

#if defined(__i386__)
static EXCEPTION_DISPOSITION NTAPI Absorb(struct _EXCEPTION_RECORD* record, PVOID frame,
                                          struct _CONTEXT* context, PVOID dispatch) {
  (void)frame;
  (void)context;
  (void)dispatch;
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) {
    return ExceptionContinueSearch;
  }
  return record->ExceptionCode == HANDLED_EXCEPTION ? ExceptionContinueExecution
                                                    : ExceptionContinueSearch;
}

/* A library that uses exceptions inside: its own handler, nearest to the
 * fault, deals with it and the call goes on. */
static void RaiseAndHandle(void) {
  NT_TIB* thread;
  __asm__("movl %%fs:0x18, %0" : "=r"(thread));
  EXCEPTION_REGISTRATION_RECORD own;
  own.Next = thread->ExceptionList;
  own.Handler = Absorb;
  thread->ExceptionList = &own;
  RaiseException(HANDLED_EXCEPTION, 0, 0, NULL);
  thread->ExceptionList = own.Next;
}
#else
static void RaiseAndHandle(void) {}
#endif

static void Misbehave(const char* kind) {
  if (strcmp(kind, "av-read") == 0) {
    int* volatile nowhere = NULL;
    volatile int value = *nowhere;
    (void)value;
  } else if (strcmp(kind, "av-write") == 0) {
    int* volatile nowhere = (int*)16;
    *nowhere = 1;
  } else if (strcmp(kind, "av-exec") == 0) {
    void (*volatile nowhere)(void) = NULL;
    nowhere();
  } else if (strcmp(kind, "illegal") == 0) {
    __builtin_trap();
  } else if (strcmp(kind, "privileged") == 0) {
    __asm__ __volatile__("hlt");
  } else if (strcmp(kind, "div0") == 0) {
    volatile int dividend = 1;
    volatile int zero = 0;
    volatile int quotient = dividend / zero;
    (void)quotient;
  } else if (strcmp(kind, "stack") == 0) {
    Deeper(0);
  } else if (strcmp(kind, "raise") == 0) {
    RaiseException(RAISED_EXCEPTION, 0, 0, NULL);
  } else if (strcmp(kind, "handled") == 0) {
    RaiseAndHandle();
  }
}

/* Logs the call, misbehaves as configured, and returns the configured value.
 * (A build with only the text entry has no use for it.) */
static __attribute__((unused)) UINT Answer(const char* entry, UINT fallback) {
  char value[64];
  Log(entry);
  if (Setting("fault", value, sizeof value)) Misbehave(value);
  if (!Setting(entry, value, sizeof value)) return fallback;
  return (UINT)strtoll(value, NULL, 10);
}

#ifdef MAIN_ENTRY
EXPORT UINT WINAPI MAIN_ENTRY(void) { return Answer("main", 200); }
#endif

#ifdef SUB_ENTRY
EXPORT UINT WINAPI SUB_ENTRY(void) { return Answer("sub", 0); }
#endif

#ifdef TEXT_ENTRY
EXPORT void WINAPI TEXT_ENTRY(char* buffer) {
  char value[300];
  Log("text");
  if (Setting("fault", value, sizeof value)) Misbehave(value);
  if (Setting("fill", value, sizeof value)) {
    const long count = strtol(value, NULL, 10);
    long i;
    for (i = 0; i < count; ++i) buffer[i] = (char)('A' + i % 26);
    return;
  }
  if (!Setting("text", value, sizeof value)) strcpy(value, "2.00");
  strcpy(buffer, value);
}
#endif

#if !defined(MAIN_ENTRY) && !defined(TEXT_ENTRY)
EXPORT UINT WINAPI StandinUnrelated(void) { return Answer("unrelated", 1); }
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    self = instance;
    if (SettingIs("dllmain", "fail")) return FALSE;
    if (SettingIs("dllmain", "fault-attach")) Misbehave("av-read");
  } else if (reason == DLL_PROCESS_DETACH) {
    if (SettingIs("dllmain", "fault-detach")) Misbehave("av-read");
  }
  return TRUE;
}
