// Where a Windows path of the environment root lives on the real disk.
//
// X:\a\b maps to <root>/drive_x/a/b. Each component that exists is looked up
// without regard to case, or by its short alias (see ntfs_names.h), and its
// stored name is used; components that do not
// exist are kept as written. "." and ".." are resolved inside the drive: no
// path ever leaves its drive folder. A path without a drive is on drive C:.
#ifndef H5KAKEI_PLATFORM_ROOT_PATH_MAP_H_
#define H5KAKEI_PLATFORM_ROOT_PATH_MAP_H_

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace h5 {

// windows_path is in ANSI (CP932) bytes; the disk holds UTF-8 names. nullopt
// when the path cannot be mapped (empty, an invalid drive letter, a UNC name,
// a component that names no valid file name).
std::optional<std::filesystem::path> MapWindowsPath(const std::filesystem::path& root,
                                                    std::string_view windows_path);

// The short form of an existing path: each component that is not a valid 8.3
// name replaced by its alias, "\\" between components, the drive as given.
// nullopt when the path does not exist or cannot be mapped.
std::optional<std::string> ShortWindowsPath(const std::filesystem::path& root,
                                            std::string_view windows_path);

// root as the adapters keep it: absolute (a launched program runs in another
// directory), lexically normal, without a trailing separator.
std::filesystem::path NormalizeRoot(const std::filesystem::path& root);

// MapWindowsPath on root (made normal once): what the record manager is given
// to find the files it opens.
std::function<std::optional<std::filesystem::path>(std::string_view)> WindowsPathResolver(
    const std::filesystem::path& root);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_PATH_MAP_H_
