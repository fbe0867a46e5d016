#include "app/folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "base/files.h"

namespace app {
namespace {

std::string envOr(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : std::string();
}

std::string homeSubfolder(const char* xdgVariable, const char* fallback) {
  std::string base = envOr(xdgVariable);
  if (base.empty()) {
    std::string home = envOr("HOME");
    if (home.empty()) home = "/tmp";
    base = base::joinPath(home, fallback);
  }
  return base;
}

}  // namespace

std::string executablePath() {
  std::error_code ec;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.string();
}

std::string programFolder() {
  if (std::string home = envOr("DAYBOOK_HOME"); !home.empty()) return base::withTrailingSlash(home);
  const std::string exe = executablePath();
  if (!exe.empty()) {
    const std::string folder = std::filesystem::path(exe).parent_path().string();
    if (base::fileExists(base::joinPath(folder, "daybook.ini"))) return base::withTrailingSlash(folder);
  }
  return base::withTrailingSlash(base::joinPath(homeSubfolder("XDG_DATA_HOME", ".local/share"), "daybook"));
}

std::string cacheFolder() {
  if (std::string cache = envOr("DAYBOOK_CACHE"); !cache.empty()) return base::withTrailingSlash(cache);
  return base::withTrailingSlash(base::joinPath(homeSubfolder("XDG_CACHE_HOME", ".cache"), "daybook/google"));
}

std::string settingsPath() { return programFolder() + "daybook.ini"; }

}  // namespace app
