// A demo root: the suite in C:\Hidamari5 with account book 1, whose book
// year contains a given day, and everything around it the tile reads.
#ifndef H5KAKEI_TOOLS_SAMPLE_H_
#define H5KAKEI_TOOLS_SAMPLE_H_

#include <chrono>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace h5 {

// The book of the demo root for today, set up so that the diagnosis on
// today grades the budget 4.
nlohmann::json SampleBook(std::chrono::year_month_day today);

// Builds SampleBook(today) into root. Start-up reads the book year from two
// digits as 1990..2089, so other days are refused.
bool BuildSampleRoot(const std::filesystem::path& root, std::chrono::year_month_day today,
                     std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_SAMPLE_H_
