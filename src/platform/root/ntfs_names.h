// How a Windows volume of the suite's time orders and shortens names, so that
// the root answers the same on every Linux file system.
//
// Order: names compare as UTF-16 code units after upper-casing, as NTFS keeps
// a folder's index (ASCII, Latin-1, Greek, Cyrillic and full-width letters
// are folded).
//
// Short (8.3) names: a name that already is a valid 8.3 name (at most eight
// bytes, a dot and three bytes in the ANSI code page, no blank and none of
// + , ; = [ ]) is its own short name. Any other name gets an alias: its first
// six valid characters upper-cased, "~N", and the first three characters of
// its extension. N counts the names of the folder with the same six
// characters and extension, in the folder's order, skipping aliases that a
// stored name already holds.
#ifndef H5KAKEI_PLATFORM_ROOT_NTFS_NAMES_H_
#define H5KAKEI_PLATFORM_ROOT_NTFS_NAMES_H_

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace h5 {

// Strict weak order of UTF-8 names as NTFS lists them. Bytes that are not
// valid UTF-8 sort as code units of their own, after the valid ones of the
// same position.
bool NtfsNameLess(std::string_view a, std::string_view b);

// Sorts UTF-8 names into NTFS order; names equal under it keep their byte
// order so the result never depends on the order they came in.
void SortNtfs(std::vector<std::string>& names);

// True when the ANSI name is a valid 8.3 name (letter case does not matter).
bool IsShortName(std::string_view ansi);

// Stored UTF-8 name -> ANSI alias, for every entry of dir (files and folders)
// whose name is not a valid 8.3 name. Empty when dir cannot be read.
std::map<std::string, std::string> FolderAliases(const std::filesystem::path& dir);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_NTFS_NAMES_H_
