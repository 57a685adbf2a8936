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

Settings LoadSettings(ProfileReader& reader) {
  Settings settings = DefaultSettings();
  for (int n = 1; n <= kDisplayNameCount; ++n) {
    std::string& name = settings.DisplayNames[n - 1];
    name = reader.Read("Display", std::to_string(n).c_str(), name);
  }
  settings.SubVersionType = reader.Read("SubVersion", "Type", settings.SubVersionType);
  settings.WindowTop = ProfileIntOrDefault(reader.Read("Window", "Top", ""));
  settings.WindowLeft = ProfileIntOrDefault(reader.Read("Window", "Left", ""));
  settings.PictureFlag = reader.Read("Picture", "H", settings.PictureFlag);
  return settings;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> ParseHex(std::string_view digits) {
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  return static_cast<std::int32_t>(value);  // the 32-bit pattern, taken as signed
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseProfileInt(std::string_view text) {
  std::string rewritten;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    rewritten = "$" + std::string(text.substr(2));
    text = rewritten;
  }
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  for (std::string_view prefix : {"$", "0x", "0X", "x", "X"}) {
    if (text.substr(0, prefix.size()) == prefix) return ParseHex(text.substr(prefix.size()));
  }
  return ParseDecimal(text);
}

std::int32_t ProfileIntOrDefault(std::string_view text) {
  return ParseProfileInt(text).value_or(-1);
}

std::vector<ProfileWrite> CloseWrites(const Settings& settings,
                                      const std::string& pictureFlagAsRead, int pictureChanged,
                                      std::int32_t currentTop, std::int32_t currentLeft) {
  std::vector<ProfileWrite> writes;
  if (settings.WindowLeft >= 0 && settings.WindowTop >= 0) {
    writes.push_back({"Window", "Top", std::to_string(currentTop)});
    writes.push_back({"Window", "Left", std::to_string(currentLeft)});
  }
  if (pictureChanged == 1) {
    writes.push_back({"Picture", "H", settings.PictureFlag});
  } else if (pictureFlagAsRead == "True" && settings.PictureFlag != "True") {
    writes.push_back({"Picture", "H", "False"});
  }
  return writes;
}

std::wstring SettingsFilePathFor(const std::wstring& exePath) {
  std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\:") + 1);
  const std::size_t size = folder.size();
  if (size > 0 && folder[size - 1] == L'\\' &&
      !(size > 1 && (folder[size - 2] == L':' || folder[size - 2] == L'\\'))) {
    folder.pop_back();
  }
  return folder + L"\\dorvint.ini";
}

}  // namespace dorvint
