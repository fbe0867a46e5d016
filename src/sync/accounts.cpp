#include "sync/accounts.h"

#include "app/settings.h"
#include "base/ini.h"
#include "base/secret.h"
#include "base/text.h"

namespace gsync {
namespace {

constexpr const char* kLogin = "Login";

std::string readSecret(const base::IniFile& ini, const std::string& key) {
  return base::decodeSecret(ini.readString(kLogin, key));
}

void writeSecret(base::IniFile& ini, const std::string& key, const std::string& value) {
  ini.writeString(kLogin, key, base::encodeSecret(value));
}

}  // namespace

int AccountList::indexOf(const std::string& address) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].address == address) return static_cast<int>(i);
  return -1;
}

std::string AccountList::passwordOf(const std::string& address) const {
  const int at = indexOf(address);
  return at < 0 ? std::string() : lines_[at].password;
}

int AccountList::put(const std::string& address, const std::string& password) {
  const int at = indexOf(address);
  if (at >= 0) {
    lines_[at].password = password;
    return at;
  }
  lines_.push_back({address, password});
  return static_cast<int>(lines_.size()) - 1;
}

int AccountList::ensure(const std::string& address, const std::string& password) {
  const int at = indexOf(address);
  return at >= 0 ? at : put(address, password);
}

void AccountList::remove(const std::string& address) {
  const int at = indexOf(address);
  if (at >= 0) lines_.erase(lines_.begin() + at);
}

void loadAccounts(const base::IniFile& ini, AccountList& accounts, TokenState& tokens) {
  tokens.authorizationCode = readSecret(ini, "AuthorizationCode");
  tokens.accessToken = readSecret(ini, "AccessToken");
  tokens.refreshToken = readSecret(ini, "RefreshToken");
  tokens.expiry = ini.readFloat(kLogin, "ExpireTime", 0);
  tokens.myName = readSecret(ini, "MyName");
  const int count = ini.readInteger(kLogin, "Count", 0);
  for (int i = 0; i < count; ++i) {
    const std::string address = readSecret(ini, base::format("Id%d", i));
    if (address.empty()) continue;
    accounts.put(address, readSecret(ini, base::format("Passwd%d", i)));
  }
}

void saveAccounts(base::IniFile& ini, const AccountList& accounts, const TokenState& tokens,
                  const std::string& googleId, const std::string& googlePw) {
  writeSecret(ini, "GoogleId", app::withMailDomain(googleId));
  writeSecret(ini, "GooglePw", googlePw);
  writeSecret(ini, "AuthorizationCode", tokens.authorizationCode);
  writeSecret(ini, "AccessToken", tokens.accessToken);
  writeSecret(ini, "RefreshToken", tokens.refreshToken);
  ini.writeFloat(kLogin, "ExpireTime", tokens.expiry);
  writeSecret(ini, "MyName", tokens.myName);
  // Lines beyond the new count are dropped so that a deleted account's
  // password does not stay in the file.
  const int oldCount = ini.readInteger(kLogin, "Count", 0);
  for (int i = static_cast<int>(accounts.size()); i < oldCount; ++i) {
    ini.deleteKey(kLogin, base::format("Id%d", i));
    ini.deleteKey(kLogin, base::format("Passwd%d", i));
  }
  ini.writeInteger(kLogin, "Count", static_cast<int>(accounts.size()));
  for (std::size_t i = 0; i < accounts.size(); ++i) {
    writeSecret(ini, base::format("Id%zu", i), accounts.lines()[i].address);
    writeSecret(ini, base::format("Passwd%zu", i), accounts.lines()[i].password);
  }
}

}  // namespace gsync
