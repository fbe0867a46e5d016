#include "base/ini.h"

#include <algorithm>

#include "base/files.h"
#include "base/text.h"

namespace base {

IniFile::IniFile(std::string path) : path_(std::move(path)) { reload(); }

void IniFile::reload() {
  sections_.clear();
  auto lines = readLines(path_);
  if (!lines) return;
  Section* current = nullptr;
  for (const std::string& raw : *lines) {
    const std::string line = trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      current = &sectionFor(trim(line.substr(1, line.size() - 2)));
      continue;
    }
    const std::size_t eq = line.find('=');
    if (!current || eq == std::string::npos) continue;
    const std::string key = trim(line.substr(0, eq));
    const std::string value = trim(line.substr(eq + 1));
    auto& entries = current->entries;
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const Entry& e) { return equalsIgnoreCaseAscii(e.key, key); });
    if (it == entries.end()) entries.push_back({key, value});  // first occurrence wins
  }
}

bool IniFile::save(int mode) const {
  std::vector<std::string> lines;
  for (const Section& s : sections_) {
    lines.push_back("[" + s.name + "]");
    for (const Entry& e : s.entries) lines.push_back(e.key + "=" + e.value);
    lines.emplace_back();
  }
  return writeLines(path_, lines, mode);
}

const IniFile::Section* IniFile::findSection(const std::string& name) const {
  for (const Section& s : sections_)
    if (equalsIgnoreCaseAscii(s.name, name)) return &s;
  return nullptr;
}

IniFile::Section& IniFile::sectionFor(const std::string& name) {
  for (Section& s : sections_)
    if (equalsIgnoreCaseAscii(s.name, name)) return s;
  sections_.push_back({name, {}});
  return sections_.back();
}

bool IniFile::hasKey(const std::string& section, const std::string& key) const {
  const Section* s = findSection(section);
  if (!s) return false;
  return std::any_of(s->entries.begin(), s->entries.end(),
                     [&](const Entry& e) { return equalsIgnoreCaseAscii(e.key, key); });
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
  const Section* s = findSection(section);
  if (!s) return fallback;
  for (const Entry& e : s->entries)
    if (equalsIgnoreCaseAscii(e.key, key)) return e.value;
  return fallback;
}

int IniFile::readInteger(const std::string& section, const std::string& key, int fallback) const {
  if (!hasKey(section, key)) return fallback;
  return toIntDef(readString(section, key), fallback);
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

double IniFile::readFloat(const std::string& section, const std::string& key,
                          double fallback) const {
  double v;
  return parseDouble(readString(section, key), v) ? v : fallback;
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
  Section& s = sectionFor(section);
  for (Entry& e : s.entries) {
    if (equalsIgnoreCaseAscii(e.key, key)) {
      e.value = value;
      return;
    }
  }
  s.entries.push_back({key, value});
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void IniFile::writeFloat(const std::string& section, const std::string& key, double value) {
  writeString(section, key, formatShortest(value));
}

void IniFile::deleteKey(const std::string& section, const std::string& key) {
  for (Section& s : sections_) {
    if (!equalsIgnoreCaseAscii(s.name, section)) continue;
    std::erase_if(s.entries, [&](const Entry& e) { return equalsIgnoreCaseAscii(e.key, key); });
  }
}

void IniFile::eraseSection(const std::string& section) {
  std::erase_if(sections_, [&](const Section& s) { return equalsIgnoreCaseAscii(s.name, section); });
}

std::vector<std::string> IniFile::sections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

std::vector<std::string> IniFile::keys(const std::string& section) const {
  std::vector<std::string> names;
  if (const Section* s = findSection(section))
    for (const Entry& e : s->entries) names.push_back(e.key);
  return names;
}

}  // namespace base
