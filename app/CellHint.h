#pragma once

#include <cstdint>
#include <string>

#include "Probe.h"

// What the tooltip of a version cell says about the probe behind its text.
namespace dorvint {

struct CellHint {
  enum class Kind {
    FilePath,       // the loaded file's full path, from the report
    Text,           // `subject` (may be empty) followed by `text`
    SystemMessage,  // the system's message for `code`, followed by the code
  };
  Kind kind = Kind::Text;
  std::string subject;     // a name from the display list or the catalogue
  const char* text = "";   // a code page 932 text from Texts.h
  std::uint32_t code = 0;  // the load error, for SystemMessage
};

// The tooltip of the version cell of display name `name`.
CellHint HintFor(const ProbeReport& report, const std::string& name);

}  // namespace dorvint
