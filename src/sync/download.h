// Fills the cache store from Google.  The store asks for a download when a
// link's file or a list's items are missing; the download stores the answer
// in the link's file (or the slot's detail file) and its follow-up calls the
// link's loader, which goes on with the next link.  Lists of many pages
// arrive whole.
#pragma once

#include "sync/cache_store.h"
#include "sync/request_layer.h"

namespace gsync {

class Download final : public FollowUps {
 public:
  explicit Download(RequestLayer& requests, CacheStore* store = nullptr) : requests_(requests), store_(store) {}

  void setStore(CacheStore* store) { store_ = store; }
  // Follow-ups of the other kinds (the upload of changes).
  void setNext(FollowUps* next) { next_ = next; }

  // The store's CacheListener::downloadNeeded.
  void downloadLink(ChainLink link);
  // The store's CacheListener::itemsDownloadNeeded.
  void downloadItems(const ListSlot& slot);

  void followUp(RequestKind kind, const HeldArguments& held) override;

 private:
  RequestLayer& requests_;
  CacheStore* store_ = nullptr;
  FollowUps* next_ = nullptr;
};

// The store's listener for a whole load without windows: every missing file
// is downloaded and the slots are loaded one after another.  The command-line
// tool and the tests drive the load chain with it.
class DownloadingChain : public CacheListener {
 public:
  explicit DownloadingChain(Download& download) : download_(download) {}
  void setStore(CacheStore* store) { store_ = store; }

  void downloadNeeded(ChainLink link) override { download_.downloadLink(link); }
  void itemsDownloadNeeded(const ListSlot& slot) override { download_.downloadItems(slot); }
  void startItemLoading() override;
  void itemsLoaded(const ListSlot& slot) override;
  void loadFailed(const std::string& message) override { failures.push_back(message); }

  int slotsDone = 0;
  std::vector<std::string> failures;

 private:
  Download& download_;
  CacheStore* store_ = nullptr;
};

}  // namespace gsync
