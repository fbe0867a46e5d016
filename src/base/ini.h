// A Windows-style initialisation file in CP949: "[Section]" lines and
// "Key=Value" lines.  Section and key names compare without case; a missing
// file, section or key yields the caller's default.  Changes stay in memory
// until save(), which writes the whole file atomically.
#pragma once

#include <string>
#include <vector>

namespace base {

class IniFile {
 public:
  explicit IniFile(std::string path);

  const std::string& path() const { return path_; }
  // Reads the file again (a missing file is an empty one).
  void reload();
  bool save(int mode = -1) const;

  bool hasKey(const std::string& section, const std::string& key) const;
  std::string readString(const std::string& section, const std::string& key,
                         const std::string& fallback = {}) const;
  int readInteger(const std::string& section, const std::string& key, int fallback) const;
  bool readBool(const std::string& section, const std::string& key, bool fallback) const;
  double readFloat(const std::string& section, const std::string& key, double fallback) const;

  void writeString(const std::string& section, const std::string& key, const std::string& value);
  void writeInteger(const std::string& section, const std::string& key, int value);
  void writeBool(const std::string& section, const std::string& key, bool value);
  void writeFloat(const std::string& section, const std::string& key, double value);
  void deleteKey(const std::string& section, const std::string& key);
  void eraseSection(const std::string& section);

  std::vector<std::string> sections() const;
  std::vector<std::string> keys(const std::string& section) const;

 private:
  struct Entry {
    std::string key, value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* findSection(const std::string& name) const;
  Section& sectionFor(const std::string& name);

  std::string path_;
  std::vector<Section> sections_;
};

}  // namespace base
