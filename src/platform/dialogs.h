// Message boxes. Texts are UTF-8 and shown exactly as given.
#ifndef H5KAKEI_PLATFORM_DIALOGS_H_
#define H5KAKEI_PLATFORM_DIALOGS_H_

#include <string>

namespace h5 {

enum class Buttons { kOk, kOkCancel, kYesNo };
enum class Icon { kNone, kQuestion, kExclamation };
// Codes as Windows numbers them.
enum class Answer { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

struct MessageBoxRequest {
  std::string text;   // lines separated by "\n" or "\r\n" as the caller chose
  std::string title;  // never empty by the time it reaches the port
  Buttons buttons = Buttons::kOk;
  Icon icon = Icon::kNone;
  bool system_modal = false;
};

// The answer of a box that is closed without a button: OK for an OK-only
// box, else Cancel or No.
constexpr Answer ClosedAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return Answer::kOk;
    case Buttons::kOkCancel:
      return Answer::kCancel;
    case Buttons::kYesNo:
      return Answer::kNo;
  }
  return Answer::kCancel;
}

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows the box and blocks until it is answered. Closing the box answers
  // Cancel, or No for Yes/No boxes, or OK for an OK-only box.
  virtual Answer Show(const MessageBoxRequest& request) = 0;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_DIALOGS_H_
