// Byte-level helpers the root adapters share for scanning Windows texts:
// where an ANSI (CP932) character ends and how names compare without ASCII
// case. Trail bytes of CP932 overlap ASCII ('\\', '[', ']', letters), so every
// scan of ANSI bytes steps by whole characters.
#ifndef H5KAKEI_PLATFORM_ROOT_ANSI_SCAN_H_
#define H5KAKEI_PLATFORM_ROOT_ANSI_SCAN_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace h5 {

// The text before the first NUL, as the "A" functions of Windows read a
// C string; the whole text when it holds none.
std::string_view UpToNul(std::string_view text);

// Equality without ASCII case. In ANSI text only single-byte characters are
// folded; a double-byte character compares exactly. In UTF-8 text every byte
// of a multi-byte sequence is >= 0x80, so folding bytes is enough.
bool EqualsIgnoringAsciiCaseAnsi(std::string_view a, std::string_view b);
bool EqualsIgnoringAsciiCaseUtf8(std::string_view a, std::string_view b);

// Spaces, tabs and the other C blanks trimmed from both ends. None of them
// can be a CP932 trail byte, so this is safe on ANSI text.
std::string_view TrimBlanks(std::string_view text);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_ANSI_SCAN_H_
