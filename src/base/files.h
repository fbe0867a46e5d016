// Files as the program keeps them: every write is atomic (temporary file beside
// the target, flush, rename); line files are CP949 with CR LF line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace base {

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
// Whole file as bytes; nothing when it cannot be read.
std::optional<std::string> readBytes(const std::string& path);
// Writes bytes atomically; optional permission bits (e.g. 0600) for the new file.
bool writeBytesAtomic(const std::string& path, std::string_view bytes, int mode = -1);

// Line files: CP949 on disk, UTF-8 lines in memory.  Reading accepts CR LF,
// LF and a missing last line end.
std::vector<std::string> splitLines(std::string_view text);
std::optional<std::vector<std::string>> readLines(const std::string& path);
bool writeLines(const std::string& path, const std::vector<std::string>& lines, int mode = -1);
// Whole CP949 text file as UTF-8; empty when missing.
std::string readTextFile(const std::string& path);
bool writeTextFile(const std::string& path, std::string_view utf8, int mode = -1);

bool removeFile(const std::string& path);
bool renameFile(const std::string& from, const std::string& to);  // fails when `to` exists
bool makeDirectories(const std::string& path);
bool removeDirectoryTree(const std::string& path);
// File names (not paths) in a folder whose names end with the suffix.
std::vector<std::string> listFiles(const std::string& folder, std::string_view suffix = {});
// Joins a folder and a name with exactly one "/".
std::string joinPath(std::string_view folder, std::string_view name);
// A folder path with a trailing "/".
std::string withTrailingSlash(std::string_view folder);

}  // namespace base
