#include "text/checked.h"

#include <cmath>
#include <limits>

namespace h5 {

std::optional<int16_t> CheckedAdd16(int16_t a, int16_t b) {
  return ToInt16(int64_t{a} + int64_t{b});
}

std::optional<int32_t> CheckedAdd32(int32_t a, int32_t b) {
  int32_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
  return sum;
}

std::optional<int32_t> CheckedSub32(int32_t a, int32_t b) {
  int32_t difference = 0;
  if (__builtin_sub_overflow(a, b, &difference)) return std::nullopt;
  return difference;
}

std::optional<int16_t> ToInt16(int64_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int16_t>(value);
}

int32_t SaturatingTotalAdd(int32_t total, int32_t amount) {
  return CheckedAdd32(total, amount).value_or(std::numeric_limits<int32_t>::max());
}

// Rounded by hand rather than with nearbyint so the result does not depend
// on the floating-point rounding mode of the thread.
std::optional<int16_t> RoundHalfEvenToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  // Far outside 16 bits: refuse before any conversion to an integer type.
  if (value < -32769.0 || value > 32768.0) return std::nullopt;
  double rounded = std::floor(value);
  const double fraction = value - rounded;  // exact for doubles of this size
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;
  return ToInt16(static_cast<int64_t>(rounded));
}

}  // namespace h5
