// Runs the whole load chain on a cache folder for the commands that read the
// cache.  Nothing is downloaded: a missing or unreadable file is reported on
// the error stream and the chain goes on.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "app/event_extra.h"
#include "app/folders.h"
#include "app/settings.h"
#include "base/ini.h"
#include "base/secret.h"
#include "sync/cache_store.h"

namespace cli {

class CacheLoad final : public gsync::CacheListener {
 public:
  CacheLoad(const std::string& folder, std::ostream& err) : err_(err) {
    // The account decides which lists carry the user's own name.
    app::AppSettings settings;
    app::loadSettings(settings, app::settingsPath());
    const base::IniFile ini(app::settingsPath());
    extras_.load(app::programFolder() + "plan.dat");

    gsync::CacheStoreOptions options;
    options.folder = folder;
    options.googleId = settings.googleId;
    options.myName = base::decodeSecret(ini.readString("Login", "MyName"));
    options.extras = &extras_;
    store_ = std::make_unique<gsync::CacheStore>(options, *this);
    store_->enterChain();
  }

  gsync::CacheStore& store() { return *store_; }
  // Something could not be read.
  bool reported() const { return reported_; }

  void downloadNeeded(gsync::ChainLink link) override {
    report(std::string("캐시 파일이 없습니다: ") + gsync::chainLinkFileName(link));
    store_->continueAfter(link);
  }
  void itemsDownloadNeeded(const gsync::ListSlot& slot) override {
    report("캐시 파일이 없습니다: " + gsync::itemFileName(slot.list->id));
  }
  void loadFailed(const std::string& message) override { report(message); }
  void startItemLoading() override {
    store_->buildSlots();
    for (std::size_t i = 0; i < store_->listSlots().size(); ++i)
      store_->requestListItems(static_cast<int>(i));
  }

 private:
  void report(const std::string& message) {
    err_ << message << "\n";
    reported_ = true;
  }

  std::ostream& err_;
  app::EventExtraList extras_;
  std::unique_ptr<gsync::CacheStore> store_;
  bool reported_ = false;
};

}  // namespace cli
