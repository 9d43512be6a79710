// What a diagnosis came to, as one JSON object or as readable text.
#ifndef H5KAKEI_HOSTS_REPORT_H_
#define H5KAKEI_HOSTS_REPORT_H_

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "control/frm_kakei.h"
#include "control/tile_surface.h"
#include "hosts/session.h"

namespace h5 {

// The object of `diagnose --json`, from this thread's module data, the
// control and what its surface shows.
nlohmann::json DiagnosisReport(const FrmKakei& control, const RecordingSurface& surface,
                               const std::vector<ShownMessage>& messages);

// The `launch` member of `click --json`: null when nothing was launched.
nlohmann::json LaunchReport(const std::vector<LaunchRecord>& launches);

// The same content for a person to read.
std::string DiagnosisText(const nlohmann::json& report);

}  // namespace h5

#endif  // H5KAKEI_HOSTS_REPORT_H_
