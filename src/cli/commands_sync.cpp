// daybook-cli sync [--cache DIR]: downloads the account's calendars, task
// lists, colours and items into the cache folder with the session stored in
// daybook.ini (refreshing an expired token), then prints the items as
// "daybook-cli items" does.
#include <chrono>
#include <ostream>
#include <thread>

#include "app/event_extra.h"
#include "app/folders.h"
#include "app/settings.h"
#include "base/files.h"
#include "base/http.h"
#include "base/ini.h"
#include "cli/command.h"
#include "cli/item_printing.h"
#include "sync/accounts.h"
#include "sync/cache_store.h"
#include "sync/download.h"
#include "sync/google_config.h"
#include "sync/request_layer.h"

namespace cli {
namespace {

constexpr const char* kNoSession =
    "저장된 구글 로그인 정보가 없습니다. 데이북에서 먼저 로그인하세요.";

// Without windows there is no sign-in: a request that needs one ends the command.
struct NoSession {};

class CliHost final : public gsync::RequestHost {
 public:
  void signInNeeded() override { throw NoSession{}; }
  void pause(int milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

int usage(Io& io) {
  io.err << "usage: daybook-cli sync [--cache DIR]\n";
  return 2;
}

// Writes the (possibly refreshed) session back, keeping every other key.
void saveSession(const gsync::AccountList& accounts, const gsync::TokenState& tokens,
                 const app::AppSettings& settings) {
  base::IniFile ini(app::settingsPath());
  gsync::saveAccounts(ini, accounts, tokens, settings.googleId, settings.googlePw);
  app::saveSettingsFile(ini);
}

int syncCommand(const std::vector<std::string>& args, Io& io) {
  std::string cache;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--cache" && i + 1 < args.size())
      cache = args[++i];
    else
      return usage(io);
  }
  if (cache.empty()) cache = app::cacheFolder();
  cache = base::withTrailingSlash(cache);
  if (!base::makeDirectories(cache)) {
    io.err << "캐시 폴더를 만들 수 없습니다: " << cache << "\n";
    return 1;
  }

  app::AppSettings settings;
  app::loadSettings(settings, app::settingsPath());
  gsync::AccountList accounts;
  gsync::TokenState tokens;
  gsync::loadAccounts(base::IniFile(app::settingsPath()), accounts, tokens);
  if (tokens.authorizationCode.empty() || (tokens.accessToken.empty() && tokens.refreshToken.empty())) {
    io.err << kNoSession << "\n";
    return 2;
  }

  app::EventExtraList extras;
  extras.load(app::programFolder() + "plan.dat");
  CliHost host;
  gsync::RequestLayer requests(gsync::googleConfigFromEnvironment(), cache, tokens, base::httpClient(), host);
  gsync::Download download(requests);
  requests.setFollowUps(&download);
  gsync::DownloadingChain chain(download);
  gsync::CacheStoreOptions options;
  options.folder = cache;
  options.googleId = settings.googleId;
  options.myName = tokens.myName;
  options.extras = &extras;
  gsync::CacheStore store(options, chain);
  chain.setStore(&store);
  download.setStore(&store);

  try {
    store.enterChain();
  } catch (const NoSession&) {
    io.err << kNoSession << "\n";
    return 2;
  } catch (const gsync::RequestError& error) {
    io.err << error.what() << "\n";
    // A refused token leaves no session: the user must sign in again.
    const bool refused = tokens.authorizationCode.empty() || error.status() == 401;
    if (refused) saveSession(accounts, tokens, settings);
    return refused ? 2 : 1;
  }
  saveSession(accounts, tokens, settings);
  for (const std::string& failure : chain.failures) io.err << failure << "\n";
  for (const auto& item : store.items()) printItem(*item, io.out);
  return chain.failures.empty() ? 0 : 1;
}

const Registration sync{{"sync", "sync [--cache DIR]", syncCommand}};

}  // namespace
}  // namespace cli
