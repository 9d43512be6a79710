// Message boxes on screen, through QMessageBox.
#ifndef H5KAKEI_QT_QT_DIALOGS_H_
#define H5KAKEI_QT_QT_DIALOGS_H_

#include <QMessageBox>
#include <functional>

#include "platform/dialogs.h"

namespace h5 {

class QtDialogs : public Dialogs {
 public:
  // parent: the window the boxes belong to; may be nullptr.
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}

  // Builds the box for request (title, text, buttons, icon, modality),
  // without showing it. Tests inspect it; Show runs it.
  static std::unique_ptr<QMessageBox> Build(const MessageBoxRequest& request, QWidget* parent);

  Answer Show(const MessageBoxRequest& request) override;

 private:
  QWidget* parent_;
};

}  // namespace h5

#endif  // H5KAKEI_QT_QT_DIALOGS_H_
