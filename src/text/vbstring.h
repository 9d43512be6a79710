// The small text operations start-up and the checks use, on UTF-8 text,
// counting characters (code points) rather than bytes. A byte that is not
// part of well-formed UTF-8 counts as one character, so no operation ever
// splits a well-formed character.
#ifndef H5KAKEI_TEXT_VBSTRING_H_
#define H5KAKEI_TEXT_VBSTRING_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace h5 {

// Number of characters of text.
size_t CharCount(std::string_view text);
// The first / last n characters (the whole text when shorter; "" for n <= 0).
std::string LeftChars(std::string_view text, int64_t n);
std::string RightChars(std::string_view text, int64_t n);
// n characters from the 1-based position start (to the end when n < 0); a
// start below 1 counts as 1, one beyond the text gives "".
std::string MidChars(std::string_view text, int64_t start, int64_t n = -1);
// ASCII letters to lower / upper case; other characters unchanged.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
// Removes leading and trailing U+0020 only.
std::string TrimSpaces(std::string_view text);
// 1-based character position of the first occurrence of what in text at or
// after the 1-based character position start; 0 when none. An empty what is
// found at start. A start below 1 counts as 1; a start more than one past
// the last character finds nothing.
int64_t FindChars(std::string_view text, std::string_view what, int64_t start = 1);
// The number a non-empty profile value reads as: blanks skipped, a sign,
// decimal digits up to the first other character, 0 when there are none;
// wraps as a 32-bit unsigned value, as the system call does.
uint32_t ProfileIntOfValue(std::string_view value);
// Decimal text of a number: digits, with a leading '-' when negative.
std::string DecimalText(int64_t value);

}  // namespace h5

#endif  // H5KAKEI_TEXT_VBSTRING_H_
