#pragma once

#include <string>

namespace dorvint {

// One row of the table as text, the way Ctrl+C copies it and the listing
// prints it: name, tab, version, tab, the version's tooltip, CR LF.
std::wstring TableLine(const std::wstring& name, const std::wstring& version,
                       const std::wstring& hint);

}  // namespace dorvint
