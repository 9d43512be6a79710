// The small value forms of a book description, and the "place" names that
// messages use to point into the book.
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

std::string ToHex(std::span<const uint8_t> bytes);

// Pairs of hex digits, blanks allowed between pairs.
std::optional<std::vector<uint8_t>> ParseHex(std::string_view text);

// "YYYY-MM-DD" or a day number within 32 bits (day 0 = 1899-12-30).
std::optional<int32_t> ParseBookDate(const nlohmann::json& value, std::string* error);

// "YYYY-MM-DD" for years 1..9999, else the integer; 0 (unset) stays 0.
nlohmann::json FormatBookDate(int32_t day_number);

std::string DateText(int32_t day_number);

std::optional<int64_t> ParseBookInteger(const nlohmann::json& value, int64_t low, int64_t high,
                                        std::string* error);

// nullopt when some character has no CP932 form.
std::optional<std::string> AnsiOf(std::string_view text);

std::string Quoted(std::string_view text);

// Place names for messages: Member("data", "C:\\a") is data["C:\\a"],
// Field("x", "amount") is x.amount, Index("x", 3) is x[3].
std::string Member(std::string_view place, std::string_view key);
std::string Field(std::string_view place, std::string_view name);
std::string Index(std::string_view place, size_t index);

// For "expected X, got Y".
std::string TypeName(const nlohmann::json& value);

bool ExpectObject(const nlohmann::json& value, const std::string& place, std::string* error);

// Whether object is an object with no members but allowed ones.
bool CheckMembers(const nlohmann::json& object, std::initializer_list<const char*> allowed,
                  const std::string& place, std::string* error);

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_VALUES_H_
