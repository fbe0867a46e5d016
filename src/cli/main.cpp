#include <iostream>

#include "cli/command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  cli::Io io{std::cin, std::cout, std::cerr};
  return cli::runCli(args, io);
}
