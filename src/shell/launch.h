// Starting the suite's applications through its menu program, and the
// helpers the kitchen-timer check uses.
#ifndef H5KAKEI_SHELL_LAUNCH_H_
#define H5KAKEI_SHELL_LAUNCH_H_

#include <cstdint>
#include <string>

namespace h5 {

// Starts "HdmMenu5.exe" of InstallDir with "appNo,option" (or "appNo" when
// option reads as a negative number), in the library's own directory, shown
// restored. True when the shell reports success; nothing is shown either way.
bool LaunchMenuApp(int16_t& app_no, std::string& option);

// True when the menu shell's cookie says its kitchen timer runs.
bool IsKitchenTimerRunning();

// Rewrites a path such as C:\PROGRA~1\XYZ\ into its stored names without the
// drive ("Program Files\XYZ"); components that are not found are left out.
// Always answers 0.
int16_t GetLongDirPath(std::string& path);

// Deletes every occurrence of key from text; the part before each occurrence
// loses its surrounding blanks. text is rewritten too.
std::string RemoveText(std::string& text, std::string& key);

// The text before its first NUL character, cut by ANSI bytes.
std::string CutAtNull(std::string& text);

// The leading number of text as Val reads it: blanks skipped, a sign,
// digits, a decimal point and an exponent; 0 when there is none.
double LeadingNumber(std::string_view text);

}  // namespace h5

#endif  // H5KAKEI_SHELL_LAUNCH_H_
