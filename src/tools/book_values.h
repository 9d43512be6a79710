// Reading and writing the small value forms of a book description: hex
// bytes, dates, integers of a given width, CP932 text, and the "place" names
// that error messages use to point into the book.
#ifndef H5KAKEI_TOOLS_BOOK_VALUES_H_
#define H5KAKEI_TOOLS_BOOK_VALUES_H_

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace h5 {

// Lower-case hex, two digits a byte, no separators.
std::string ToHex(std::span<const uint8_t> bytes);

// Pairs of hex digits (either case); blanks between pairs are allowed.
// nullopt for anything else, an odd digit count included.
std::optional<std::vector<uint8_t>> ParseHex(std::string_view text);

// A date of the book: "YYYY-MM-DD" (a real calendar date, years 1..9999) or
// an integer day number within 32 bits (day 0 = 1899-12-30). nullopt with
// *error set ("expected ...") otherwise.
std::optional<int32_t> ParseBookDate(const nlohmann::json& value, std::string* error);

// The book form of a day number: 0 stays the integer 0 (an unset date), a
// day number of a year 1..9999 becomes "YYYY-MM-DD", anything else stays an
// integer. ParseBookDate reads every result back to the same number.
nlohmann::json FormatBookDate(int32_t day_number);

// "YYYY-MM-DD" of a day number; for messages and dumps.
std::string DateText(int32_t day_number);

// An integer within [low, high]; nullopt with *error set otherwise.
std::optional<int64_t> ParseBookInteger(const nlohmann::json& value, int64_t low, int64_t high,
                                        std::string* error);

// The CP932 bytes of text, or nullopt when some character has no CP932 form.
std::optional<std::string> AnsiOf(std::string_view text);

// text as a JSON string, for messages.
std::string Quoted(std::string_view text);

// Place names for messages: Member("data", "C:\\a") is data["C:\\a"],
// Field("x", "amount") is x.amount, Index("x", 3) is x[3].
std::string Member(std::string_view place, std::string_view key);
std::string Field(std::string_view place, std::string_view name);
std::string Index(std::string_view place, size_t index);

// Short description of a JSON value's type, for "expected X, got Y".
std::string TypeName(const nlohmann::json& value);

// Whether object is an object with no members but allowed ones; else *error
// says "place: expected an object with a, b, got ..." or names the first
// other member: "place.name: unknown member (expected a, b)".
bool CheckMembers(const nlohmann::json& object, std::initializer_list<const char*> allowed,
                  const std::string& place, std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_VALUES_H_
