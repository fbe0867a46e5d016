#include <ostream>

#include "base/secret.h"
#include "cli/command.h"

namespace cli {
namespace {

int encodeSecretCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: daybook-cli encode-secret TEXT\n";
    return 2;
  }
  io.out << base::encodeSecret(args[0]) << "\n";
  return 0;
}

int decodeSecretCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: daybook-cli decode-secret TEXT\n";
    return 2;
  }
  io.out << base::decodeSecret(args[0]) << "\n";
  return 0;
}

const Registration encode{{"encode-secret", "encode-secret TEXT", encodeSecretCommand}};
const Registration decode{{"decode-secret", "decode-secret TEXT", decodeSecretCommand}};

}  // namespace
}  // namespace cli
