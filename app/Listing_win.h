#pragma once

#include "Output_win.h"

namespace dorvint {

// Probes the rows the window would show, as the settings file lists them,
// and writes each to `out` as Ctrl+C copies it, as soon as it is probed.  A
// fault inside a library ends only its own row, whose last column then holds
// the error report's text.  Returns kEveryVersionShown or kSomeVersionMissing.
int RunListing(const StandardStream& out);

}  // namespace dorvint
