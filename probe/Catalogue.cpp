#include "Catalogue.h"

namespace dorvint {

namespace {
constexpr auto U16 = ResultKind::Unsigned16;
constexpr auto S32 = ResultKind::Signed32;
constexpr auto Plain = VersionRule::Plain;
constexpr auto Suffix = VersionRule::MainWithSuffix;
}  // namespace

// clang-format off
const std::array<CatalogueEntry, 26> LibraryCatalogue = {{
    {"unlha32",  "Unlha32.dll",  "UnlhaGetVersion",    "UnlhaGetSubVersion",    U16, Suffix, "?"},
    {"unzip32",  "Unzip32.dll",  "UnZipGetVersion",    nullptr,                 U16, Plain,  "?"},
    {"zip32j",   "Zip32j.dll",   "ZipGetVersion",      nullptr,                 U16, Plain,  "?"},
    {"izip32j",  "IZip32j.dll",  "IZip32JGetVersion",  nullptr,                 U16, Plain,  "?"},
    {"cab32",    "Cab32.dll",    "CabGetVersion",      nullptr,                 U16, Plain,  "?"},
    {"unarj32j", "Unarj32j.dll", "UnarjGetVersion",    "UnarjGetSubVersion",    U16, Suffix, "?"},
    {"unrar32",  "Unrar32.dll",  "UnrarGetVersion",    nullptr,                 U16, Plain,  "?"},
    {"unrar",    "Unrar.dll",    "RARGetDllVersion",   nullptr,                 S32, Plain,  "< 0.01"},
    {"tar32",    "Tar32.dll",    "TarGetVersion",      nullptr,                 U16, Plain,  "?"},
    {"bz2lib",   "Bz2lib.dll",   "BZ2GetVersion",      nullptr,                 S32, Plain,  "?"},
    {"zcrypt32", "Zcrypt32.dll", "ZCrypt32GetVersion", nullptr,                 S32, Plain,  "?"},
    {"ish32",    "Ish32.dll",    "IshGetVersion",      nullptr,                 S32, Plain,  "?"},
    {"ftp32",    "Ftp32.dll",    "FtpGetVersion",      nullptr,                 U16, Plain,  "?"},
    {"unkanj",   "unkanj.dll",   "ccGetVersion",       nullptr,                 U16, Plain,  "?"},
    {"bga32",    "bga32.dll",    "BgaGetVersion",      nullptr,                 U16, Plain,  "?"},
    {"jack32",   "jack32.dll",   "JackGetVersion",     nullptr,                 U16, Plain,  "?"},
    {"yz1",      "Yz1.dll",      "Yz1GetVersion",      nullptr,                 U16, Plain,  "?"},
    {"unyz1",    "UnYz1.dll",    "UnYz1GetVersion",    nullptr,                 U16, Plain,  "?"},
    {"aish32",   "Aish32.dll",   "AishGetVersion",     nullptr,                 U16, Plain,  "?"},
    {"aishmv32", "Aishmv32.dll", "AishmvGetVersion",   nullptr,                 U16, Plain,  "?"},
    {"unbel32",  "Unbel32.dll",  "UnbelGetVersion",    nullptr,                 U16, Plain,  "?"},
    {"ungca32",  "Ungca32.dll",  "UnGCAGetVersion",    "UnGCAGetSubVersion",    U16, Suffix, "?"},
    {"unimp32",  "Unimp32.dll",  "UnimpGetVersion",    "UnimpGetSubVersion",    U16, VersionRule::UnimpForm, "?"},
    {"winex32",  "winex32.dll",  "WinExGetVersion",    nullptr,                 U16, Plain,  "?"},
    {"nkf32",    "Nkf32.dll",    "GetNkfVersion",      nullptr,                 ResultKind::Text, VersionRule::Text, "?"},
    {"7-zip32",  "7-zip32.dll",  "SevenZipGetVersion", "SevenZipGetSubVersion", U16, VersionRule::Compound, "?"},
}};
// clang-format on

std::string CatalogueKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

const CatalogueEntry* FindCatalogueEntry(std::string_view key) {
  for (const CatalogueEntry& entry : LibraryCatalogue) {
    if (key == entry.key) return &entry;
  }
  return nullptr;
}

}  // namespace dorvint
