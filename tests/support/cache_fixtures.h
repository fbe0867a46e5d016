// Temporary folders and the sample cache folder for tests.
#pragma once

#include <memory>
#include <string>

#include "app/event_extra.h"
#include "sync/cache_store.h"

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

// tests/data/cache-sample in the source tree (never write into it).
std::string sampleCacheFolder();
// Copies the sample cache's files into `folder`.
void copySampleCache(const std::string& folder);

// The sample account.
inline constexpr const char* kSampleGoogleId = "minji.kim@gmail.com";
inline constexpr const char* kSampleMyName = "김민지";

// A cache store over a folder, loaded through the whole chain with every
// list's items read at its end, as the window's stepping does.
class LoadedStore : public gsync::CacheListener {
 public:
  explicit LoadedStore(const std::string& folder, const std::string& googleId = kSampleGoogleId,
                       const std::string& myName = kSampleMyName);
  gsync::CacheStore& store() { return *store_; }
  app::EventExtraList extras;

  void startItemLoading() override;

 private:
  std::unique_ptr<gsync::CacheStore> store_;
};

}  // namespace testsupport
