// The path handed to the record manager's Open and Close, and the owner name
// given to every Open.
#ifndef H5KAKEI_STORE_OPEN_PATH_H_
#define H5KAKEI_STORE_OPEN_PATH_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace h5 {

// The short form of path as the system reports it; empty when the path does
// not exist, when there is no environment, or when the short form would not
// fit the 256-byte buffer the system call is given.
std::string ShortPathOf(std::string_view path);

// Fills buffer (in practice PathKeyBuf) with the ANSI path of file name,
// blank-padded to the buffer's size. When name does not already begin with
// dir, a missing final '\' is appended to the caller's dir and name becomes
// ShortPathOf(dir) followed by the trimmed name, in the caller's variable.
// A missing directory has no short form, so name is then left bare.
void MakeOpenPath(std::string& name, std::string& dir, std::span<uint8_t> buffer);

// Stores a four-character owner name into the 6-byte OwnerName buffer:
// four ANSI bytes, then two zero bytes.
void SetOwnerName(std::span<uint8_t> buffer, std::string_view name);

// The owner name every data file of the account book is opened with.
inline constexpr char kBookOwnerName[] = "tefu";

}  // namespace h5

#endif  // H5KAKEI_STORE_OPEN_PATH_H_
