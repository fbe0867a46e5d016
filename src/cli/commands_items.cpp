// daybook-cli items [--cache DIR]: runs the whole load chain on a cache folder
// and prints every loaded event and task, one tab-separated line each.
#include <ostream>

#include "app/folders.h"
#include "base/files.h"
#include "cli/cache_loading.h"
#include "cli/command.h"
#include "cli/item_printing.h"

namespace cli {
namespace {

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

  CacheLoad load(cache, io.err);
  for (const auto& item : load.store().items()) printItem(*item, io.out);
  return load.reported() ? 1 : 0;
}

const Registration items{{"items", "items [--cache DIR]", itemsCommand}};

}  // namespace
}  // namespace cli
