// cookies.txt and the kitchen-timer check that reads it.
//
// Input: a mode byte, chunks (length byte, bytes) for InstallDir and for a
// key to remove, then the file's bytes. Mode bit 0 puts the timer page's
// address and a tab before the bytes, so that they are the cookie text of
// the first line; bit 1 starts the file with a byte-order mark. Besides the
// check itself, the text helpers it uses run on the bytes directly.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/root/root_cookie_store.h"
#include "platform/root/root_environment.h"
#include "shell/launch.h"
#include "store/module.h"

namespace {

const std::filesystem::path& Root() {
  static const std::filesystem::path root = [] {
    std::filesystem::path dir = h5::fuzz::ScratchDir() / "cookie";
    // Folders for GetLongDirPath to find, one of them with a long name.
    h5::fuzz::WriteFile(dir / "drive_c" / "Hidamari5" / "timer" / "bottom0.html", "");
    h5::fuzz::WriteFile(dir / "drive_c" / "Program Files" / "Hidamari 5" / "timer" / "x", "");
    return dir;
  }();
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace h5;
  fuzz::InputReader input(data, size);
  const uint8_t mode = input.Byte();
  std::string install_dir = input.Chunk();
  const std::string key = input.Chunk();
  const std::string bytes = input.Rest();
  if (install_dir.empty()) install_dir = "C:\\Hidamari5\\";

  std::string file;
  if (mode & 2) file += "\xEF\xBB\xBF";
  if (mode & 1) file += "file:///" + install_dir + "timer\\bottom0.html\t";
  file += bytes;
  fuzz::WriteFile(Root() / "cookies.txt", file);

  RootEnvironment environment(Root());
  RootCookieStore cookies(Root());
  ResetModule(Ports{&environment, nullptr, nullptr, nullptr, &cookies, nullptr});
  Module().InstallDir = install_dir;
  IsKitchenTimerRunning();

  std::string text = bytes;
  std::string cut = CutAtNull(text);
  fuzz::Check(cut.find('\0') == std::string::npos, "CutAtNull left a NUL");
  std::string removable = key;
  std::string rest = RemoveText(text, removable);
  fuzz::Check(rest == text, "RemoveText answered other than the text it left");
  LeadingNumber(bytes);
  LeadingNumber(rest);
  std::string dir = install_dir;
  fuzz::Check(GetLongDirPath(dir) == 0, "GetLongDirPath answered other than 0");
  ResetModule(Ports{});
  return 0;
}
