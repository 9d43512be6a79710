// An in-memory Windows machine for tests: registry values, profile entries,
// WIN.INI entries and a set of files, all given directly.
#ifndef H5KAKEI_PLATFORM_FAKE_FAKE_ENVIRONMENT_H_
#define H5KAKEI_PLATFORM_FAKE_FAKE_ENVIRONMENT_H_

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/environment.h"

namespace h5 {

class FakeEnvironment : public Environment {
 public:
  // All texts given here are ANSI bytes, as the port carries them.
  void SetRegistry(const std::string& subkey, const std::string& name, const std::string& value);
  // value nullopt removes the key.
  void SetProfile(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value);
  void SetWinIni(const std::string& section, const std::string& key, const std::string& value);
  std::optional<std::string> WinIniValue(const std::string& section, const std::string& key) const;
  // Adds a file (and, implicitly, its parent directories), in listing order.
  void AddFile(const std::string& path);
  void AddDirectory(const std::string& path);
  // Makes a directory's listing fail although it exists.
  void BreakListing(const std::string& directory) { broken_listings_.insert(Fold(directory)); }
  void SetToday(std::chrono::year_month_day today) { today_ = today; }
  void SetLibraryDirectory(const std::string& dir) { library_dir_ = dir; }
  void FailWinIniWrites(bool fail) { fail_win_ini_writes_ = fail; }
  int win_ini_writes() const { return win_ini_writes_; }

  std::optional<std::string> RegistryString(std::string_view subkey,
                                            std::string_view name) override;
  std::string PrivateProfileString(std::string_view section, std::string_view key,
                                   std::string_view default_value, uint32_t size,
                                   std::string_view file) override;
  uint32_t PrivateProfileInt(std::string_view section, std::string_view key, int32_t default_value,
                             std::string_view file) override;
  std::string WinIniString(std::string_view section, std::string_view key,
                           std::string_view default_value, uint32_t size) override;
  bool WriteWinIniString(std::string_view section, std::string_view key,
                         std::string_view value) override;
  std::optional<std::vector<std::string>> ListFiles(std::string_view directory) override;
  std::string StoredName(std::string_view path) override;
  std::string ShortPath(std::string_view path) override;
  std::chrono::year_month_day Today() override { return today_; }
  std::string LibraryDirectory() override { return library_dir_; }

 private:
  // Paths and names compare without ASCII case, as on Windows.
  static std::string Fold(std::string_view text);
  static std::string Normalize(std::string_view path);  // folded, no trailing '\'
  std::optional<std::string> ProfileValue(const std::string& file, std::string_view section,
                                          std::string_view key) const;

  std::map<std::string, std::string> registry_;  // folded subkey + '\n' + folded name
  // folded file -> folded section -> folded key -> value
  std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> profiles_;
  std::map<std::string, std::map<std::string, std::string>> win_ini_;
  std::vector<std::string> files_;             // stored paths, in insertion order
  std::set<std::string> directories_;          // normalized
  std::map<std::string, std::string> stored_;  // normalized path -> stored last component
  std::set<std::string> broken_listings_;
  std::chrono::year_month_day today_{std::chrono::year{2002}, std::chrono::month{4},
                                     std::chrono::day{15}};
  std::string library_dir_ = "C:\\Windows\\System32";
  bool fail_win_ini_writes_ = false;
  int win_ini_writes_ = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_FAKE_FAKE_ENVIRONMENT_H_
