/* Preloaded into the 32-bit programs the CPU emulator runs (see
 * emulate-i386.sh).  Wine tells a page fault from an illegal instruction or a
 * division by zero by the trap number and error code of the signal context,
 * which the kernel fills in from the processor.  qemu-user leaves them as they
 * happen to be, so this wraps the fault signals' handlers and fills them in
 * from the signal information first.
 *
 * Built for i386 without the 32-bit C headers, which a 64-bit Debian lacks:
 * the few declarations it needs are spelt out below. */

typedef unsigned int u32;

/* glibc's struct sigaction on i386. */
struct action {
  void *handler;
  u32 mask[32];
  int flags;
  void (*restorer)(void);
};

/* The head of siginfo_t on i386, with si_addr of the fault signals. */
struct info {
  int signo;
  int error;
  int code;
  void *address;
};

extern void *dlsym(void *handle, const char *name);
#define RTLD_NEXT ((void *)-1)

enum { SIGILL_ = 4, SIGTRAP_ = 5, SIGBUS_ = 7, SIGFPE_ = 8, SIGSEGV_ = 11, SIGNALS = 65 };
enum { SA_SIGINFO_ = 4, SI_KERNEL_ = 0x80, SEGV_ACCERR_ = 2, FPE_INTDIV_ = 1, FPE_INTOVF_ = 2 };
enum { TRAP_BRKPT_ = 1 };

/* Offsets into ucontext_t's general registers, and their trap numbers. */
enum { REG_EDI_ = 4, REG_ESP_ = 7, REG_TRAPNO_ = 12, REG_ERR_ = 13, REG_EIP_ = 14 };
enum { TRAP_DIVIDE = 0, TRAP_DEBUG = 1, TRAP_BREAKPOINT = 3, TRAP_OVERFLOW = 4,
       TRAP_INVALID_OPCODE = 6, TRAP_PROTECTION = 13, TRAP_PAGE = 14, TRAP_FPU = 16,
       TRAP_ALIGNMENT = 17 };
/* Page fault error code bits. */
enum { PAGE_PRESENT = 1, PAGE_WRITE = 2, PAGE_USER = 4, PAGE_FETCH = 16 };

static int (*next_sigaction)(int, const struct action *, struct action *);
static struct action installed[SIGNALS];

static int is_prefix(unsigned char b) {
  return b == 0x66 || b == 0x67 || b == 0xF2 || b == 0xF3 || b == 0xF0 || b == 0x26 ||
         b == 0x2E || b == 0x36 || b == 0x3E || b == 0x64 || b == 0x65;
}

/* Whether the instruction at `code` writes to `address`, for the forms that
 * compilers emit for stores, pushes and calls. */
static int writes(const unsigned char *code, u32 address, const int *registers) {
  int n = 0;
  while (n < 14 && is_prefix(code[n])) ++n;
  const unsigned char op = code[n], modrm = code[n + 1], reg = (modrm >> 3) & 7;
  if (op == 0x88 || op == 0x89 || op == 0xC6 || op == 0xC7 || op == 0xAA || op == 0xAB) return 1;
  if (op == 0xA4 || op == 0xA5) return address == (u32)registers[REG_EDI_];
  if (op == 0xE8 || (op >= 0x50 && op <= 0x57) || op == 0x68 || op == 0x6A || op == 0x9C) return 1;
  if (op == 0xFF && (reg == 2 || reg == 6)) return address < (u32)registers[REG_ESP_];
  if (op < 0x40 && (op & 7) < 2 && (op & 6) != 6) return 1; /* add/or/.../cmp r/m, r */
  if (op == 0x0F) return code[n + 1] == 0x11 || code[n + 1] == 0x29 || code[n + 1] == 0x7F;
  return 0;
}

static void fill_in(int signal, const struct info *info, void *context) {
  int *registers = (int *)((char *)context + 20); /* uc_mcontext.gregs */
  int trap = 0, error = 0;
  switch (signal) {
    case SIGSEGV_:
      if (info->code == SI_KERNEL_) {
        trap = TRAP_PROTECTION;
        break;
      }
      trap = TRAP_PAGE;
      error = PAGE_USER | (info->code == SEGV_ACCERR_ ? PAGE_PRESENT : 0);
      if ((u32)info->address == (u32)registers[REG_EIP_]) {
        error |= PAGE_FETCH;
      } else if (writes((const unsigned char *)registers[REG_EIP_], (u32)info->address,
                        registers)) {
        error |= PAGE_WRITE;
      }
      break;
    case SIGILL_:
      trap = TRAP_INVALID_OPCODE;
      break;
    case SIGFPE_:
      trap = info->code == FPE_INTDIV_ ? TRAP_DIVIDE
             : info->code == FPE_INTOVF_ ? TRAP_OVERFLOW
                                         : TRAP_FPU;
      break;
    case SIGTRAP_:
      trap = info->code == TRAP_BRKPT_ ? TRAP_BREAKPOINT : TRAP_DEBUG;
      break;
    case SIGBUS_:
      trap = TRAP_ALIGNMENT;
      break;
  }
  registers[REG_TRAPNO_] = trap;
  registers[REG_ERR_] = error;
}

static void relay(int signal, struct info *info, void *context) {
  fill_in(signal, info, context);
  const struct action *next = &installed[signal];
  if (next->flags & SA_SIGINFO_) {
    ((void (*)(int, struct info *, void *))next->handler)(signal, info, context);
  } else {
    ((void (*)(int))next->handler)(signal);
  }
}

static int is_fault_signal(int signal) {
  return signal == SIGILL_ || signal == SIGTRAP_ || signal == SIGBUS_ || signal == SIGFPE_ ||
         signal == SIGSEGV_;
}

int sigaction(int signal, const struct action *action, struct action *old) {
  if (!next_sigaction) next_sigaction = dlsym(RTLD_NEXT, "sigaction");
  if (!is_fault_signal(signal) || !action || action->handler == (void *)0 ||
      action->handler == (void *)1) {
    const struct action before = is_fault_signal(signal) ? installed[signal] : (struct action){0};
    const int result = next_sigaction(signal, action, old);
    if (result == 0 && old && old->handler == (void *)relay) *old = before;
    return result;
  }
  /* Record the handler before the relay can be called for it. */
  const struct action before = installed[signal];
  installed[signal] = *action;
  struct action relayed = *action;
  relayed.handler = (void *)relay;
  relayed.flags |= SA_SIGINFO_;
  struct action previous;
  const int result = next_sigaction(signal, &relayed, &previous);
  if (result != 0) {
    installed[signal] = before;
  } else if (old) {
    *old = previous.handler == (void *)relay ? before : previous;
  }
  return result;
}
