// How record-manager failures reach the user: the status dialogs, and the
// closing of every open data file after a failure or when a diagnosis ends.
#ifndef H5KAKEI_STORE_STATUS_H_
#define H5KAKEI_STORE_STATUS_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace h5 {

// The title a status dialog carries when it is given none.
inline constexpr std::string_view kLibraryTitle = "H5Kakei";

// Message-box styles that ShowModalMessage understands (Windows numbering).
constexpr int32_t kMbOk = 0;
constexpr int32_t kMbYesNo = 4;
constexpr int32_t kMbYesNoQuestion = 36;
constexpr int32_t kMbOkExclamation = 48;

// Answer codes (Windows numbering).
constexpr int16_t kIdOk = 1;
constexpr int16_t kIdCancel = 2;
constexpr int16_t kIdYes = 6;
constexpr int16_t kIdNo = 7;

// Shows a system-modal box; an empty title becomes kLibraryTitle. buttons:
// low four bits 0 OK, 1 OK/Cancel, 4 Yes/No; 0x20 question icon, 0x30
// exclamation icon. Returns the code of the button pressed; without a dialog
// port, the answer of a box that is closed (OK, Cancel, No).
int16_t ShowModalMessage(std::string_view prompt, int32_t buttons, std::string_view title);

// The short text of a status in the heading of a dialog.
std::string StatusText(int16_t status);

// "《T》  ** label **".
std::string StatusHeading(int16_t status, std::string_view label);

// The environment message (statuses 86 and 1001-1016) under heading.
std::string EnvironmentMessage(std::string_view heading);

// The box after OpenPastInactive gave up on a file, named by kind ("開始",
// "費目"): the user is asked to restart the computer.
void ShowInactiveOpenFailure(std::string_view kind);

// Tells the user about status: 1 = leave the files open (status 5, or disk
// full answered other than Yes), 0 = close them.
int16_t ReportFileError(int16_t status, std::string_view label);

// Reports a non-zero status (unless the report keeps the files open), then
// closes every open data file and clears the absent marks. After a report,
// BtrStatus is the reported status again; after a close-all (status 0) it is
// the status the closes left. A close that fails reports itself and closes
// the remaining files from inside this pass.
void HandleFileStatus(int16_t& status, std::string_view label);

}  // namespace h5

#endif  // H5KAKEI_STORE_STATUS_H_
