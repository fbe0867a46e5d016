// The process-wide settings record and the settings file daybook.ini.
#pragma once

#include <string>

namespace base {
class IniFile;
}

namespace app {

// Address used until the user stores their own.
inline constexpr const char* kDefaultAddress = "서울특별시 강남구 청담동";
inline constexpr double kDefaultLongitude = 127.053904129352;
inline constexpr double kDefaultLatitude = 37.526685139144;
inline constexpr const char* kDefaultMapX = "513068";
inline constexpr const char* kDefaultMapY = "1108038";

struct AppSettings {
  std::string googleId;  // full address, with the mail domain
  std::string loginId;
  std::string googlePw;
  std::string settingsFile;  // full path of daybook.ini
  std::string cacheFolder;   // set by the Google connection window

  // [Environment]
  bool alarmEmail = true;
  bool alarmSound = true;
  bool autoExe = true;
  int songIndex = 0;
  bool autoPlay = true;
  std::string songList;
  int simpleGrade = 245;
  int simpleLeft = -1;  // -1: screen width - 243
  int simpleTop = 0;
  std::string myPhone, cellPhone;
  std::string myAddress = kDefaultAddress;
  double longitude = kDefaultLongitude;
  double latitude = kDefaultLatitude;
  std::string mapX = kDefaultMapX, mapY = kDefaultMapY;

  // [MailAlarm]
  int mailInterval = 10;  // minutes
  bool mailSubject = false;
  bool mailDomain = false;
  bool alarmSms = true;

  // Run-time flags.
  bool noAccountStored = false;
  bool closing = false;
  bool actionFromCompact = false;
};

AppSettings& settings();  // the one process-wide record

// The consumer mail domain appended to bare Google ids ("gmail.com" unless
// the build says otherwise).
std::string mailDomain();
// "name" -> "name@<domain>"; an id that already holds an address is kept.
std::string withMailDomain(const std::string& id, const std::string& domain = mailDomain());

// Reads the settings file into `out` (missing file or keys: defaults).
void loadSettings(AppSettings& out, const std::string& path, const std::string& domain = mailDomain());

// SimplePos "left|top": left defaults to -1, top to 10 when not a number.
void parseSimplePos(const std::string& text, int& left, int& top);
// MyAddress (decoded): five "|" fields, or the defaults when there is no "|".
void parseMyAddress(const std::string& text, AppSettings& out);
std::string formatMyAddress(const AppSettings& s);

// Writers.  Each changes the named keys in `ini`; the caller saves it.
void writeAccount(base::IniFile& ini, const std::string& googleId, const std::string& password,
                  const std::string& domain = mailDomain());
void writeExitEnvironment(base::IniFile& ini, const AppSettings& s);
// Saves daybook.ini atomically, readable by the user only (it holds secrets).
bool saveSettingsFile(const base::IniFile& ini);

}  // namespace app
