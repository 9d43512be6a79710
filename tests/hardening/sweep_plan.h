// Which calls a fault sweep fails. Every call when the build allows the
// time; otherwise a fixed stride with a rotating offset, so that the calls
// skipped for one status are covered by another and every run of the suite
// fails the same calls.
#ifndef H5KAKEI_TESTS_HARDENING_SWEEP_PLAN_H_
#define H5KAKEI_TESTS_HARDENING_SWEEP_PLAN_H_

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace h5 {

// Sanitizer builds run several times slower; their sweeps take a coarser
// stride. H5_HARDENING_FULL=1 in the environment forces every call.
#if defined(H5_HARDENING_SANITIZED)
inline constexpr int64_t kSampledStride = 2;
inline constexpr bool kSanitizedBuild = true;
#else
inline constexpr int64_t kSampledStride = 1;
inline constexpr bool kSanitizedBuild = false;
#endif

inline bool FullSweepForced() {
  const char* value = std::getenv("H5_HARDENING_FULL");
  return value != nullptr && value[0] == '1';
}

// The calls 0..calls-1 to fail: all of them when every_call, else every
// stride-th starting at offset % stride, plus the first and the last call.
inline std::vector<int64_t> CallsToFail(int64_t calls, bool every_call, int64_t stride,
                                        int64_t offset) {
  std::vector<int64_t> chosen;
  if (every_call || stride <= 1 || FullSweepForced()) {
    for (int64_t k = 0; k < calls; ++k) chosen.push_back(k);
    return chosen;
  }
  for (int64_t k = 0; k < calls; ++k) {
    if (k == 0 || k == calls - 1 || k % stride == offset % stride) chosen.push_back(k);
  }
  return chosen;
}

}  // namespace h5

#endif  // H5KAKEI_TESTS_HARDENING_SWEEP_PLAN_H_
