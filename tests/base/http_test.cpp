#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <chrono>
#include <thread>

#include "base/files.h"
#include "base/http.h"
#include "base/text.h"

using namespace base;

namespace {

// A real HTTP server on 127.0.0.1 for the download helpers.
class LocalServer {
 public:
  LocalServer() {
    server_.Get("/lines", [this](const httplib::Request& req, httplib::Response& res) {
      lastAgent_ = req.get_header_value("User-Agent");
      res.set_content("\xEF\xBB\xBFho00001|신정\r\nsecond\r\n", "text/plain");
    });
    server_.Get("/cp949", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(utf8ToCp949("설날|1|1\r\n"), "text/plain");
    });
    server_.Get("/file", [this](const httplib::Request& req, httplib::Response& res) {
      lastAgent_ = req.get_header_value("User-Agent");
      res.set_content(std::string("\x00\x01binary", 8), "application/octet-stream");
    });
    server_.Get("/text", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("\xEF\xBB\xBF  주소 😀|  \n", "text/plain");
    });
    server_.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
      res.status = 404;
      res.set_content("not here", "text/plain");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ~LocalServer() {
    server_.stop();
    thread_.join();
  }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::string lastAgent() const { return lastAgent_; }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::string lastAgent_;
};

// Port 1 on the loopback address: nothing listens there, the connection is refused.
std::string closedPortUrl() { return "http://127.0.0.1:1/x"; }

}  // namespace

TEST(Http, DownloadLinesReadsUtf8OrCp949AndKeepsTheListOnFailure) {
  LocalServer server;
  std::vector<std::string> lines{"old"};
  ASSERT_TRUE(downloadLines(server.url("/lines"), lines));
  EXPECT_EQ(server.lastAgent(), "qopzu");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(endsWith(lines[0], "ho00001|신정"));
  EXPECT_EQ(lines[1], "second");

  ASSERT_TRUE(downloadLines(server.url("/cp949"), lines));
  EXPECT_EQ(lines, std::vector<std::string>{"설날|1|1"});

  for (const std::string& bad : {server.url("/missing"), closedPortUrl(), std::string("not a url")}) {
    std::vector<std::string> kept{"kept"};
    EXPECT_FALSE(downloadLines(bad, kept)) << bad;
    EXPECT_EQ(kept, std::vector<std::string>{"kept"});
  }
}

TEST(Http, DownloadFileWritesTheBodyOnlyOnSuccess) {
  LocalServer server;
  const auto dir = std::filesystem::temp_directory_path() / ("daybook-http-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "out.bin").string();
  ASSERT_TRUE(downloadFile(server.url("/file"), path));
  EXPECT_EQ(server.lastAgent(), "a");
  EXPECT_EQ(*readBytes(path), std::string("\x00\x01binary", 8));
  const std::string other = (dir / "none.bin").string();
  EXPECT_FALSE(downloadFile(server.url("/missing"), other));
  EXPECT_FALSE(fileExists(other));
  std::filesystem::remove_all(dir);
}

TEST(Http, DownloadTextIsTrimmedAndPassedThroughCp949) {
  LocalServer server;
  // The byte-order mark and the blanks go, the emoji becomes "?", the
  // trailing "|" goes; a "?" the text starts with stays.
  EXPECT_EQ(downloadText(server.url("/text")), "주소 ?");
  EXPECT_EQ(decodeResponseText("?질문|"), "?질문");
  EXPECT_EQ(downloadText(server.url("/missing")), "");
  EXPECT_EQ(downloadText(closedPortUrl()), "");
}

TEST(Http, RefusesUntrustedCertificatesAndOtherSchemes) {
  // A TLS handshake against a plain HTTP server fails instead of falling back.
  LocalServer server;
  std::string https = server.url("/lines");
  https.replace(0, 4, "https");
  HttpRequest request;
  request.url = https;
  request.totalTimeoutMs = 5000;
  EXPECT_FALSE(httpClient().send(request).transportOk);
  request.url = "file:///etc/passwd";
  EXPECT_FALSE(httpClient().send(request).transportOk);
}
