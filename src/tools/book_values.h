// The small value forms of a book description, and the "place" names that
// messages use to point into the book.
#ifndef H5KAKEI_TOOLS_BOOK_VALUES_H_
#define H5KAKEI_TOOLS_BOOK_VALUES_H_

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace h5 {

// Bytes from pairs of hex digits, blanks allowed between pairs; nullopt for
// anything else, a value that is no string too.
std::optional<std::string> ParseHex(const nlohmann::json& value);

// "YYYY-MM-DD" for years 1..9999, else "day N".
std::string DateText(int32_t day_number);

std::optional<int64_t> ParseBookInteger(const nlohmann::json& value, int64_t low, int64_t high,
                                        std::string* error);

// nullopt when some character has no CP932 form.
std::optional<std::string> AnsiOf(std::string_view text);

// value as JSON text, invalid UTF-8 replaced: "a\\b" for the string a\b.
std::string Quoted(const nlohmann::json& value);

// Place names for messages: Member("data", "C:\\a") is data["C:\\a"],
// Field("x", "amount") is x.amount, Index("x", 3) is x[3].
std::string Member(std::string_view place, std::string_view key);
std::string Field(std::string_view place, std::string_view name);
std::string Index(std::string_view place, size_t index);

// Sets *error to "place: message", or message alone when place is empty,
// and gives false to return.
bool Fail(const std::string& place, const std::string& message, std::string* error);

// For "expected X, got Y".
std::string TypeName(const nlohmann::json& value);

bool ExpectObject(const nlohmann::json& value, const std::string& place, std::string* error);

// Whether object is an object with no members but allowed ones.
bool CheckMembers(const nlohmann::json& object, std::initializer_list<const char*> allowed,
                  const std::string& place, std::string* error);

// Reads each element of an array with parse, at place[i].
template <typename T, typename Parse>
bool ParseArray(const nlohmann::json& value, const std::string& place, const char* expected,
                Parse parse, std::vector<T>* items, std::string* error) {
  if (!value.is_array()) {
    return Fail(place, std::string("expected an array of ") + expected + ", got " + TypeName(value),
                error);
  }
  items->assign(value.size(), T{});
  for (size_t i = 0; i < value.size(); ++i) {
    if (!parse(value[i], Index(place, i), &(*items)[i], error)) return false;
  }
  return true;
}

}  // namespace h5

#endif  // H5KAKEI_TOOLS_BOOK_VALUES_H_
