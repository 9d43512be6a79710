// Profile (INI) files with the semantics of the Windows profile functions:
// GetPrivateProfileStringA, GetPrivateProfileIntA and WriteProfileStringA.
//
// A file is a sequence of lines ending in LF or CRLF (the last one may lack
// it). "[name]" opens a section, "key=value" is an entry, a line whose first
// non-blank character is ';' is a comment, anything else is ignored. Section
// and key names are trimmed of blanks and match without ASCII case; only the
// first section of a name is consulted, and in it the first entry of a key.
// A value is trimmed of blanks and loses one pair of enclosing double or
// single quotes.
#ifndef H5KAKEI_PLATFORM_ROOT_PROFILE_H_
#define H5KAKEI_PLATFORM_ROOT_PROFILE_H_

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace h5 {

enum class ProfileEncoding {
  kAnsi,  // CP932 bytes, the normal case
  kUtf8,  // the file starts with a UTF-8 byte-order mark
};

// The content of one profile file.
struct ProfileText {
  std::string bom;    // the byte-order mark the file starts with, if any
  std::string bytes;  // the rest of the file
  ProfileEncoding encoding = ProfileEncoding::kAnsi;
};

// Splits raw file bytes into mark and content.
ProfileText ProfileTextOf(std::string bytes);

// Reads the profile file at path; nullopt when it is missing, not a regular
// file or unreadable (Windows answers the default then).
std::optional<ProfileText> ReadProfileFile(const std::filesystem::path& path);

// The value of key in section, trimmed and unquoted, in the text's own
// encoding; section and key are in that encoding too. nullopt when the
// section or key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, ProfileEncoding encoding,
                                            std::string_view section, std::string_view key);

// GetPrivateProfileStringA on the content of a file (nullopt: no file).
// section, key and default_value are ANSI and read up to a NUL; the default
// loses its trailing blanks as on Windows. The result is ANSI, at most
// size - 1 bytes, never ending in half a double-byte character; size 0 gives
// an empty result.
std::string ProfileString(const std::optional<ProfileText>& file, std::string_view section,
                          std::string_view key, std::string_view default_value, uint32_t size);

// GetPrivateProfileIntA: default_value when the file, section or key is
// missing or the value is empty; otherwise, after blanks, an optional sign and the decimal
// digits that follow it (0 without digits), wrapping modulo 2^32.
uint32_t ProfileInt(const std::optional<ProfileText>& file, std::string_view section,
                    std::string_view key, int32_t default_value);

// The edit of WriteProfileStringA: text (in encoding) with key of section set
// to value, given in the same encoding. An existing entry keeps its key
// spelling and everything around the value; a missing key is added after the
// last non-blank line of the first section of that name; a missing section
// is added at the end. New lines use the file's line ending (CRLF when it has
// none). Every other byte stays as it was. nullopt when the names or value
// could not be read back as written: an empty key, a key holding '=' or
// starting with '[' or ';', or a line break anywhere.
std::optional<std::string> SetProfileValue(std::string_view text, ProfileEncoding encoding,
                                           std::string_view section, std::string_view key,
                                           std::string_view value);

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_PROFILE_H_
