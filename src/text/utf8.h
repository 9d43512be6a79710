// Stepping through UTF-8 text one character at a time. Internal to the text
// layer; text elsewhere is handled through ansi.h and vbstring.h.
#ifndef H5KAKEI_TEXT_UTF8_H_
#define H5KAKEI_TEXT_UTF8_H_

#include <cstddef>
#include <string_view>

namespace h5 {

// Length of the well-formed UTF-8 sequence starting at text[pos], or 0 when
// the bytes there are not one (overlong forms, surrogates and values above
// U+10FFFF included). pos must be < text.size().
size_t Utf8SequenceLength(std::string_view text, size_t pos);

// Bytes taken by the character at text[pos]: its sequence length, or 1 for a
// byte that starts no well-formed sequence, so every byte is stepped over
// exactly once.
size_t Utf8StepLength(std::string_view text, size_t pos);

}  // namespace h5

#endif  // H5KAKEI_TEXT_UTF8_H_
