#include "platform/fake/fake_dialogs.h"

namespace h5 {

Answer FakeDialogs::Show(const MessageBoxRequest& request) {
  shown_.push_back(request);
  if (answers_.empty()) return ClosedAnswer(request.buttons);
  Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace h5
