#include "tools/book_values.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <limits>

#include "text/ansi.h"
#include "text/day_number.h"

namespace h5 {

namespace {

// Day numbers of years 1..9999 lie well inside this bound; the calendar
// helpers are never asked about anything further out.
constexpr int32_t kCalendarBound = 3'000'000;

std::optional<std::chrono::year_month_day> CalendarDateOf(int32_t day_number) {
  if (day_number < -kCalendarBound || day_number > kCalendarBound) return std::nullopt;
  std::chrono::year_month_day date = DateOf(day_number);
  int year = static_cast<int>(date.year());
  if (!date.ok() || year < 1 || year > 9999 || DayNumberOf(date) != day_number) {
    return std::nullopt;
  }
  return date;
}

std::string RangeText(int64_t low, int64_t high) {
  if (low == INT32_MIN && high == INT32_MAX) return "an integer within 32 bits";
  if (low == INT16_MIN && high == INT16_MAX) return "an integer within 16 bits";
  return "an integer from " + std::to_string(low) + " to " + std::to_string(high);
}

}  // namespace

std::string ToHex(std::span<const uint8_t> bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t b : bytes) text += {kDigits[b >> 4], kDigits[b & 0x0f]};
  return text;
}

std::optional<std::vector<uint8_t>> ParseHex(std::string_view text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    const std::string pair(text.substr(i, 2));
    ++i;
    if (pair.size() != 2 || !std::isxdigit(static_cast<unsigned char>(pair[0])) ||
        !std::isxdigit(static_cast<unsigned char>(pair[1]))) {
      return std::nullopt;
    }
    bytes.push_back(static_cast<uint8_t>(std::stoi(pair, nullptr, 16)));
  }
  return bytes;
}

std::optional<int32_t> ParseBookDate(const nlohmann::json& value, std::string* error) {
  if (value.is_number_integer()) {
    std::optional<int64_t> number = ParseBookInteger(value, INT32_MIN, INT32_MAX, error);
    if (!number) *error = "expected a date YYYY-MM-DD or a day number within 32 bits";
    return number;
  }
  if (!value.is_string()) {
    *error = "expected a date YYYY-MM-DD or a day number, got " + TypeName(value);
    return std::nullopt;
  }
  const std::string& text = value.get_ref<const std::string&>();
  bool digits = text.size() == 10 && text[4] == '-' && text[7] == '-';
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    digits = digits && std::isdigit(static_cast<unsigned char>(text[i])) != 0;
  if (!digits) {
    *error = "expected a date YYYY-MM-DD or a day number, got \"" + text + "\"";
    return std::nullopt;
  }
  std::chrono::year_month_day date{std::chrono::year{std::stoi(text.substr(0, 4))},
                                   std::chrono::month{unsigned(std::stoi(text.substr(5, 2)))},
                                   std::chrono::day{unsigned(std::stoi(text.substr(8, 2)))}};
  if (date.year() < std::chrono::year{1} || !date.ok()) {
    *error = "no such date: " + text;
    return std::nullopt;
  }
  return DayNumberOf(date);
}

nlohmann::json FormatBookDate(int32_t day_number) {
  if (day_number == 0 || !CalendarDateOf(day_number)) return day_number;
  return DateText(day_number);
}

std::string DateText(int32_t day_number) {
  std::optional<std::chrono::year_month_day> date = CalendarDateOf(day_number);
  if (!date) return "day " + std::to_string(day_number);
  char text[16];
  std::snprintf(text, sizeof(text), "%04d-%02u-%02u", static_cast<int>(date->year()),
                static_cast<unsigned>(date->month()), static_cast<unsigned>(date->day()));
  return text;
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

std::string Member(std::string_view place, std::string_view key) {
  return std::string(place) + "[" +
         nlohmann::json(key).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "]";
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

bool CheckMembers(const nlohmann::json& object, std::initializer_list<const char*> allowed,
                  const std::string& place, std::string* error) {
  for (const auto& item : object.items()) {
    const std::string& name = item.key();
    if (std::any_of(allowed.begin(), allowed.end(), [&](const char* a) { return name == a; })) {
      continue;
    }
    std::string list;
    for (const char* a : allowed) list += (list.empty() ? "" : ", ") + std::string(a);
    *error = Field(place, name) + ": unknown member (expected " + list + ")";
    return false;
  }
  return true;
}

}  // namespace h5
