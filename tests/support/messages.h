// Every message box the library may show during start-up and a diagnosis,
// written out here from the product's own texts, so that a run under faults
// can be checked box by box: the text must be one of these, byte for byte,
// with the buttons, icon, title and modality that belong to it.
#ifndef H5KAKEI_TESTS_SUPPORT_MESSAGES_H_
#define H5KAKEI_TESTS_SUPPORT_MESSAGES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

namespace h5 {

// The text of the status-20 failure of the expense-category open and of the
// start-file open, as the tile shows them.
extern const char kHimokuFailureText[];
extern const char kStartFailureText[];
// The value offered for [Btrieve] OPTIONS.
extern const char kOfferedOptions[];

// The system-error dialog's text around a heading line.
std::string SystemErrorText(const std::string& heading);

// What a status dialog's heading line "《T》  ** label **" names.
struct StatusHeadingParts {
  int16_t status = 0;  // one of the statuses whose short text is T
  std::string label;
};

// The parts of the first line of text that reads as a heading; nullopt when
// no line does.
std::optional<StatusHeadingParts> ParseHeading(std::string_view text);

// The operation labels of every file operation.
const std::vector<std::string>& KnownLabels();

// The short text of status in a heading.
std::string ShortStatusText(int16_t status);

// The kinds of boxes, for counting what a run showed.
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

// Checks one box. application_title is the title the library held when the
// box was shown (empty during start-up). Returns the kind, or kUnknown with
// *why saying what does not match.
BoxKind ClassifyBox(const MessageBoxRequest& box, std::string_view application_title,
                    std::string* why);

}  // namespace h5

#endif  // H5KAKEI_TESTS_SUPPORT_MESSAGES_H_
