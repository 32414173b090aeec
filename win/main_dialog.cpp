#include "win/main_dialog.h"

#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

#include "core/converter.h"
#include "core/file_types.h"
#include "core/settings_file.h"
#include "core/version.h"
#include "win/dialog_units.h"
#include "win/options_dialog.h"

namespace quorvel::win {
namespace {

constexpr const char* kCaption = "Quorvel";
constexpr const char* kConverting = "Converting file...";
constexpr const char* kComplete = "Complete";
constexpr const char* kStopped = "Stopped early";
constexpr const char* kFailed = "Conversion failed";

QStringList FiltersOf(const std::vector<FileType>& types) {
  QStringList filters;
  for (const FileType& type : types) filters << QString::fromStdString(type.Filter());
  return filters;
}

ChosenFile RunChooser(QWidget* parent, const QString& start, const QStringList& filters,
                      bool save) {
  QFileDialog chooser(parent, QString(), start);
  chooser.setNameFilters(filters);
  chooser.selectNameFilter(filters.value(0));
  if (save) {
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setOption(QFileDialog::DontConfirmOverwrite);  // the conversion refuses them
  } else {
    chooser.setFileMode(QFileDialog::ExistingFile);
    chooser.setOption(QFileDialog::ReadOnly);
  }
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return {};
  return {chooser.selectedFiles().first(),
          static_cast<int>(filters.indexOf(chooser.selectedNameFilter()))};
}

}  // namespace

QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::darkGray, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(4, 2, 18, 26);
  for (int y = 8; y < 26; y += 4) painter.drawLine(7, y, 19, y);
  painter.setPen(QPen(QColor(0, 90, 170), 3));
  painter.drawLine(14, 20, 28, 20);
  painter.drawLine(23, 15, 28, 20);
  painter.drawLine(23, 25, 28, 20);
  return QIcon(pixmap);
}

