// ToAnsi and FromAnsi on Windows, with code page 932 whatever the system's
// ANSI code page is: the data files and settings are Japanese.
//
// Each character is converted on its own so that both directions replace
// exactly what the iconv side replaces: Windows' table also maps a few codes
// that CP932 leaves unassigned (0x80, 0xA0, 0xFD-0xFF, to U+0080 and private
// use), and those count as bad here too.
#include <windows.h>

#include "text/ansi.h"
#include "text/ansi_char.h"
#include "text/utf8.h"

namespace h5 {
namespace {

constexpr UINT kCodePage = 932;

// Single bytes that name a character in both tables.
bool IsPlainSingleByte(uint8_t byte) { return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF); }

// UTF-16 of one well-formed UTF-8 sequence.
std::wstring Utf16Of(std::string_view sequence) {
  wchar_t wide[2];
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, sequence.data(),
                              static_cast<int>(sequence.size()), wide, 2);
  return std::wstring(wide, n > 0 ? static_cast<size_t>(n) : 0);
}

void AppendUtf8(std::wstring_view wide, std::string* out) {
  char utf8[8];
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8,
                              sizeof(utf8), nullptr, nullptr);
  if (n > 0) out->append(utf8, static_cast<size_t>(n));
}

}  // namespace

std::string ToAnsi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = Utf8SequenceLength(text, pos);
    if (length == 0) {
      out += kAnsiDefaultChar;
      ++pos;
      continue;
    }
    const std::wstring wide = Utf16Of(text.substr(pos, length));
    pos += length;
    char ansi[4];
    BOOL used_default = FALSE;
    int n = wide.empty() ? 0
                         : WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                               static_cast<int>(wide.size()), ansi, sizeof(ansi),
                                               kAnsiDefaultChar, &used_default);
    const bool held = n == 2 || (n == 1 && IsPlainSingleByte(static_cast<uint8_t>(ansi[0])));
    if (used_default || !held) {
      out += kAnsiDefaultChar;
    } else {
      out.append(ansi, static_cast<size_t>(n));
    }
  }
  return out;
}

std::string FromAnsi(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() * 3 / 2);
  for (size_t pos = 0; pos < ansi.size();) {
    const size_t length = AnsiCharLength(ansi, pos);
    const uint8_t first = static_cast<uint8_t>(ansi[pos]);
    if (length == 1 && first < 0x80) {
      out += static_cast<char>(first);
      pos += 1;
      continue;
    }
    wchar_t wide[2];
    int n = 0;
    if (length == 2 || IsPlainSingleByte(first)) {
      n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, ansi.data() + pos,
                              static_cast<int>(length), wide, 2);
    }
    if (n > 0) {
      AppendUtf8(std::wstring_view(wide, static_cast<size_t>(n)), &out);
    } else {
      out += kUnicodeDefaultChar;
    }
    pos += length;
  }
  return out;
}

}  // namespace h5
