#include "Settings.h"

namespace dorvint {

Settings DefaultSettings() {
  return Settings{
      {"UNLHA32",  "UNARJ32J", "ISH32",  "UNZIP32", "ZIP32J",  "IZIP32J", "ZCRYPT32",
       "TAR32",    "BZ2LIB",   "CAB32",  "UNRAR32", "FTP32",   "UNKANJ",  "AISH32",
       "AISHMV32", "BGA32",    "Jack32", "UNBEL32", "UnGCA32", "YZ1",     "UNYZ1",
       "7-zip32",  "unimp32",  "NKF32",  "WinEx32", ""},
      "A",
      -1,
      -1,
      "False",
  };
}

}  // namespace dorvint
