// daybook-cli items [--cache DIR]: runs the whole load chain on a cache folder
// and prints every loaded event and task, one tab-separated line each.
#include <ostream>

#include "app/event_extra.h"
#include "app/folders.h"
#include "app/settings.h"
#include "base/files.h"
#include "base/ini.h"
#include "base/secret.h"
#include "base/text.h"
#include "cli/command.h"
#include "sync/cache_store.h"

namespace cli {
namespace {

// Nothing is downloaded here: a missing file is reported and the chain goes on.
class ItemsListener : public gsync::CacheListener {
 public:
  explicit ItemsListener(std::ostream& err) : err_(err) {}
  void attach(gsync::CacheStore& store) { store_ = &store; }
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
    for (std::size_t i = 0; i < store_->slots().size(); ++i)
      store_->requestListItems(static_cast<int>(i));
  }

 private:
  void report(const std::string& message) {
    err_ << message << "\n";
    reported_ = true;
  }

  std::ostream& err_;
  gsync::CacheStore* store_ = nullptr;
  bool reported_ = false;
};

// Tabs and line breaks inside a field would break the line format.
std::string field(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

void printItem(const gsync::ItemRecord& item, std::ostream& out) {
  out << field(item.list->name) << '\t' << field(item.list->id) << '\t' << item.kind << '\t'
      << field(item.id) << '\t' << field(item.title) << '\t' << field(item.note) << '\t'
      << (item.timed ? 1 : 0) << '\t' << base::formatDateMinute(item.start) << '\t'
      << base::formatDateMinute(item.end) << '\n';
}

int itemsCommand(const std::vector<std::string>& args, Io& io) {
  std::string cache;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--cache" && i + 1 < args.size()) {
      cache = args[++i];
    } else {
      io.err << "usage: daybook-cli items [--cache DIR]\n";
      return 2;
    }
  }
  if (cache.empty()) cache = app::cacheFolder();
  if (!base::directoryExists(cache)) {
    io.err << "캐시 폴더가 없습니다: " << cache << "\n";
    return 1;
  }

  // The account decides which lists carry the user's own name.
  app::AppSettings settings;
  app::loadSettings(settings, app::settingsPath());
  const base::IniFile ini(app::settingsPath());
  app::EventExtraList extras;
  extras.load(app::programFolder() + "plan.dat");

  gsync::CacheStoreOptions options;
  options.folder = cache;
  options.googleId = settings.googleId;
  options.myName = base::decodeSecret(ini.readString("Login", "MyName"));
  options.extras = &extras;
  ItemsListener listener(io.err);
  gsync::CacheStore store(options, listener);
  listener.attach(store);
  store.enterChain();

  for (const auto& item : store.items()) printItem(*item, io.out);
  return listener.reported() ? 1 : 0;
}

const Registration items{{"items", "items [--cache DIR]", itemsCommand}};

}  // namespace
}  // namespace cli
