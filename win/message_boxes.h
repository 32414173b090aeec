// The dialog program's message boxes. Every box goes through one sink, so that tests can answer
// them; the real sink shows a modal QMessageBox whose text is always plain text (a file name
// with "<b>" in it shows as typed).
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>

namespace quorvel::win {

struct MessageBoxRequest {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};
using MessageSink = std::function<void(const MessageBoxRequest& request)>;

/// The box a request stands for: plain text, an OK button only.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxRequest& request, QWidget* parent);
/// Shows each request in a modal box.
MessageSink ModalMessageSink(QWidget* parent);
/// The engine's console text of a message without its line end ("\n\r").
QString WithoutLineEnd(const std::string& console_text);

}  // namespace quorvel::win
