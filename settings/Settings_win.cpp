#include "Settings_win.h"

#include <windows.h>

namespace dorvint {
namespace {

// The settings file's path, worked out afresh each time the file is opened.
std::wstring SettingsFilePath() {
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
  return SettingsFilePathFor(exe);
}

std::wstring ToWide(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

std::string ToNarrow(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::string narrow(
      WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(),
                      static_cast<int>(narrow.size()), nullptr, nullptr);
  return narrow;
}

// Values come back as texts in the ANSI code page, as the rest of the
// program keeps them.
class ProfileFile final : public ProfileReader {
 public:
  std::string Read(const char* section, const char* key, const std::string& fallback) override {
    wchar_t value[kProfileValueBuffer];
    GetPrivateProfileStringW(ToWide(section, CP_ACP).c_str(), ToWide(key, CP_ACP).c_str(),
                             ToWide(fallback, CP_ACP).c_str(), value, kProfileValueBuffer,
                             path_.c_str());
    return ToNarrow(value, CP_ACP);
  }

 private:
  std::wstring path_ = SettingsFilePath();
};

}  // namespace

Settings ReadSettingsFile() {
  // Without a file every value is its default: spare the thirty lookups.
  if (GetFileAttributesW(SettingsFilePath().c_str()) == INVALID_FILE_ATTRIBUTES) {
    return DefaultSettings();
  }
  ProfileFile file;
  return LoadSettings(file);
}

void WriteSettingsFile(const std::vector<ProfileWrite>& writes) {
  const std::wstring path = SettingsFilePath();
  for (const ProfileWrite& write : writes) {
    if (!WritePrivateProfileStringW(ToWide(write.section, CP_ACP).c_str(),
                                    ToWide(write.key, CP_ACP).c_str(),
                                    ToWide(write.value, CP_ACP).c_str(), path.c_str())) {
      // "%s に書き込めません"
      throw SettingsWriteError(ToNarrow(path, 932) +
                               " \x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1");
    }
  }
}

}  // namespace dorvint
