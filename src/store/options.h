// The record manager's start-up options in WIN.INI ([Btrieve] OPTIONS), and
// the offer to write them when the record manager has too many files open.
// Nothing is written without the user's explicit Yes.
#ifndef H5KAKEI_STORE_OPTIONS_H_
#define H5KAKEI_STORE_OPTIONS_H_

#include <string_view>

namespace h5 {

// The value written to [Btrieve] OPTIONS.
inline constexpr std::string_view kRecordManagerOptions = "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12";

// True unless [Btrieve] OPTIONS, trimmed of blanks, is exactly "NO"; a
// missing key reads as "NO", an empty value counts as present.
bool HasRecordManagerOptions();

// Writes kRecordManagerOptions; true when the write succeeded.
bool WriteRecordManagerOptions();

// Status 86: with the options present, shows environment_message; otherwise
// asks whether to write them, and confirms a successful write. No, or a
// failed write, shows environment_message. The caller closes all files
// afterwards in every case.
void OfferRecordManagerOptions(std::string_view heading, std::string_view environment_message);

}  // namespace h5

#endif  // H5KAKEI_STORE_OPTIONS_H_
