#include "cli/command.h"

#include <algorithm>
#include <ostream>

namespace cli {

namespace {
std::vector<Command>& registry() {
  static std::vector<Command> list;
  return list;
}
}  // namespace

void registerCommand(Command command) { registry().push_back(std::move(command)); }

const std::vector<Command>& commands() { return registry(); }

int runCli(const std::vector<std::string>& args, Io& io) {
  if (args.empty() || args[0] == "help" || args[0] == "--help") {
    io.out << "usage: daybook-cli COMMAND [ARGS]\n";
    std::vector<Command> sorted = registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const Command& c : sorted) io.out << "  " << c.usage << "\n";
    return args.empty() ? 2 : 0;
  }
  for (const Command& c : registry()) {
    if (c.name == args[0]) return c.run(std::vector<std::string>(args.begin() + 1, args.end()), io);
  }
  io.err << "daybook-cli: unknown command \"" << args[0] << "\" (try: daybook-cli help)\n";
  return 2;
}

}  // namespace cli
