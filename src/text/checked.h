// Checked 16- and 32-bit arithmetic: where the original treats an overflow as
// an error, these report it instead of wrapping.
#ifndef H5KAKEI_TEXT_CHECKED_H_
#define H5KAKEI_TEXT_CHECKED_H_

#include <cstdint>
#include <optional>

namespace h5 {

std::optional<int16_t> CheckedAdd16(int16_t a, int16_t b);
std::optional<int32_t> CheckedAdd32(int32_t a, int32_t b);
std::optional<int32_t> CheckedSub32(int32_t a, int32_t b);
// Narrowing that fails instead of truncating.
std::optional<int16_t> ToInt16(int64_t value);

// Adds amount to a yen total; an overflow in either direction gives
// 2147483647, from which accumulation goes on.
int32_t SaturatingTotalAdd(int32_t total, int32_t amount);

// Rounds to the nearest integer, ties to even (48.5 -> 48, 49.5 -> 50), and
// narrows to 16 bits; nullopt when the result lies outside -32768..32767 or
// the value is not a number.
std::optional<int16_t> RoundHalfEvenToInt16(double value);

}  // namespace h5

#endif  // H5KAKEI_TEXT_CHECKED_H_
