// Small in-memory doubles: a shell that records launches, a cookie store
// kept in a map, a screen of a chosen density.
#ifndef H5KAKEI_PLATFORM_FAKE_FAKE_SHELL_H_
#define H5KAKEI_PLATFORM_FAKE_FAKE_SHELL_H_

#include <map>
#include <string>
#include <vector>

#include "platform/cookie_store.h"
#include "platform/screen.h"
#include "platform/shell.h"

namespace h5 {

struct Launch {
  std::string verb, program, parameters, directory;
  int show = 0;
};

class FakeShell : public Shell {
 public:
  void SetResult(bool ok) { result_ = ok; }
  const std::vector<Launch>& launches() const { return launches_; }
  bool Execute(std::string_view verb, std::string_view program, std::string_view parameters,
               std::string_view directory, int show) override {
    launches_.push_back({std::string(verb), std::string(program), std::string(parameters),
                         std::string(directory), show});
    return result_;
  }

 private:
  bool result_ = true;
  std::vector<Launch> launches_;
};

class FakeCookieStore : public CookieStore {
 public:
  void Set(const std::string& url, const std::string& text) { cookies_[url] = text; }
  const std::vector<std::string>& asked() const { return asked_; }
  std::optional<std::string> Cookie(std::string_view url, std::string_view /*name*/,
                                    uint32_t buffer_size) override {
    asked_.emplace_back(url);
    auto it = cookies_.find(std::string(url));
    if (it == cookies_.end() || it->second.size() + 1 > buffer_size) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, std::string> cookies_;
  std::vector<std::string> asked_;
};

class FakeScreen : public Screen {
 public:
  explicit FakeScreen(float twips_per_pixel = 15.0f) : twips_(twips_per_pixel) {}
  float TwipsPerPixelX() override { return twips_; }

 private:
  float twips_;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_FAKE_FAKE_SHELL_H_
