// Statuses the engine answers beyond those the RecordManager port names.
#ifndef H5KAKEI_PLATFORM_KAKEIDB_STATUS_H_
#define H5KAKEI_PLATFORM_KAKEIDB_STATUS_H_

#include <cstdint>

namespace h5 {

// Get Next with no current record: nothing read yet since Open, or the last
// Get Equal found nothing.
constexpr int16_t kBtrInvalidPositioning = 8;
// Another program holds the file locked for longer than the busy timeout
// (it is in the middle of writing); the same call may succeed later.
constexpr int16_t kBtrFileLocked = 85;

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_KAKEIDB_STATUS_H_
