// make_synthetic_cache DIR [EVENTS [CALENDARS [TASKS]]]: writes a synthetic
// cache folder (one tenth of the events recurring) for trying the program or
// the cache tools on a large account.
#include <cstdio>
#include <string>

#include "base/text.h"
#include "support/synthetic_cache.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 5) {
    std::fprintf(stderr, "usage: make_synthetic_cache DIR [EVENTS [CALENDARS [TASKS]]]\n");
    return 2;
  }
  testsupport::SyntheticCacheShape shape;
  int* counts[] = {&shape.events, &shape.calendars, &shape.tasks};
  for (int i = 2; i < argc; ++i) {
    if (!base::parseInt(argv[i], *counts[i - 2]) || *counts[i - 2] < 0) {
      std::fprintf(stderr, "not a count: %s\n", argv[i]);
      return 2;
    }
  }
  shape.recurringEvents = shape.events / 10;
  testsupport::writeSyntheticCache(argv[1], shape);
  return 0;
}
