#include "support/cache_fixtures.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

TempFolder::TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "daybook-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempFolder::file(const std::string& name) const { return path_ + "/" + name; }

std::string sampleCacheFolder() { return std::string(DAYBOOK_SOURCE_DIR) + "/tests/data/cache-sample"; }

void copySampleCache(const std::string& folder) {
  fs::copy(sampleCacheFolder(), folder,
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

LoadedStore::LoadedStore(const std::string& folder, const std::string& googleId,
                         const std::string& myName) {
  gsync::CacheStoreOptions options;
  options.folder = folder;
  options.googleId = googleId;
  options.myName = myName;
  options.extras = &extras;
  store_ = std::make_unique<gsync::CacheStore>(options, *this);
  store_->enterChain();
}

void LoadedStore::startItemLoading() {
  store_->buildSlots();
  for (std::size_t i = 0; i < store_->listSlots().size(); ++i)
    store_->requestListItems(static_cast<int>(i));
}

}  // namespace testsupport
