// The main dialog of quorvelwin: the input log and output file (typed or chosen), the options,
// and the conversion with its progress bar, status text and running count.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "core/contest_header.h"
#include "win/message_boxes.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quorvel::win {

/// What a file chooser returned: the path (empty when cancelled) and the index of the file type
/// chosen.
struct ChosenFile {
  QString path;
  int type_index = 0;
};
/// Asks for a file: the start name and the chooser's filters in order.
using FileChooser = std::function<ChosenFile(const QString& start, const QStringList& filters)>;

class MainDialog : public QDialog {
  Q_OBJECT

 public:
  /// `settings_path` is the settings file read now and written when the dialog closes.
  explicit MainDialog(QString settings_path, QWidget* parent = nullptr);

  void SetMessageSink(MessageSink sink) { message_sink = std::move(sink); }
  void SetOpenChooser(FileChooser chooser) { open_chooser = std::move(chooser); }
  void SetSaveChooser(FileChooser chooser) { save_chooser = std::move(chooser); }
  /// The options dialog, run modally on a copy of the options; true when the user pressed OK.
  using OptionsRunner = std::function<bool(ConversionOptions& options)>;
  void SetOptionsRunner(OptionsRunner runner) { options_runner = std::move(runner); }

  QLineEdit* InputEdit() const { return input; }
  QLineEdit* OutputEdit() const { return output; }
  QLabel* StatusText() const { return status; }
  QLabel* CountText() const { return count; }
  QProgressBar* Progress() const { return progress; }
  QPushButton* ConvertButton() const { return convert_button; }
  const ConversionOptions& Options() const { return options; }

 public slots:
  void Convert();
  void ChooseInput();
  void ChooseOutput();
  void EditOptions();
  void ShowAbout();
  void reject() override;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Build();
  void Box(const QString& text, QMessageBox::Icon icon = QMessageBox::NoIcon);
  void Fail(const QString& text);
  void ShowCount(int converted, int unwritten, int x_qsos);
  void SaveSettings();

  QString settings_path;
  ConversionOptions options{};
  MessageSink message_sink;
  FileChooser open_chooser;
  FileChooser save_chooser;
  OptionsRunner options_runner;
  bool settings_saved = false;
  QLineEdit* input = nullptr;
  QLineEdit* output = nullptr;
  QLabel* status = nullptr;
  QLabel* count = nullptr;
  QProgressBar* progress = nullptr;
  QPushButton* convert_button = nullptr;
};

/// The program icon, drawn: a log page with an arrow.
QIcon ProgramIcon();

}  // namespace quorvel::win
