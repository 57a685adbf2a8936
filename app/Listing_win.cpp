#include "Listing_win.h"

#include "CellHint_win.h"
#include "ErrorReport_win.h"
#include "Layout.h"
#include "Listing.h"
#include "Loader_win.h"
#include "Probe.h"
#include "Settings_win.h"
#include "TableText.h"
#include "Text_win.h"

namespace dorvint {

int RunListing(const StandardStream& out) {
  const Settings settings = ReadSettingsFile();
  const int rowCount = CountRows(settings.DisplayNames);
  Win32LibraryLoader loader;
  bool everyVersionShown = true;
  for (int n = 1; n <= rowCount; ++n) {
    const std::string& name = settings.DisplayNames[n - 1];
    // A faulting library leaves its version empty, as the window shows it.
    std::wstring version;
    std::wstring hint;
    try {
      const ProbeReport report = ProbeLibrary(name, settings.SubVersionType, loader);
      version = Widen(report.text, CP_ACP);
      hint = HintText(report, name);
      everyVersionShown = everyVersionShown && ShowsVersion(report.text);
    } catch (const LibraryFault& fault) {
      hint = ErrorReportText(fault.what());
      everyVersionShown = false;
    }
    out.Write(TableLine(Widen(name, CP_ACP), version, hint));
  }
  return everyVersionShown ? kEveryVersionShown : kSomeVersionMissing;
}

}  // namespace dorvint
