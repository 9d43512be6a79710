#include "hosts/scripted_dialogs.h"

namespace h5 {
namespace {

bool Offers(Buttons buttons, Answer answer) {
  switch (buttons) {
    case Buttons::kOk:
      return answer == Answer::kOk;
    case Buttons::kOkCancel:
      return answer == Answer::kOk || answer == Answer::kCancel;
    case Buttons::kYesNo:
      return answer == Answer::kYes || answer == Answer::kNo;
  }
  return false;
}

}  // namespace

std::optional<Answer> ParseAnswer(const std::string& word) {
  if (word == "ok") return Answer::kOk;
  if (word == "cancel") return Answer::kCancel;
  if (word == "yes") return Answer::kYes;
  if (word == "no") return Answer::kNo;
  return std::nullopt;
}

std::string AnswerWord(Answer answer) {
  switch (answer) {
    case Answer::kOk:
      return "ok";
    case Answer::kCancel:
      return "cancel";
    case Answer::kYes:
      return "yes";
    case Answer::kNo:
      return "no";
  }
  return "cancel";
}

Answer ScriptedDialogs::Show(const MessageBoxRequest& request) {
  Answer answer = ClosedAnswer(request.buttons);
  if (!answers_.empty()) {
    if (Offers(request.buttons, answers_.front())) answer = answers_.front();
    answers_.pop_front();
  }
  shown_.push_back({request, answer});
  return answer;
}

}  // namespace h5
