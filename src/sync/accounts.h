// The known Google accounts of the connection window and the stored session:
// section "Login" of daybook.ini (Count, Id%d, Passwd%d, AuthorizationCode,
// AccessToken, RefreshToken, ExpireTime, MyName, GoogleId, GooglePw).
#pragma once

#include <string>
#include <vector>

#include "sync/request_layer.h"

namespace base {
class IniFile;
}

namespace gsync {

struct AccountLine {
  std::string address;
  std::string password;
};

// The account lines, in the order of the id box.
class AccountList {
 public:
  const std::vector<AccountLine>& lines() const { return lines_; }
  std::size_t size() const { return lines_.size(); }
  int indexOf(const std::string& address) const;  // -1 when missing
  std::string passwordOf(const std::string& address) const;
  // Appends a new address or replaces the password of a known one; returns
  // its index.
  int put(const std::string& address, const std::string& password);
  // Adds the address with its password only when it is missing.
  int ensure(const std::string& address, const std::string& password);
  void remove(const std::string& address);

 private:
  std::vector<AccountLine> lines_;
};

void loadAccounts(const base::IniFile& ini, AccountList& accounts, TokenState& tokens);
// Writes the current account, the session and every account line.
void saveAccounts(base::IniFile& ini, const AccountList& accounts, const TokenState& tokens,
                  const std::string& googleId, const std::string& googlePw);

}  // namespace gsync
