// What both conversion back ends of ansi.h share: where an ANSI character
// ends and what stands in for one that cannot be converted. Internal to the
// text layer.
#ifndef H5KAKEI_TEXT_ANSI_CHAR_H_
#define H5KAKEI_TEXT_ANSI_CHAR_H_

#include <cstddef>
#include <string_view>

namespace h5 {

// WideCharToMultiByte's default character, for text CP932 cannot hold.
constexpr char kAnsiDefaultChar[] = "?";
// MultiByteToWideChar's stand-in for bad CP932 bytes, U+30FB in UTF-8.
constexpr char kUnicodeDefaultChar[] = "\xE3\x83\xBB";

// Bytes of the ANSI character at ansi[pos] (pos < ansi.size()): 2 for a lead
// byte followed by a possible trail byte, else 1. The same rule decides where
// FromAnsi resumes after a bad sequence, so cutting and converting agree on
// boundaries.
size_t AnsiCharLength(std::string_view ansi, size_t pos);

}  // namespace h5

#endif  // H5KAKEI_TEXT_ANSI_CHAR_H_
