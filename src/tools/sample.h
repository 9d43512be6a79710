// A realistic demo account book: the environment root of a suite installed
// in C:\Hidamari5 with account book 1 in C:\HdmData5\kakeibo\kakeibo1\,
// whose book year (April to March, in calendar-month periods) contains a
// given day. Everything follows from that day alone. Around the book: the
// registry value, DirName.ini, Kakei.ini, WIN.INI with its [Btrieve]
// options, the kitchen timer's cookie (not running), the menu program as a
// launch-log stand-in, and an empty H5Kakei.ocx in C:\windows\System32,
// the folder the tile is loaded from and starts the menu program in.
#ifndef H5KAKEI_TOOLS_SAMPLE_H_
#define H5KAKEI_TOOLS_SAMPLE_H_

#include <chrono>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace h5 {

// The book description of the demo root for today. The cash book runs from
// the first day of the previous month (not before the book year) through
// today; card debits fall on the 10th, pay day is the 25th. Every month's
// budget is set from the spending of today's period so that the diagnosis
// on today grades it 4 (the prorated budget 120% to 126% of the spending).
nlohmann::json SampleBook(std::chrono::year_month_day today);

// Builds SampleBook(today) into root. Start-up reads a book year from the
// two digits of the start file's name as 1990..2089, so a today outside
// April 1990 .. March 2090 (or not a valid date) is refused with *error set.
bool BuildSampleRoot(const std::filesystem::path& root, std::chrono::year_month_day today,
                     std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_SAMPLE_H_