MainDialog::MainDialog(QString settings, QWidget* parent)
    : QDialog(parent), settings_path(std::move(settings)) {
  message_sink = ModalMessageSink(this);
  open_chooser = [this](const QString& start, const QStringList& filters) {
    return RunChooser(this, start, filters, false);
  };
  save_chooser = [this](const QString& start, const QStringList& filters) {
    return RunChooser(this, start, filters, true);
  };
  options_runner = [this](ConversionOptions& edited) {
    OptionsDialog dialog(edited, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    edited = dialog.Options();
    return true;
  };
  Build();
  options = ConversionOptions{};
  if (!settings_path.isEmpty()) ReadSettings(settings_path.toStdString(), options);
}

void MainDialog::Build() {
  setWindowTitle(kCaption);
  setWindowIcon(ProgramIcon());
  DialogUnits units(font());
  setFixedSize(units.X(320), units.Y(135));
  auto* from = Place(new QLabel("Convert Log &From:", this), units, 16, 13, 111, 10);
  input = Place(new QLineEdit(this), units, 16, 23, 210, 12);
  from->setBuddy(input);
  auto* browse_input = Place(new QPushButton("...", this), units, 226, 23, 20, 12);
  auto* to = Place(new QLabel("Convert Log &To:", this), units, 16, 47, 116, 10);
  output = Place(new QLineEdit(this), units, 16, 58, 210, 12);
  to->setBuddy(output);
  auto* browse_output = Place(new QPushButton("...", this), units, 226, 58, 20, 12);
  convert_button = Place(new QPushButton("&Convert", this), units, 260, 7, 50, 14);
  convert_button->setDefault(true);
  auto* exit = Place(new QPushButton("E&xit", this), units, 260, 26, 50, 14);
  auto* options_button = Place(new QPushButton("&Options...", this), units, 260, 45, 50, 14);
  auto* about = Place(new QPushButton("&About...", this), units, 260, 64, 50, 14);
  status = Place(new QLabel(this), units, 15, 93, 86, 10);
  count = Place(new QLabel(this), units, 210, 93, 97, 10);
  status->setTextFormat(Qt::PlainText);
  count->setTextFormat(Qt::PlainText);
  progress = Place(new QProgressBar(this), units, 7, 106, 306, 18);
  progress->setRange(0, 100);
  progress->setValue(0);
  progress->setTextVisible(false);
  for (QPushButton* button : {browse_input, browse_output, exit, options_button, about}) {
    button->setAutoDefault(false);
  }
  connect(browse_input, &QPushButton::clicked, this, &MainDialog::ChooseInput);
  connect(browse_output, &QPushButton::clicked, this, &MainDialog::ChooseOutput);
  connect(convert_button, &QPushButton::clicked, this, &MainDialog::Convert);
  connect(exit, &QPushButton::clicked, this, &MainDialog::reject);
  connect(options_button, &QPushButton::clicked, this, &MainDialog::EditOptions);
  connect(about, &QPushButton::clicked, this, &MainDialog::ShowAbout);
}

void MainDialog::Box(const QString& text, QMessageBox::Icon icon) {
  message_sink({kCaption, text, icon});
}

// An error leaves a failure status and the bar at 0, never a previous run's state.
void MainDialog::Fail(const QString& text) {
  Box(text);
  status->setText(kFailed);
  progress->setValue(0);
}

void MainDialog::ShowCount(int converted, int unwritten, int x_qsos) {
  QString text = QString("%1 QSO's converted").arg(converted);
  if (unwritten > 0) text += QString(", %1 not written").arg(unwritten);
  if (x_qsos > 0) text += QString(", %1 X-QSO lines skipped").arg(x_qsos);
  count->setText(text);
}

// The conversion runs to its end here, on the dialog's thread: the dialog takes no other input
// meanwhile, and repaints its bar and count only when the whole percentage changes.
void MainDialog::Convert() {
  Converter converter;
  converter.SetMessageHook([this](FactoryMessage, const std::string& text) {
    Box(WithoutLineEnd(text), QMessageBox::Critical);
  });
  QByteArray input_path = input->text().toLocal8Bit();
  QByteArray output_path = output->text().toLocal8Bit();
  progress->setValue(0);
  status->setText(kConverting);
  count->clear();
  repaint();
  converter.SetOptions(&options);
  if (!converter.OpenInput(input_path.constData())) {
    return Fail(QString("Error opening input file %1").arg(input->text()));
  }
  if (!converter.OpenOutput(output_path.constData(), kFormatNone)) {
    return Fail(QString("Error opening output file %1").arg(output->text()));
  }
  int shown = 0;
  RunToEnd(converter, [this, &shown, &converter](const ConversionProgress& step) {
    int percent = ProgressPercent(step.position, step.file_size);
    if (percent == shown) return;
    shown = percent;
    progress->setValue(percent);
    ShowCount(step.count, converter.Unwritten(), converter.Notes().x_qsos);
    progress->repaint();
    count->repaint();
  });
  if (converter.OutputWriteFailed()) {
    return Fail(QString("Error writing output file %1").arg(output->text()));
  }
  ShowCount(converter.Converted(), converter.Unwritten(), converter.Notes().x_qsos);
  const ReadingNotes& notes = converter.Notes();
  if (!notes.Stopped()) {
    progress->setValue(100);
    status->setText(kComplete);
    return;
  }
  // The output holds every QSO before the damage; the bar shows how far the input was read.
  progress->setValue(ProgressPercent(notes.stopped_at, converter.InputSize()));
  status->setText(kStopped);
  Box(QString::fromStdString(StoppedReadingText(notes.stopped_at, converter.InputSize())),
      QMessageBox::Warning);
}

void MainDialog::ChooseInput() {
  ChosenFile chosen = open_chooser(input->text(), FiltersOf(InputFileTypes()));
  if (!chosen.path.isEmpty()) input->setText(chosen.path);
}

// A cancelled chooser changes nothing and shows nothing.
void MainDialog::ChooseOutput() {
  std::vector<FileType> types = OutputFileTypes();
  ChosenFile chosen = save_chooser(output->text(), FiltersOf(types));
  if (chosen.path.isEmpty()) return;
  std::size_t index = chosen.type_index >= 0 ? static_cast<std::size_t>(chosen.type_index) : 0;
  std::string extension = index < types.size() ? types[index].extensions[0] : "";
  if (extension.empty()) return output->setText(chosen.path);
  output->setText(
      QString::fromStdString(WithChosenExtension(chosen.path.toStdString(), extension)));
}

// The options dialog works on a copy; only OK gives it back.
void MainDialog::EditOptions() {
  ConversionOptions edited = options;
  if (options_runner(edited)) options = edited;
}

void MainDialog::ShowAbout() {
  QDialog about(this);
  about.setWindowTitle("About Quorvel");
  DialogUnits units(about.font());
  about.setFixedSize(units.X(235), units.Y(55));
  auto* icon = Place(new QLabel(&about), units, 11, 17, 20, 20);
  icon->setPixmap(ProgramIcon().pixmap(32, 32));
  Place(new QLabel(QString("Quorvel v%1").arg(kQuorvelVersion), &about), units, 40, 10, 130, 10);
  Place(new QLabel("Contest logs from one logging program to another.", &about), units, 40, 25, 190,
        10);
  auto* ok = Place(new QPushButton("OK", &about), units, 178, 7, 50, 14);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, &about, &QDialog::accept);
  about.exec();
}

// The context menu stands for the system menu's "&About Quorvel..." item.
void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction("&About Quorvel...", this, &MainDialog::ShowAbout);
  menu.exec(event->globalPos());
}

void MainDialog::SaveSettings() {
  if (settings_saved || settings_path.isEmpty()) return;
  settings_saved = true;
  std::string failure = WriteSettings(settings_path.toStdString(), options);
  if (!failure.empty()) Box(QString::fromStdString(failure), QMessageBox::Warning);
}

// "E&xit", Esc and the close box all end here: the options go to the settings file first.
void MainDialog::reject() {
  SaveSettings();
  QDialog::reject();
}

}  // namespace quorvel::win
