// Wraps an environment and makes one chosen call answer as if what it asks
// for were not there: call number k (from 0) of the run gets the answer of a
// vanished or unreadable registry key, profile file, WIN.INI or directory.
// The inner environment answers all other calls. Today() and
// LibraryDirectory() cannot be missing; they pass through and are not
// counted.
#ifndef H5KAKEI_PLATFORM_FAKE_FAULT_INJECTING_ENVIRONMENT_H_
#define H5KAKEI_PLATFORM_FAKE_FAULT_INJECTING_ENVIRONMENT_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/environment.h"

namespace h5 {

class FaultInjectingEnvironment : public Environment {
 public:
  enum class Fault {
    // The thing is gone: no registry value, the profile default, no listing,
    // no stored name, no short path, a failed write.
    kMissing,
    // The thing is there but empty: an empty registry value or profile value,
    // a profile integer of 0, an empty listing, empty names, a failed write.
    kEmpty,
  };

  explicit FaultInjectingEnvironment(Environment& inner) : inner_(inner) {}

  // Call number call_index answers fault; -1 injects nothing.
  void FailCall(int64_t call_index, Fault fault) {
    fail_index_ = call_index;
    fail_onward_ = false;
    fault_ = fault;
  }
  // Call number first_index and every later call answer fault: the thing
  // is gone for the rest of the run.
  void FailCallsFrom(int64_t first_index, Fault fault) {
    fail_index_ = first_index;
    fail_onward_ = true;
    fault_ = fault;
  }
  // Counted calls so far, and the name of the method each one called.
  int64_t calls() const { return calls_; }
  const std::vector<std::string_view>& call_names() const { return call_names_; }

  std::optional<std::string> RegistryString(std::string_view subkey,
                                            std::string_view name) override {
    if (!Hit("RegistryString")) return inner_.RegistryString(subkey, name);
    if (fault_ == Fault::kEmpty) return std::string();
    return std::nullopt;
  }

  std::string PrivateProfileString(std::string_view section, std::string_view key,
                                   std::string_view default_value, uint32_t size,
                                   std::string_view file) override {
    if (!Hit("PrivateProfileString"))
      return inner_.PrivateProfileString(section, key, default_value, size, file);
    if (fault_ == Fault::kEmpty) return {};
    return CutDefault(default_value, size);
  }

  uint32_t PrivateProfileInt(std::string_view section, std::string_view key, int32_t default_value,
                             std::string_view file) override {
    if (!Hit("PrivateProfileInt"))
      return inner_.PrivateProfileInt(section, key, default_value, file);
    if (fault_ == Fault::kEmpty) return 0;
    return static_cast<uint32_t>(default_value);
  }

  std::string WinIniString(std::string_view section, std::string_view key,
                           std::string_view default_value, uint32_t size) override {
    if (!Hit("WinIniString")) return inner_.WinIniString(section, key, default_value, size);
    if (fault_ == Fault::kEmpty) return {};
    return CutDefault(default_value, size);
  }

  bool WriteWinIniString(std::string_view section, std::string_view key,
                         std::string_view value) override {
    if (!Hit("WriteWinIniString")) return inner_.WriteWinIniString(section, key, value);
    return false;
  }

  std::optional<std::vector<std::string>> ListFiles(std::string_view directory) override {
    if (!Hit("ListFiles")) return inner_.ListFiles(directory);
    if (fault_ == Fault::kEmpty) return std::vector<std::string>();
    return std::nullopt;
  }

  std::string StoredName(std::string_view path) override {
    if (!Hit("StoredName")) return inner_.StoredName(path);
    return {};
  }

  std::string ShortPath(std::string_view path) override {
    if (!Hit("ShortPath")) return inner_.ShortPath(path);
    return {};
  }

  std::chrono::year_month_day Today() override { return inner_.Today(); }
  std::string LibraryDirectory() override { return inner_.LibraryDirectory(); }

 private:
  bool Hit(std::string_view name) {
    call_names_.push_back(name);
    int64_t index = calls_++;
    if (fail_index_ < 0) return false;
    return fail_onward_ ? index >= fail_index_ : index == fail_index_;
  }

  // A default handed back as the port's contract says: fewer than size
  // bytes. The defaults in use are ASCII, so a byte cut splits nothing.
  static std::string CutDefault(std::string_view default_value, uint32_t size) {
    if (size == 0) return {};
    return std::string(default_value.substr(0, size - 1));
  }

  Environment& inner_;
  int64_t calls_ = 0;
  std::vector<std::string_view> call_names_;
  int64_t fail_index_ = -1;
  bool fail_onward_ = false;
  Fault fault_ = Fault::kMissing;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_FAKE_FAULT_INJECTING_ENVIRONMENT_H_
