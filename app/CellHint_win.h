#pragma once

#include <string>

#include "Probe.h"

namespace dorvint {

// The tooltip text of the version cell of display name `name`, as shown.
std::wstring HintText(const ProbeReport& report, const std::string& name);

}  // namespace dorvint
