#include "platform/root/local_date.h"

#include <ctime>

namespace h5 {

std::chrono::year_month_day LocalDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  const bool ok = localtime_s(&local, &now) == 0;
#else
  const bool ok = localtime_r(&now, &local) != nullptr;
#endif
  if (!ok) {
    return std::chrono::year_month_day{
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
  }
  return std::chrono::year_month_day{std::chrono::year{local.tm_year + 1900},
                                     std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                                     std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

}  // namespace h5
