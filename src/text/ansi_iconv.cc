// ToAnsi and FromAnsi through iconv, on systems other than Windows.
#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstdint>

#include "text/ansi.h"
#include "text/ansi_char.h"
#include "text/utf8.h"

namespace h5 {

namespace {

// One iconv descriptor per direction and thread: a descriptor carries
// conversion state and must never be shared between threads.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // iconv_open reports failure as (iconv_t)-1.
  bool ok() const {
    return cd_ != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
  }

  // Converts input. A sequence iconv rejects is replaced by replacement and
  // skipped by skip(input, position) bytes (at least 1).
  template <typename Skip>
  std::string Run(std::string_view input, std::string_view replacement, Skip skip) {
    std::string out;
    out.reserve(input.size() * 3 / 2 + 8);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t in_left = input.size();
    char buffer[512];
    while (in_left > 0) {
      char* out_ptr = buffer;
      size_t out_left = sizeof(buffer);
      const size_t result = iconv(cd_, &in, &in_left, &out_ptr, &out_left);
      out.append(buffer, static_cast<size_t>(out_ptr - buffer));
      if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
      // EILSEQ, or EINVAL for a sequence cut off at the end of the input.
      const size_t pos = static_cast<size_t>(in - input.data());
      const size_t step = std::min(std::max<size_t>(skip(input, pos), 1), in_left);
      out.append(replacement);
      in += step;
      in_left -= step;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* out_ptr = buffer;
    size_t out_left = sizeof(buffer);
    iconv(cd_, nullptr, nullptr, &out_ptr, &out_left);
    out.append(buffer, static_cast<size_t>(out_ptr - buffer));
    return out;
  }

 private:
  iconv_t cd_;
};

Converter& ToAnsiConverter() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

Converter& FromAnsiConverter() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}

// Without a CP932 converter on the system only ASCII passes; every other
// character, as step measures it, becomes replacement.
template <typename Step>
std::string AsciiOnly(std::string_view input, std::string_view replacement, Step step) {
  std::string out;
  for (size_t pos = 0; pos < input.size(); pos += step(input, pos)) {
    const char c = input[pos];
    if (static_cast<uint8_t>(c) < 0x80) {
      out += c;
    } else {
      out += replacement;
    }
  }
  return out;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<uint8_t>(c) < 0x80; });
}

}  // namespace

// ASCII reads the same in both encodings: most names and keys need no iconv.
std::string ToAnsi(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  Converter& converter = ToAnsiConverter();
  if (converter.ok()) return converter.Run(text, kAnsiDefaultChar, Utf8StepLength);
  return AsciiOnly(text, kAnsiDefaultChar, Utf8StepLength);
}

std::string FromAnsi(std::string_view ansi) {
  if (IsAscii(ansi)) return std::string(ansi);
  Converter& converter = FromAnsiConverter();
  if (converter.ok()) return converter.Run(ansi, kUnicodeDefaultChar, AnsiCharLength);
  return AsciiOnly(ansi, kUnicodeDefaultChar, AnsiCharLength);
}

}  // namespace h5
