// Text inside the system is UTF-8; every system call and every record field
// uses the ANSI code page of a Japanese system (CP932, one or two bytes a
// character). These helpers convert between the two and cut by bytes.
#ifndef H5KAKEI_TEXT_ANSI_H_
#define H5KAKEI_TEXT_ANSI_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace h5 {

// The ANSI form of UTF-8 text. A character CP932 cannot hold becomes '?', as
// WideCharToMultiByte's default character; so does every byte of invalid
// UTF-8. Safe to call from any thread.
std::string ToAnsi(std::string_view text);

// UTF-8 text of ANSI bytes. A byte sequence that is not valid CP932 (a lone
// lead byte at the end included) becomes U+30FB, as MultiByteToWideChar does:
// a lead byte with a possible trail byte is replaced as a pair, any other bad
// byte on its own.
std::string FromAnsi(std::string_view ansi);

// True for a byte that starts a double-byte CP932 character.
bool IsAnsiLeadByte(uint8_t byte);

// Bytes of the ANSI character at ansi[pos]: 2 for a lead byte followed by a
// possible trail byte, else 1. The same rule decides where FromAnsi resumes
// after a bad sequence, so cutting and converting agree on boundaries. pos
// must be < ansi.size().
size_t AnsiCharLength(std::string_view ansi, size_t pos);

// ansi with its single-byte ASCII letters lowered. Trail bytes of CP932 can
// be letters, so double-byte characters stay as they are.
std::string LowerAsciiAnsi(std::string_view ansi);

// The longest prefix of ansi that has at most n bytes and does not end in the
// middle of a double-byte character. A lead byte counts as the start of a
// double-byte character only when a possible trail byte follows it; a lone
// lead byte is one (invalid) character of its own, as FromAnsi treats it.
std::string_view CutAnsiBytes(std::string_view ansi, size_t n);

// The first n bytes of the ANSI form of text, converted back. n <= 0 gives "";
// a double-byte character cut in half is dropped.
std::string LeftAnsiBytes(std::string_view text, int32_t n);

// Bytes of the ANSI form of text; saturates at 32767 instead of overflowing.
int16_t AnsiByteLength(std::string_view text);

// Zeroes buffer, copies the ANSI form of text into its first size bytes
// (cut at size, which may split a double-byte character as the original
// byte copy does), pads with blanks up to size. Bytes past size stay 0.
// size is clamped to the buffer.
void StrToFixedBytes(std::span<uint8_t> buffer, std::string_view text, int32_t size);

}  // namespace h5

#endif  // H5KAKEI_TEXT_ANSI_H_
