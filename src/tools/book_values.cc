#include "tools/book_values.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>

#include "text/ansi.h"
#include "text/day_number.h"

namespace h5 {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int ToInt(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

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
  if (low == std::numeric_limits<int32_t>::min() && high == std::numeric_limits<int32_t>::max()) {
    return "an integer within 32 bits";
  }
  if (low == std::numeric_limits<int16_t>::min() && high == std::numeric_limits<int16_t>::max()) {
    return "an integer within 16 bits";
  }
  return "an integer from " + std::to_string(low) + " to " + std::to_string(high);
}

}  // namespace

std::string ToHex(std::span<const uint8_t> bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0f]);
  }
  return text;
}

std::optional<std::vector<uint8_t>> ParseHex(std::string_view text) {
  std::vector<uint8_t> bytes;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) return std::nullopt;
    int high = HexDigit(text[i]);
    int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    i += 2;
  }
  return bytes;
}

std::optional<int32_t> ParseBookDate(const nlohmann::json& value, std::string* error) {
  if (value.is_number_integer()) {
    std::string ignored;
    std::optional<int64_t> number = ParseBookInteger(value, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max(), &ignored);
    if (!number) {
      *error = "expected a date YYYY-MM-DD or a day number within 32 bits";
      return std::nullopt;
    }
    return static_cast<int32_t>(*number);
  }
  if (!value.is_string()) {
    *error = "expected a date YYYY-MM-DD or a day number, got " + TypeName(value);
    return std::nullopt;
  }
  const std::string& text = value.get_ref<const std::string&>();
  std::string_view view = text;
  if (view.size() != 10 || view[4] != '-' || view[7] != '-' || !AllDigits(view.substr(0, 4)) ||
      !AllDigits(view.substr(5, 2)) || !AllDigits(view.substr(8, 2))) {
    *error = "expected a date YYYY-MM-DD or a day number, got \"" + text + "\"";
    return std::nullopt;
  }
  int year = ToInt(view.substr(0, 4));
  unsigned month = static_cast<unsigned>(ToInt(view.substr(5, 2)));
  unsigned day = static_cast<unsigned>(ToInt(view.substr(8, 2)));
  std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{month},
                                   std::chrono::day{day}};
  if (year < 1 || !date.ok()) {
    *error = "no such date: " + text;
    return std::nullopt;
  }
  return DayNumberOf(date);
}

nlohmann::json FormatBookDate(int32_t day_number) {
  if (day_number == 0) return 0;
  if (!CalendarDateOf(day_number)) return day_number;
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
    uint64_t u = value.get<uint64_t>();
    if (u <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
      number = static_cast<int64_t>(u);
    }
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
  nlohmann::json quoted = std::string(key);
  return std::string(place) + "[" +
         quoted.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "]";
}

std::string Field(std::string_view place, std::string_view name) {
  if (place.empty()) return std::string(name);
  return std::string(place) + "." + std::string(name);
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

}  // namespace h5
