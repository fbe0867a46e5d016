// Temporary folders and the sample cache folder for tests.
#pragma once

#include <string>

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

}  // namespace testsupport
