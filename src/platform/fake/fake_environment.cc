#include "platform/fake/fake_environment.h"

#include "text/ansi.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

std::string ParentOf(const std::string& normalized) {
  size_t slash = normalized.rfind('\\');
  return slash == std::string::npos ? std::string() : normalized.substr(0, slash);
}

std::string LastComponent(const std::string& path) {
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FakeEnvironment::Fold(std::string_view text) { return LowerAsciiAnsi(text); }

std::string FakeEnvironment::Normalize(std::string_view path) {
  std::string folded = Fold(path);
  while (folded.size() > 3 && folded.back() == '\\') folded.pop_back();
  return folded;
}

void FakeEnvironment::SetRegistry(const std::string& subkey, const std::string& name,
                                  const std::string& value) {
  registry_[Fold(subkey) + '\n' + Fold(name)] = value;
}

void FakeEnvironment::SetProfile(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& value) {
  profiles_[Normalize(file)][Fold(section)][Fold(key)] = value;
}

void FakeEnvironment::SetWinIni(const std::string& section, const std::string& key,
                                const std::string& value) {
  win_ini_[Fold(section)][Fold(key)] = value;
}

std::optional<std::string> FakeEnvironment::WinIniValue(const std::string& section,
                                                        const std::string& key) const {
  auto s = win_ini_.find(Fold(section));
  if (s == win_ini_.end()) return std::nullopt;
  auto k = s->second.find(Fold(key));
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

void FakeEnvironment::AddDirectory(const std::string& path) {
  std::string normalized = Normalize(path);
  std::string stored = path;
  while (stored.size() > 3 && stored.back() == '\\') stored.pop_back();
  while (!normalized.empty() && !directories_.count(normalized)) {
    directories_.insert(normalized);
    stored_[normalized] = LastComponent(stored);
    normalized = ParentOf(normalized);
    stored = ParentOf(stored);
  }
}

void FakeEnvironment::AddFile(const std::string& path) {
  files_.push_back(path);
  stored_[Normalize(path)] = LastComponent(path);
  AddDirectory(ParentOf(path));
}

std::optional<std::string> FakeEnvironment::RegistryString(std::string_view subkey,
                                                           std::string_view name) {
  auto it = registry_.find(Fold(subkey) + '\n' + Fold(name));
  if (it == registry_.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> FakeEnvironment::ProfileValue(const std::string& file,
                                                         std::string_view section,
                                                         std::string_view key) const {
  auto f = profiles_.find(file);
  if (f == profiles_.end()) return std::nullopt;
  auto s = f->second.find(Fold(section));
  if (s == f->second.end()) return std::nullopt;
  auto k = s->second.find(Fold(key));
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

std::string FakeEnvironment::PrivateProfileString(std::string_view section, std::string_view key,
                                                  std::string_view default_value, uint32_t size,
                                                  std::string_view file) {
  if (size == 0) return {};
  std::optional<std::string> value = ProfileValue(Normalize(file), section, key);
  std::string_view chosen = value ? std::string_view(*value) : default_value;
  return std::string(CutAnsiBytes(chosen, size - 1));
}

uint32_t FakeEnvironment::PrivateProfileInt(std::string_view section, std::string_view key,
                                            int32_t default_value, std::string_view file) {
  std::optional<std::string> value = ProfileValue(Normalize(file), section, key);
  if (!value || value->empty()) return static_cast<uint32_t>(default_value);
  return ProfileIntOfValue(*value);
}

std::string FakeEnvironment::WinIniString(std::string_view section, std::string_view key,
                                          std::string_view default_value, uint32_t size) {
  if (size == 0) return {};
  std::optional<std::string> value = WinIniValue(std::string(section), std::string(key));
  std::string_view chosen = value ? std::string_view(*value) : default_value;
  return std::string(CutAnsiBytes(chosen, size - 1));
}

bool FakeEnvironment::WriteWinIniString(std::string_view section, std::string_view key,
                                        std::string_view value) {
  if (fail_win_ini_writes_) return false;
  ++win_ini_writes_;
  SetWinIni(std::string(section), std::string(key), std::string(value));
  return true;
}

std::optional<std::vector<std::string>> FakeEnvironment::ListFiles(std::string_view directory) {
  std::string dir = Normalize(directory);
  if (!directories_.count(dir) || broken_listings_.count(dir)) return std::nullopt;
  std::vector<std::string> names;
  for (const std::string& file : files_) {
    if (ParentOf(Normalize(file)) == dir) names.push_back(LastComponent(file));
  }
  return names;
}

std::string FakeEnvironment::StoredName(std::string_view path) {
  auto it = stored_.find(Normalize(path));
  return it == stored_.end() ? std::string() : it->second;
}

std::string FakeEnvironment::ShortPath(std::string_view path) {
  std::string normalized = Normalize(path);
  if (stored_.count(normalized) || directories_.count(normalized)) return std::string(path);
  return {};
}

}  // namespace h5
