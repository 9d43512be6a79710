// Message boxes answered from a script, every request kept for inspection.
#ifndef H5KAKEI_PLATFORM_FAKE_FAKE_DIALOGS_H_
#define H5KAKEI_PLATFORM_FAKE_FAKE_DIALOGS_H_

#include <deque>
#include <vector>

#include "platform/dialogs.h"

namespace h5 {

class FakeDialogs : public Dialogs {
 public:
  // Answers given in order; when they run out, boxes are closed.
  void Script(std::initializer_list<Answer> answers) { answers_.assign(answers); }
  const std::vector<MessageBoxRequest>& shown() const { return shown_; }
  Answer Show(const MessageBoxRequest& request) override;

 private:
  std::deque<Answer> answers_;
  std::vector<MessageBoxRequest> shown_;
};

}  // namespace h5

#endif  // H5KAKEI_PLATFORM_FAKE_FAKE_DIALOGS_H_
