// Every message box the library may show during start-up and a diagnosis,
// written out from the product's own texts, so that a run under faults can
// be checked box by box: the text byte for byte, with the buttons, icon,
// title and modality that belong to it.
#ifndef H5KAKEI_TESTS_SUPPORT_MESSAGES_H_
#define H5KAKEI_TESTS_SUPPORT_MESSAGES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

namespace h5 {

// The status-20 failures of the expense-category and start-file opens.
extern const char kHimokuFailureText[];
extern const char kStartFailureText[];
extern const char kOfferedOptions[];  // for [Btrieve] OPTIONS

// The system-error dialog's text around a heading line.
std::string SystemErrorText(const std::string& heading);

// What a heading line "《T》  ** label **" names.
struct StatusHeadingParts {
  int16_t status = 0;  // one of the statuses whose short text is T
  std::string label;
};
// The first line of text that reads as a heading; nullopt when none does.
std::optional<StatusHeadingParts> ParseHeading(std::string_view text);

// One data file's operation labels ("" where it has none); file is its name
// in lower case without year digits, "kyuyo-amounts.dat" for Kyuyo02.dat.
struct FileLabels {
  const char *file, *open, *close;
  const char* read;  // Get Equal or Get Greater or Equal
  const char* next;  // Get Next
};
const std::vector<FileLabels>& DataFileLabels();
// The operation labels of every file operation.
const std::vector<std::string>& KnownLabels();

// The short text of status in a heading.
std::string ShortStatusText(int16_t status);

enum class BoxKind {
  kUnknown,
  kHimokuFailure,   // 501 inactive opens of Himoku.dat
  kStartFailure,    // 501 inactive opens of the start files
  kSystemError,     // a status with the system-error text
  kInactive,        // status 20 reported by an operation
  kEnvironment,     // status 86 (options present or declined) or 1001-1016
  kOptionsOffer,    // status 86 without options: the Yes/No question
  kOptionsWritten,  // the confirmation after a successful write
  kDiskFull,        // status 18
};

// Checks one box against the title the library held when it was shown
// (empty during start-up); kUnknown with *why when nothing matches.
BoxKind ClassifyBox(const MessageBoxRequest& box, std::string_view application_title,
                    std::string* why);

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_MESSAGES_H_
