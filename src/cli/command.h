// daybook-cli: each area registers its sub-commands from its own file
// (commands_<area>.cpp) with a static Registration object.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

struct Io {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// Returns the process exit status.
using Handler = std::function<int(const std::vector<std::string>& args, Io& io)>;

struct Command {
  std::string name;
  std::string usage;  // "NAME ARG..." shown by "daybook-cli help"
  Handler run;
};

void registerCommand(Command command);
const std::vector<Command>& commands();

struct Registration {
  explicit Registration(Command command) { registerCommand(std::move(command)); }
};

// Runs "daybook-cli ARGS..." (args without the program name); used by main and tests.
int runCli(const std::vector<std::string>& args, Io& io);

}  // namespace cli
