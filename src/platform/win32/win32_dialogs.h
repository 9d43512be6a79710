// Message boxes of Windows: MessageBoxA with no owner window.
#ifndef H5KAKEI_PLATFORM_WIN32_WIN32_DIALOGS_H_
#define H5KAKEI_PLATFORM_WIN32_WIN32_DIALOGS_H_

#include "platform/dialogs.h"

namespace h5 {

// The MessageBoxA style of a request: buttons, icon, MB_SYSTEMMODAL.
unsigned MessageBoxStyle(const MessageBoxRequest& request);

class Win32Dialogs : public Dialogs {
 public:
  // Texts go to MessageBoxA in their ANSI form. A box that cannot be shown
  // answers as a closed one.
  Answer Show(const MessageBoxRequest& request) override;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_WIN32_WIN32_DIALOGS_H_
