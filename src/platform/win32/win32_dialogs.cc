#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include "text/ansi.h"

namespace h5 {

unsigned MessageBoxStyle(const MessageBoxRequest& request) {
  unsigned style = 0;
  switch (request.buttons) {
    case Buttons::kOk:
      style = MB_OK;
      break;
    case Buttons::kOkCancel:
      style = MB_OKCANCEL;
      break;
    case Buttons::kYesNo:
      style = MB_YESNO;
      break;
  }
  switch (request.icon) {
    case Icon::kNone:
      break;
    case Icon::kQuestion:
      style |= MB_ICONQUESTION;
      break;
    case Icon::kExclamation:
      style |= MB_ICONEXCLAMATION;
      break;
  }
  if (request.system_modal) style |= MB_SYSTEMMODAL;
  return style;
}

Answer Win32Dialogs::Show(const MessageBoxRequest& request) {
  const int pressed = MessageBoxA(nullptr, ToAnsi(request.text).c_str(),
                                  ToAnsi(request.title).c_str(), MessageBoxStyle(request));
  switch (pressed) {
    case IDOK:
      return Answer::kOk;
    case IDCANCEL:
      return Answer::kCancel;
    case IDYES:
      return Answer::kYes;
    case IDNO:
      return Answer::kNo;
    default:
      return ClosedAnswer(request.buttons);
  }
}

}  // namespace h5
