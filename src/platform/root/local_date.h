// The date of the local clock, for the environment root and the hosts.
#ifndef H5KAKEI_PLATFORM_ROOT_LOCAL_DATE_H_
#define H5KAKEI_PLATFORM_ROOT_LOCAL_DATE_H_

#include <chrono>

namespace h5 {

// Today in the local time zone; the UTC date when the zone cannot be read.
std::chrono::year_month_day LocalDate();

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_ROOT_LOCAL_DATE_H_
