#include "app/settings.h"

#include "base/fields.h"
#include "base/ini.h"
#include "base/secret.h"
#include "base/text.h"

#ifndef DAYBOOK_MAIL_DOMAIN
#define DAYBOOK_MAIL_DOMAIN "gmail.com"
#endif

namespace app {

AppSettings& settings() {
  static AppSettings s;
  return s;
}

std::string mailDomain() { return DAYBOOK_MAIL_DOMAIN; }

std::string withMailDomain(const std::string& id, const std::string& domain) {
  if (id.empty() || base::contains(id, "@" + domain)) return id;
  // An id that is already a full address of another domain is left as it is:
  // appending a second domain would make it an address nobody owns.
  if (base::contains(id, "@")) return id;
  return id + "@" + domain;
}

void parseSimplePos(const std::string& text, int& left, int& top) {
  std::string rest = text;
  left = base::toIntDef(base::takeField("|", rest), -1);
  top = base::toIntDef(rest, 10);
}

void parseMyAddress(const std::string& text, AppSettings& out) {
  if (!base::contains(text, "|")) {
    out.myAddress = kDefaultAddress;
    out.longitude = kDefaultLongitude;
    out.latitude = kDefaultLatitude;
    out.mapX = kDefaultMapX;
    out.mapY = kDefaultMapY;
    return;
  }
  std::string rest = text;
  out.myAddress = base::takeField("|", rest);
  // Malformed or missing coordinates fall back to the default position.
  double value;
  out.longitude = base::parseDouble(base::takeField("|", rest), value) ? value : kDefaultLongitude;
  out.latitude = base::parseDouble(base::takeField("|", rest), value) ? value : kDefaultLatitude;
  out.mapX = base::takeField("|", rest);
  out.mapY = base::takeField("|", rest);
}

std::string formatMyAddress(const AppSettings& s) {
  return s.myAddress + "|" + base::formatShortest(s.longitude) + "|" +
         base::formatShortest(s.latitude) + "|" + s.mapX + "|" + s.mapY;
}

void loadSettings(AppSettings& out, const std::string& path, const std::string& domain) {
  const base::IniFile ini(path);
  out.settingsFile = path;
  const std::string storedId = base::decodeSecret(ini.readString("Login", "GoogleId"));
  out.loginId = base::decodeSecret(ini.readString("Login", "LoginId"));
  if (out.loginId.empty()) out.loginId = storedId;
  out.googleId = withMailDomain(storedId, domain);
  out.googlePw = base::decodeSecret(ini.readString("Login", "GooglePw"));

  out.alarmEmail = ini.readBool("Environment", "AlarmEmail", true);
  out.alarmSound = ini.readBool("Environment", "AlarmSound", true);
  out.autoExe = ini.readBool("Environment", "AutoExe", true);
  out.songIndex = ini.readInteger("Environment", "SongIndex", 0);
  out.autoPlay = ini.readBool("Environment", "AutoPlay", true);
  out.songList = ini.readString("Environment", "SongList");
  out.simpleGrade = ini.readInteger("Environment", "SimpleGrade", 245);
  parseSimplePos(ini.readString("Environment", "SimplePos", "-1|0"), out.simpleLeft, out.simpleTop);
  out.myPhone = base::decodeSecret(ini.readString("Environment", "MyPhone"));
  out.cellPhone = base::decodeSecret(ini.readString("Environment", "CellPhone"));
  parseMyAddress(base::decodeSecret(ini.readString("Environment", "MyAddress")), out);

  out.mailInterval = ini.readInteger("MailAlarm", "Interval", 10);
  out.mailSubject = ini.readBool("MailAlarm", "Subject", false);
  out.mailDomain = ini.readBool("MailAlarm", "Domain", false);
  out.alarmSms = ini.readBool("MailAlarm", "AlarmSMS", true);

  out.actionFromCompact = false;
  out.noAccountStored = out.googleId.empty();
}

void writeAccount(base::IniFile& ini, const std::string& googleId, const std::string& password,
                  const std::string& domain) {
  const std::string full = withMailDomain(googleId, domain);
  ini.writeString("Login", "GoogleId", base::encodeSecret(full));
  ini.writeString("Login", "LoginId", base::encodeSecret(full));
  ini.writeString("Login", "GooglePw", base::encodeSecret(password));
}

void writeExitEnvironment(base::IniFile& ini, const AppSettings& s) {
  ini.writeString("Environment", "SimplePos", base::format("%d|%d", s.simpleLeft, s.simpleTop));
  ini.writeInteger("Environment", "SimpleGrade", s.simpleGrade);
  ini.writeInteger("Environment", "SongIndex", s.songIndex);
  ini.writeBool("Environment", "AutoPlay", s.autoPlay);
  ini.writeString("Environment", "SongList", s.songList);
  ini.writeBool("Environment", "AlarmEmail", s.alarmEmail);
}

bool saveSettingsFile(const base::IniFile& ini) { return ini.save(0600); }

}  // namespace app
