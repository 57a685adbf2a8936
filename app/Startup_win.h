#pragma once

#include <string>

namespace dorvint {

// What both programs do before they load any archiver library: a library
// that cannot be loaded shows as missing, never as a system dialog, and
// libraries loaded by bare file name never come from a folder chosen by
// whoever started the program (the current directory leaves the search, and
// becomes the program's own folder).
void PrepareLibrarySearch();

// The folder of the running program, with its final backslash; empty when
// the program's path has none.
std::wstring ProgramFolder();

}  // namespace dorvint
