// registry.reg parsing over arbitrary bytes (UTF-8, UTF-16LE, damaged).
//
// Input: chunks (length byte, bytes) for a key path and a value name, then
// the file's bytes. The value is looked up as given and under the same key
// spelled another way, which must not matter: doubled and outer
// backslashes and ASCII case.
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_support.h"
#include "platform/root/registry.h"

namespace {

std::string Respelled(const std::string& key) {
  std::string out = "\\";
  for (char c : key) {
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c == '\\') out += '\\';
  }
  return out + "\\";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace h5;
  fuzz::InputReader input(data, size);
  const std::string key = input.Chunk();
  const std::string name = input.Chunk();
  const RegistryFile registry = RegistryFile::Parse(input.Rest());

  const std::optional<std::string> value = registry.Find(key, name);
  fuzz::Check(registry.Find(Respelled(key), name) == value,
              "a respelled key path found another value");
  registry.Find("HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO", "Path");
  if (registry.value_count() == 0) fuzz::Check(!value, "a value found in an empty registry");
  return 0;
}
