#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "base/text.h"

namespace base {
namespace fs = std::filesystem;

bool fileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool directoryExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

std::optional<std::string> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size < 0) return std::nullopt;
  std::string data(static_cast<std::size_t>(size), '\0');
  in.seekg(0);
  if (!in.read(data.data(), size)) return std::nullopt;
  return data;
}

bool writeBytesAtomic(const std::string& path, std::string_view bytes, int mode) {
  static thread_local std::mt19937 rng{std::random_device{}()};
  const std::string temp = path + ".tmp-" + std::to_string(rng());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                        mode >= 0 ? static_cast<mode_t>(mode) : 0644);
  if (fd < 0) return false;
  if (mode >= 0) ::fchmod(fd, static_cast<mode_t>(mode));
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  bool ok = true;
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.emplace_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

std::optional<std::vector<std::string>> readLines(const std::string& path) {
  auto bytes = readBytes(path);
  if (!bytes) return std::nullopt;
  std::vector<std::string> lines = splitLines(*bytes);
  for (std::string& line : lines) line = cp949ToUtf8(line);
  return lines;
}

bool writeLines(const std::string& path, const std::vector<std::string>& lines, int mode) {
  std::string data;
  for (const std::string& line : lines) {
    data += utf8ToCp949(line);
    data += "\r\n";
  }
  return writeBytesAtomic(path, data, mode);
}

std::string readTextFile(const std::string& path) {
  auto bytes = readBytes(path);
  return bytes ? cp949ToUtf8(*bytes) : std::string();
}

bool writeTextFile(const std::string& path, std::string_view utf8, int mode) {
  return writeBytesAtomic(path, utf8ToCp949(utf8), mode);
}

bool removeFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(path, ec);
}

bool renameFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (fs::exists(to, ec) || !fs::exists(from, ec)) return false;
  fs::rename(from, to, ec);
  return !ec;
}

bool makeDirectories(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  return fs::is_directory(path, ec);
}

bool removeDirectoryTree(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
  return !ec;
}

std::vector<std::string> listFiles(const std::string& folder, std::string_view suffix) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::string name = it->path().filename().string();
    if (endsWith(name, suffix)) names.push_back(std::move(name));
  }
  return names;
}

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '/') out += '/';
  while (!name.empty() && name.front() == '/') name.remove_prefix(1);
  out += name;
  return out;
}

std::string withTrailingSlash(std::string_view folder) {
  std::string out(folder);
  if (out.empty() || out.back() != '/') out += '/';
  return out;
}

}  // namespace base
