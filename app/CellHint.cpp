#include "CellHint.h"

#include "Texts.h"

namespace dorvint {
namespace {

// Load errors that have a text of their own.
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kModuleNotFound = 126;
constexpr std::uint32_t kBadExeFormat = 193;
constexpr std::uint32_t kDllInitFailed = 1114;

CellHint Text(std::string subject, const char* text) {
  CellHint hint;
  hint.subject = std::move(subject);
  hint.text = text;
  return hint;
}

CellHint LoadFailure(std::uint32_t code) {
  switch (code) {
    case kFileNotFound:
    case kModuleNotFound:
      return Text("", kNotFoundHint);
    case kBadExeFormat:
      return Text("", kNot32BitHint);
    case kDllInitFailed:
      return Text("", kInitFailedHint);
    default:
      break;
  }
  CellHint hint;
  hint.kind = CellHint::Kind::SystemMessage;
  hint.code = code;
  return hint;
}

}  // namespace

CellHint HintFor(const ProbeReport& report, const std::string& name) {
  switch (report.status) {
    case ProbeStatus::Answered: {
      CellHint hint;
      hint.kind = CellHint::Kind::FilePath;
      return hint;
    }
    case ProbeStatus::UnknownName:
      return Text(name, kUnknownNameHint);
    case ProbeStatus::NotLoaded:
      return LoadFailure(report.loadError);
    case ProbeStatus::EntryMissing:
      return Text(report.missingEntry, kEntryMissingHint);
  }
  return {};
}

}  // namespace dorvint
