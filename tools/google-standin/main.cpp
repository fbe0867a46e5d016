// google-standin: serves the Google endpoints of the organiser from memory.
// The first line on standard output is the base URL it listens on.
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#include "standin.h"

namespace {

const char* kUsage =
    "usage: google-standin (--http | --tls-cert FILE --tls-key FILE | --make-certs DIR)\n"
    "                      [--port N] [--host ADDR] [--seed FILE] [--log FILE]\n"
    "                      [--today YYYY-MM-DD] [--auto-approve]\n"
    "  --make-certs DIR  writes a test CA (DIR/ca.pem) and a certificate for 127.0.0.1\n"
    "                    and serves HTTPS with it; trust it with DAYBOOK_CA_FILE=DIR/ca.pem\n";

int usage(const std::string& problem) {
  if (!problem.empty()) std::cerr << "google-standin: " << problem << "\n";
  std::cerr << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  standin::Options options;
  bool plain = false;
  std::string certDir;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(flag + " needs a value");
      return argv[++i];
    };
    try {
      if (flag == "--http") plain = true;
      else if (flag == "--port") options.port = std::stoi(value());
      else if (flag == "--host") options.host = value();
      else if (flag == "--seed") options.seedFile = value();
      else if (flag == "--tls-cert") options.certFile = value();
      else if (flag == "--tls-key") options.keyFile = value();
      else if (flag == "--make-certs") certDir = value();
      else if (flag == "--log") options.logFile = value();
      else if (flag == "--today") options.today = value();
      else if (flag == "--auto-approve") options.autoApprove = true;
      else if (flag == "--help" || flag == "-h") return usage("") , 0;
      else return usage("unknown option " + flag);
    } catch (const std::exception& error) {
      return usage(error.what());
    }
  }
  const bool tls = !options.certFile.empty() || !options.keyFile.empty() || !certDir.empty();
  if (plain == tls) return usage("choose either --http or HTTPS (--tls-cert and --tls-key, or --make-certs)");
  if (!plain && certDir.empty() && (options.certFile.empty() || options.keyFile.empty()))
    return usage("--tls-cert and --tls-key go together");

  // SIGINT and SIGTERM are taken by sigwait below, not by every thread.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  try {
    if (!certDir.empty()) {
      const standin::TestCertificates files = standin::makeTestCertificates(certDir);
      options.certFile = files.certFile;
      options.keyFile = files.keyFile;
      std::cerr << "google-standin: test CA in " << files.caFile << "\n";
    }
    standin::Server server(options);
    server.start();
    std::cout << server.baseUrl() << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    server.stop();
  } catch (const std::exception& error) {
    std::cerr << "google-standin: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
