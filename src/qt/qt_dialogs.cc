#include "qt/qt_dialogs.h"

namespace h5 {

std::unique_ptr<QMessageBox> QtDialogs::Build(const MessageBoxRequest& request, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QString::fromStdString(request.title));
  box->setText(QString::fromStdString(request.text).replace("\r\n", "\n"));
  box->setTextFormat(Qt::PlainText);
  switch (request.icon) {
    case Icon::kNone:
      box->setIcon(QMessageBox::NoIcon);
      break;
    case Icon::kQuestion:
      box->setIcon(QMessageBox::Question);
      break;
    case Icon::kExclamation:
      box->setIcon(QMessageBox::Warning);
      break;
  }
  switch (request.buttons) {
    case Buttons::kOk:
      box->setStandardButtons(QMessageBox::Ok);
      box->setEscapeButton(QMessageBox::Ok);
      break;
    case Buttons::kOkCancel:
      box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box->setEscapeButton(QMessageBox::Cancel);
      break;
    case Buttons::kYesNo:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setEscapeButton(QMessageBox::No);
      break;
  }
  box->setWindowModality(Qt::ApplicationModal);
  // A system-modal box stays above every window of the application.
  if (request.system_modal) box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  return box;
}

Answer QtDialogs::Show(const MessageBoxRequest& request) {
  std::unique_ptr<QMessageBox> box = Build(request, parent_);
  box->exec();
  QAbstractButton* clicked = box->clickedButton();
  switch (clicked ? box->standardButton(clicked) : QMessageBox::NoButton) {
    case QMessageBox::Ok:
      return Answer::kOk;
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Cancel:
      return Answer::kCancel;
    default:
      break;
  }
  return ClosedAnswer(request.buttons);  // closed without a button
}

}  // namespace h5
