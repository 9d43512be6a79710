// Real message boxes (under Xvfb), answered from another thread.
#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace h5 {
namespace {

struct SeenBox {
  std::vector<int> buttons;  // of IDOK, IDCANCEL, IDYES, IDNO, those the box shows
  bool topmost = false;
};

// Waits for the box titled title, notes what it shows and presses press.
SeenBox PressWhenShown(const std::string& title, int press) {
  SeenBox seen;
  for (int wait = 0; wait < 500; ++wait) {
    // The box is laid out (unused buttons hidden) before it becomes visible.
    HWND box = FindWindowA(nullptr, title.c_str());
    if (box != nullptr && IsWindowVisible(box)) {
      for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        if (IsWindowVisible(GetDlgItem(box, id))) seen.buttons.push_back(id);
      }
      seen.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), 0);
      return seen;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return seen;
}

TEST(Win32DialogsTest, ShowsEachButtonSetAndReturnsThePressedButton) {
  struct Case {
    MessageBoxRequest request;
    unsigned style;
    int press;
    std::vector<int> buttons;
    Answer answer;
  };
  const Case cases[] = {
      {{"データ", "h5 ok", Buttons::kOk, Icon::kNone, false}, MB_OK, IDOK, {IDOK}, Answer::kOk},
      {{"続けますか", "h5 okcancel", Buttons::kOkCancel, Icon::kExclamation, false},
       MB_OKCANCEL | MB_ICONEXCLAMATION,
       IDCANCEL,
       {IDOK, IDCANCEL},
       Answer::kCancel},
      {{"書き換えますか", "h5 yesno", Buttons::kYesNo, Icon::kQuestion, true},
       MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL,
       IDYES,
       {IDYES, IDNO},
       Answer::kYes},
  };
  Win32Dialogs dialogs;
  for (const Case& c : cases) {
    EXPECT_EQ(MessageBoxStyle(c.request), c.style) << c.request.title;
    std::future<SeenBox> presser =
        std::async(std::launch::async, PressWhenShown, c.request.title, c.press);
    EXPECT_EQ(dialogs.Show(c.request), c.answer) << c.request.title;
    SeenBox seen = presser.get();
    EXPECT_EQ(seen.buttons, c.buttons) << c.request.title;
    EXPECT_EQ(seen.topmost, c.request.system_modal) << c.request.title;
  }
}

}  // namespace
}  // namespace h5
