// The names a folder holds, listed again only when the folder has changed:
// finding a name in any letter case would otherwise list its folder on every
// lookup of a missing file.
#ifndef H5KAKEI_PLATFORM_ROOT_FOLDER_LISTING_H_
#define H5KAKEI_PLATFORM_ROOT_FOLDER_LISTING_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace h5 {

// The names of every entry of dir, in listing order, or nullopt when it
// cannot be listed. A folder whose settled stamp (platform/os/file_io.h) is
// the one it had when last listed is answered from that listing: adding,
// removing or renaming an entry moves the stamp. Safe from any thread.
std::optional<std::vector<std::string>> FolderEntryNames(const std::filesystem::path& dir);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_FOLDER_LISTING_H_
