#include "win/message_boxes.h"

namespace quorvel::win {

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxRequest& request, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(request.icon, request.caption, request.text,
                                           QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  return box;
}

MessageSink ModalMessageSink(QWidget* parent) {
  return [parent](const MessageBoxRequest& request) { MakeMessageBox(request, parent)->exec(); };
}

QString WithoutLineEnd(const std::string& console_text) {
  QString text = QString::fromStdString(console_text);
  while (text.endsWith('\n') || text.endsWith('\r')) text.chop(1);
  return text;
}

}  // namespace quorvel::win
