#include "tools/book_plan.h"

#include <algorithm>
#include <cctype>

#include "text/ansi.h"
#include "text/day_number.h"

namespace h5 {

namespace {

std::string RangeText(int64_t low, int64_t high) {
  if (low == INT32_MIN && high == INT32_MAX) return "an integer within 32 bits";
  if (low == INT16_MIN && high == INT16_MAX) return "an integer within 16 bits";
  return "an integer from " + std::to_string(low) + " to " + std::to_string(high);
}

}  // namespace

std::optional<std::string> ParseHex(const nlohmann::json& value) {
  if (!value.is_string()) return std::nullopt;
  const std::string& text = value.get_ref<const std::string&>();
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    const std::string pair = text.substr(i++, 2);
    if (pair.size() != 2 || !std::isxdigit(static_cast<unsigned char>(pair[0])) ||
        !std::isxdigit(static_cast<unsigned char>(pair[1]))) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
  }
  return bytes;
}

std::string DateText(int32_t day_number) {
  const CalendarDate date = CalendarParts(day_number);
  if (date.year < 1 || date.year > 9999) return "day " + std::to_string(day_number);
  return IsoDateText(day_number);
}

std::optional<int64_t> ParseBookInteger(const nlohmann::json& value, int64_t low, int64_t high,
                                        std::string* error) {
  std::optional<int64_t> number;
  if (value.is_number_unsigned()) {
    if (value.get<uint64_t>() <= uint64_t{INT64_MAX}) number = value.get<int64_t>();
  } else if (value.is_number_integer()) {
    number = value.get<int64_t>();
  }
  if (!number || *number < low || *number > high) {
    *error = "expected " + RangeText(low, high);
    if (!value.is_number_integer()) *error += ", got " + TypeName(value);
    return std::nullopt;
  }
  return number;
}

std::optional<std::string> AnsiOf(std::string_view text) {
  std::string ansi = ToAnsi(text);
  // '?' stands in for every character CP932 lacks; it never occurs as the
  // second byte of a double-byte character, so counting it is exact.
  if (std::count(ansi.begin(), ansi.end(), '?') != std::count(text.begin(), text.end(), '?')) {
    return std::nullopt;
  }
  return ansi;
}

std::string Quoted(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string Member(std::string_view place, std::string_view key) {
  return std::string(place) + "[" + Quoted(key) + "]";
}

std::string Field(std::string_view place, std::string_view name) {
  return place.empty() ? std::string(name) : std::string(place) + "." + std::string(name);
}

std::string Index(std::string_view place, size_t index) {
  return std::string(place) + "[" + std::to_string(index) + "]";
}

std::string TypeName(const nlohmann::json& value) {
  if (value.is_number_float()) return "a fraction";
  if (value.is_number()) return "a number";
  if (value.is_object()) return "an object";
  if (value.is_array()) return "an array";
  if (value.is_string()) return "a string";
  if (value.is_boolean()) return "a boolean";
  return "null";
}

bool Fail(const std::string& place, const std::string& message, std::string* error) {
  *error = place.empty() ? message : place + ": " + message;
  return false;
}

bool ExpectObject(const nlohmann::json& value, const std::string& place, std::string* error) {
  return value.is_object() || Fail(place, "expected an object, got " + TypeName(value), error);
}

bool CheckMembers(const nlohmann::json& object, std::initializer_list<const char*> allowed,
                  const std::string& place, std::string* error) {
  std::string list;
  for (const char* a : allowed) list += (list.empty() ? "" : ", ") + std::string(a);
  if (!object.is_object()) {
    return Fail(place, "expected an object with " + list + ", got " + TypeName(object), error);
  }
  for (const auto& item : object.items()) {
    if (std::none_of(allowed.begin(), allowed.end(),
                     [&](const char* a) { return item.key() == a; })) {
      return Fail(Field(place, item.key()), "unknown member (expected " + list + ")", error);
    }
  }
  return true;
}

}  // namespace h5
