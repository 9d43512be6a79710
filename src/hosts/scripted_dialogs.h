// Message boxes for hosts without a screen: answered from a list given on
// the command line, every box kept to be printed.
#ifndef H5KAKEI_HOSTS_SCRIPTED_DIALOGS_H_
#define H5KAKEI_HOSTS_SCRIPTED_DIALOGS_H_

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace h5 {

struct ShownMessage {
  MessageBoxRequest request;
  Answer answer;
};

// "ok", "cancel", "yes", "no" -> the answer; nullopt for anything else.
std::optional<Answer> ParseAnswer(const std::string& word);
std::string AnswerWord(Answer answer);

class ScriptedDialogs : public Dialogs {
 public:
  explicit ScriptedDialogs(const std::vector<Answer>& answers)
      : answers_(answers.begin(), answers.end()) {}

  // The next scripted answer, or the answer of a closed box when none is
  // left. An answer the box has no button for also counts as closing it.
  Answer Show(const MessageBoxRequest& request) override;
  const std::vector<ShownMessage>& shown() const { return shown_; }

 private:
  std::deque<Answer> answers_;
  std::vector<ShownMessage> shown_;
};

}  // namespace h5

#endif  // H5KAKEI_HOSTS_SCRIPTED_DIALOGS_H_
