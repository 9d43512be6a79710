#include "store/open_path.h"

#include "store/module.h"
#include "text/ansi.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

// GetShortPathNameA is given a buffer of 256 bytes, terminator included.
constexpr size_t kShortPathBuffer = 256;

}  // namespace

std::string ShortPathOf(std::string_view path) {
  Environment* environment = Module().ports.environment;
  if (environment == nullptr) return {};
  std::string ansi = environment->ShortPath(ToAnsi(path));
  // A short form that does not fit is a failed call, not a cut path: a cut
  // path would name another file.
  if (ansi.size() >= kShortPathBuffer) return {};
  return FromAnsi(ansi);
}

void MakeOpenPath(std::string& name, std::string& dir, std::span<uint8_t> buffer) {
  auto size = static_cast<int32_t>(buffer.size());
  if (!name.starts_with(dir)) {
    if (!dir.ends_with('\\')) dir += '\\';
    name = ShortPathOf(dir) + TrimSpaces(name);
  }
  StrToFixedBytes(buffer, name, size);
}

void SetOwnerName(std::span<uint8_t> buffer, std::string_view name) {
  StrToFixedBytes(buffer, name, 4);
  for (size_t i = 4; i < buffer.size() && i < 6; ++i) buffer[i] = 0;
}

}  // namespace h5
