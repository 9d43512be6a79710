// The library's start-up: where the suite and its data are, which account
// book and book year are current, the year's periods and the one containing
// today. Runs once per host thread before the first control is created.
#ifndef H5KAKEI_STARTUP_STARTUP_H_
#define H5KAKEI_STARTUP_STARTUP_H_

#include <string>
#include <vector>

namespace h5 {

// Fills this thread's module data. Ends in one of four states: a book year
// found (PresetLevel empty), start files but none covering today ("6"), no
// start file ("7"), the record manager inactive ("7", after a message).
void Main();

// Step 8's candidate test: the two characters after "start" of a file name
// that qualifies, or "" when it does not.
std::string StartYearOfFileName(const std::string& name);

// Completes two-character years to four ("90".."99" -> 19yy, others 20yy)
// and makes the single exchange pass that orders the candidates.
void OrderStartYears(std::vector<std::string>& years);

}  // namespace h5

#endif  // H5KAKEI_STARTUP_STARTUP_H_
