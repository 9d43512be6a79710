// The record manager's options string, WIN.INI [Btrieve] OPTIONS, as in
// "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12".
#ifndef H5KAKEI_PLATFORM_KAKEIDB_BTRIEVE_OPTIONS_H_
#define H5KAKEI_PLATFORM_KAKEIDB_BTRIEVE_OPTIONS_H_

#include <string_view>

namespace h5 {

// The open-file limit when the options do not set one.
constexpr int kDefaultOpenFileLimit = 20;
constexpr int kMaxOpenFileLimit = 65535;

// The N of the "/f:N" option (letter in either case; the last one counts),
// kDefaultOpenFileLimit when there is none or N is not a whole number in
// 1..kMaxOpenFileLimit.
int OpenFileLimitFromOptions(std::string_view options);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_BTRIEVE_OPTIONS_H_
