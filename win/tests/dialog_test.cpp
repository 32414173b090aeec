// The dialog program driven headless: conversions through the main dialog against quorvelcon,
// its failure boxes, the save chooser's extension rule, the options dialog's OK/Cancel matrix
// and the settings file it reads and writes.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/text_field.h"
#include "win/main_dialog.h"
#include "win/options_dialog.h"

using namespace quorvel;
using namespace quorvel::win;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QString Example() {
  return QString(QUORVEL_SOURCE_DIR) + "/examples/cqww-cw.bin";
}

// A main dialog whose boxes are recorded instead of shown.
struct Harness {
  explicit Harness(const QString& settings = QString()) : dialog(settings) {
    dialog.SetMessageSink([this](const MessageBoxRequest& box) { boxes << box; });
  }
  void Convert(const QString& input, const QString& output) {
    dialog.InputEdit()->setText(input);
    dialog.OutputEdit()->setText(output);
    QTest::mouseClick(dialog.ConvertButton(), Qt::LeftButton);
  }
  QStringList BoxTexts() const {
    QStringList texts;
    for (const MessageBoxRequest& box : boxes) {
      texts << QString("%1|%2|%3").arg(box.caption).arg(box.icon).arg(box.text);
    }
    return texts;
  }
  MainDialog dialog;
  QList<MessageBoxRequest> boxes;
};

QString Box(QMessageBox::Icon icon, const QString& text) {
  return QString("Quorvel|%1|%2").arg(icon).arg(text);
}

}  // namespace

class DialogTest : public QObject {
  Q_OBJECT

 private slots:
  void ConvertsAsQuorvelconDoesAndAgainIdentically();
  void FailuresShowTheFactoryBoxThenTheDialogsOwn_data();
  void FailuresShowTheFactoryBoxThenTheDialogsOwn();
  void QsosTheOutputLeftOutAreSaid();
  void InputThatStopsEarlyIsSaid();
  void MessageBoxesShowPlainText();
  void LabelsReachTheirFieldsByMnemonic();
  void SaveChooserAppendsTheTypesExtension();
  void OptionsDialogOkAndCancel_data();
  void OptionsDialogOkAndCancel();
  void SettingsFileIsReadAtStartAndWrittenAtExit();
  void SettingsThatCannotBeWrittenAreReported();
  void Screenshots();
};

void DialogTest::ConvertsAsQuorvelconDoesAndAgainIdentically() {
  QTemporaryDir dir;
  QProcess console;
  console.setWorkingDirectory(dir.path());
  console.start(QUORVELCON_PATH, {Example(), dir.filePath("console.adi")});
  QVERIFY(console.waitForFinished());
  Harness harness;
  harness.Convert(Example(), dir.filePath("dialog.adi"));
  QCOMPARE(harness.dialog.Progress()->value(), 100);
  QCOMPARE(harness.dialog.StatusText()->text(), QString("Complete"));
  QCOMPARE(harness.dialog.CountText()->text(), QString("21 QSO's converted"));
  QCOMPARE(ReadAll(dir.filePath("dialog.adi")), ReadAll(dir.filePath("console.adi")));
  harness.Convert(Example(), dir.filePath("again.adi"));
  QCOMPARE(ReadAll(dir.filePath("again.adi")), ReadAll(dir.filePath("console.adi")));
  // A log without QSOs after it starts from a reset count.
  WriteAll(dir.filePath("empty.adi"), "header only\n<eoh>\n");
  harness.Convert(dir.filePath("empty.adi"), dir.filePath("empty.bin"));
  QCOMPARE(harness.dialog.CountText()->text(), QString("0 QSO's converted"));
  QCOMPARE(harness.dialog.Progress()->value(), 100);
  QVERIFY(harness.boxes.isEmpty());
}

void DialogTest::FailuresShowTheFactoryBoxThenTheDialogsOwn_data() {
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("output");
  QTest::addColumn<QStringList>("boxes");
  QTest::newRow("existing output")
      << "%example"
      << "%dir/exists.adi"
      << QStringList{Box(QMessageBox::Critical, "Output file could not be opened"),
                     Box(QMessageBox::NoIcon, "Error opening output file %dir/exists.adi")};
  QTest::newRow("recognised input that cannot be read")
      << "%dir/short.bin"
      << "%dir/out.adi"
      << QStringList{Box(QMessageBox::Critical, "Error opening %dir/short.bin"),
                     Box(QMessageBox::NoIcon, "Error opening input file %dir/short.bin")};
  QTest::newRow("contest the output cannot carry")
      << "%src/tests/golden/cases/na-logs/in-naqp.qdf"
      << "%dir/out.bin"
      << QStringList{Box(QMessageBox::Critical, "Contest not supported by output file"),
                     Box(QMessageBox::NoIcon, "Error opening output file %dir/out.bin")};
  QTest::newRow("unrecognised input")
      << "%dir/<b>log.xyz"
      << "%dir/out.adi"
      << QStringList{Box(QMessageBox::NoIcon, "Error opening input file %dir/<b>log.xyz")};
}

void DialogTest::FailuresShowTheFactoryBoxThenTheDialogsOwn() {
  QFETCH(QString, input);
  QFETCH(QString, output);
  QFETCH(QStringList, boxes);
  QTemporaryDir dir;
  auto place = [&dir](QString text) {
    return text.replace("%example", Example())
        .replace("%src", QUORVEL_SOURCE_DIR)
        .replace("%dir", dir.path());
  };
  WriteAll(dir.filePath("exists.adi"), "keep me");
  WriteAll(dir.filePath("short.bin"), QByteArray(40, 0).replace(32, 5, "CT 9."));
  WriteAll(dir.filePath("<b>log.xyz"), "text");
  Harness harness;
  harness.Convert(Example(), dir.filePath("first.adi"));  // a run that leaves 100 and a count
  harness.Convert(place(input), place(output));
  QStringList expected;
  for (const QString& box : boxes) expected << place(box);
  QCOMPARE(harness.BoxTexts(), expected);
  QCOMPARE(ReadAll(dir.filePath("exists.adi")), QByteArray("keep me"));
  if (!output.contains("exists")) QVERIFY(!QFile::exists(place(output)));  // none left behind
  QCOMPARE(harness.dialog.StatusText()->text(), QString("Conversion failed"));
  QCOMPARE(harness.dialog.Progress()->value(), 0);
  QCOMPARE(harness.dialog.CountText()->text(), QString());
}

// An older CT log whose first QSO lies past 2038, which a CT 8 log cannot hold.
void DialogTest::QsosTheOutputLeftOutAreSaid() {
  QTemporaryDir dir;
  QVERIFY(QFile::copy(QString(QUORVEL_SOURCE_DIR) + "/fuzz/regressions/ct_old/time-past-2038",
                      dir.filePath("old.bin")));
  Harness harness;
  harness.Convert(dir.filePath("old.bin"), dir.filePath("new.bin"));
  QCOMPARE(harness.dialog.StatusText()->text(), QString("Complete"));
  QCOMPARE(harness.dialog.CountText()->text(), QString("3 QSO's converted, 1 not written"));
  // A Cabrillo log's X-QSO lines are left out and counted.
  harness.Convert(QString(QUORVEL_SOURCE_DIR) + "/tests/golden/cases/cabrillo-logs/in-cqww.log",
                  dir.filePath("cqww.adi"));
  QCOMPARE(harness.dialog.CountText()->text(), QString("4 QSO's converted, 1 X-QSO lines skipped"));
}

// A CT 8 log cut in its eighth record: the seven QSOs before it are converted, and the dialog
// says where reading stopped.
void DialogTest::InputThatStopsEarlyIsSaid() {
  QTemporaryDir dir;
  QString input = QString(QUORVEL_SOURCE_DIR) + "/tests/golden/cases/stopped-reading/in-ct8.bin";
  Harness harness;
  harness.Convert(input, dir.filePath("out.adi"));
  QCOMPARE(harness.dialog.StatusText()->text(), QString("Stopped early"));
  QCOMPARE(harness.dialog.CountText()->text(), QString("7 QSO's converted"));
  QCOMPARE(harness.dialog.Progress()->value(), 1374 * 100 / 1394);
  QCOMPARE(harness.BoxTexts(), QStringList{Box(QMessageBox::Warning,
                                               "Stopped at byte 1374 of 1394: the rest of the "
                                               "input could not be read")});
  QVERIFY(QFile::exists(dir.filePath("out.adi")));
}

void DialogTest::MessageBoxesShowPlainText() {
  auto box = MakeMessageBox({"Quorvel", "Error opening input file <b>x</b>.adi"}, nullptr);
  QCOMPARE(box->textFormat(), Qt::PlainText);
  QCOMPARE(box->text(), QString("Error opening input file <b>x</b>.adi"));
  QCOMPARE(WithoutLineEnd("Contest not supported by output file\n\r"),
           QString("Contest not supported by output file"));
}

void DialogTest::LabelsReachTheirFieldsByMnemonic() {
  Harness harness;
  QMap<QString, QWidget*> buddies;
  for (QLabel* label : harness.dialog.findChildren<QLabel*>())
    buddies[label->text()] = label->buddy();
  QCOMPARE(buddies.value("Convert Log &From:"), harness.dialog.InputEdit());
  QCOMPARE(buddies.value("Convert Log &To:"), harness.dialog.OutputEdit());
  OptionsDialog options(ConversionOptions{});
  for (QLabel* label : options.findChildren<QLabel*>()) buddies[label->text()] = label->buddy();
  QCOMPARE(buddies.value("Contest &Type"), options.ContestBox());
  QCOMPARE(buddies.value("Optional &comment for notes field"), options.CommentEdit());
}

void DialogTest::SaveChooserAppendsTheTypesExtension() {
  Harness harness;
  QStringList offered;
  ChosenFile answer;
  harness.dialog.SetSaveChooser([&](const QString&, const QStringList& filters) {
    offered = filters;
    return answer;
  });
  const struct {
    QString chosen;
    int type;
    QString result;
  } cases[] = {{"/logs/W1AW", 2, "/logs/W1AW.cbr"},
               {"/logs/W1AW.", 0, "/logs/W1AW..adi"},
               {"/logs/W1AW.txt", 4, "/logs/W1AW.txt"},
               {"", 1, "/logs/W1AW.txt"}};  // cancelled: nothing changes, no box
  for (const auto& c : cases) {
    answer = {c.chosen, c.type};
    harness.dialog.ChooseOutput();
    QCOMPARE(harness.dialog.OutputEdit()->text(), c.result);
  }
  QCOMPARE(offered.value(2), QString("Cabrillo Log Files (*.cbr)"));
  QVERIFY(harness.boxes.isEmpty());
}

// Actions: m = click Meters, h = click MHz, f/q/a = toggle a check box, c<text> = contest text,
// t<text> = comment. The expected options are band, approach, extra fields, contest, comment.
void DialogTest::OptionsDialogOkAndCancel_data() {
  QTest::addColumn<int>("start_band");
  QTest::addColumn<int>("start_contest");
  QTest::addColumn<QStringList>("actions");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<QString>("expected");
  QTest::newRow("meters then cancel") << 0 << 3 << QStringList{"m"} << false << "0 0 0 3 ";
  QTest::newRow("meters then ok") << 0 << 3 << QStringList{"m"} << true << "1 0 0 3 ";
  QTest::newRow("stored 2 shows MHz") << 2 << 0 << QStringList{} << true << "0 0 0 0 ";
  QTest::newRow("stored -1 shows MHz") << -1 << 0 << QStringList{} << true << "0 0 0 0 ";
  QTest::newRow("both fields") << 0 << 0 << QStringList{"f", "q"} << true << "0 0 3 0 ";
  QTest::newRow("approach") << 0 << 0 << QStringList{"a"} << true << "0 1 0 0 ";
  QTest::newRow("cqww chosen") << 0 << 0 << QStringList{"cCQWW"} << true << "0 0 0 3 ";
  QTest::newRow("lower case") << 0 << 0 << QStringList{"ccqww"} << true << "0 0 0 3 ";
  QTest::newRow("empty entry") << 0 << 3 << QStringList{"c"} << true << "0 0 0 0 ";
  QTest::newRow("unknown text") << 0 << 3 << QStringList{"cNOPE"} << true << "0 0 0 3 ";
  QTest::newRow("out of range") << 0 << 200 << QStringList{} << true << "0 0 0 0 ";
  QTest::newRow("out of range cancelled") << 0 << 200 << QStringList{} << false << "0 0 0 200 ";
  QTest::newRow("comment cut at 40")
      << 0 << 0 << QStringList{"t" + QString(45, 'x')} << true << "0 0 0 0 " + QString(40, 'x');
  QTest::newRow("comment with comma")
      << 0 << 0 << QStringList{"tField day, W1\\AW"} << true << "0 0 0 0 Field day, W1\\AW";
  QTest::newRow("comment cancelled") << 0 << 0 << QStringList{"tgone"} << false << "0 0 0 0 ";
}

void DialogTest::OptionsDialogOkAndCancel() {
  QFETCH(int, start_band);
  QFETCH(int, start_contest);
  QFETCH(QStringList, actions);
  QFETCH(bool, ok);
  QFETCH(QString, expected);
  Harness harness;
  ConversionOptions start{};
  start.band_numeric = start_band;
  start.contest = static_cast<std::uint8_t>(start_contest);
  harness.dialog.SetOptionsRunner([&start](ConversionOptions& options) {
    options = start;
    return true;
  });
  harness.dialog.EditOptions();  // the dialog's options are now `start`
  harness.dialog.SetOptionsRunner([&](ConversionOptions& options) {
    OptionsDialog dialog(options);
    for (const QString& action : actions) {
      if (action == "m") QTest::mouseClick(dialog.MetersButton(), Qt::LeftButton);
      if (action == "h") QTest::mouseClick(dialog.MegahertzButton(), Qt::LeftButton);
      if (action == "f") dialog.FrequencyBox()->toggle();
      if (action == "q") dialog.QsoNumberBox()->toggle();
      if (action == "a") dialog.ApproachBox()->toggle();
      if (action.startsWith('c')) dialog.ContestBox()->setCurrentText(action.mid(1));
      if (action.startsWith('t')) {
        dialog.CommentEdit()->clear();
        QTest::keyClicks(dialog.CommentEdit(), action.mid(1));
      }
    }
    ok ? dialog.accept() : dialog.reject();
    options = dialog.Options();
    return ok;
  });
  harness.dialog.EditOptions();
  const ConversionOptions& got = harness.dialog.Options();
  QString comment = QString::fromStdString(std::string(FieldText(got.comment)));
  QCOMPARE(QString("%1 %2 %3 %4 %5")
               .arg(got.band_numeric)
               .arg(got.approach)
               .arg(got.extra_fields)
               .arg(got.contest)
               .arg(comment),
           expected);
}

void DialogTest::SettingsFileIsReadAtStartAndWrittenAtExit() {
  QTemporaryDir dir;
  QString path = dir.filePath("quorvel/quorvelwin.ini");
  {
    Harness harness(path);
    QCOMPARE(harness.dialog.Options().contest, 0);
    harness.dialog.SetOptionsRunner([](ConversionOptions& options) {
      OptionsDialog dialog(options);
      dialog.ContestBox()->setCurrentText("CQWW");
      dialog.FrequencyBox()->setChecked(true);
      dialog.QsoNumberBox()->setChecked(true);
      dialog.accept();
      options = dialog.Options();
      return true;
    });
    harness.dialog.EditOptions();
    QTest::keyClick(&harness.dialog, Qt::Key_Escape);  // Esc ends it as Exit does
    QVERIFY(harness.boxes.isEmpty());
  }
  QCOMPARE(ReadAll(path),
           QByteArray("[General]\nBandDisplay=0\nTimeFormat=0\nFields=3\nContest=3\nComment=\n"));
  Harness again(path);
  QCOMPARE(again.dialog.Options().contest, 3);
  QCOMPARE(again.dialog.Options().extra_fields, 3u);
  OptionsDialog shown(again.dialog.Options());
  QCOMPARE(shown.ContestBox()->currentText(), QString("CQWW"));
}

void DialogTest::SettingsThatCannotBeWrittenAreReported() {
  QTemporaryDir dir;
  WriteAll(dir.filePath("plain-file"), "x");
  Harness harness(dir.filePath("plain-file/quorvel/quorvelwin.ini"));
  harness.dialog.reject();
  QCOMPARE(harness.boxes.size(), 1);
  QVERIFY(harness.boxes[0].text.contains("plain-file"));
}

// With QUORVEL_SCREENSHOT_DIR set, both dialogs are saved as pictures for the docs.
void DialogTest::Screenshots() {
  QString folder = qEnvironmentVariable("QUORVEL_SCREENSHOT_DIR");
  if (folder.isEmpty()) QSKIP("QUORVEL_SCREENSHOT_DIR is not set");
  QTemporaryDir dir;
  Harness harness;
  harness.Convert(Example(), dir.filePath("cqww-cw.adi"));
  harness.dialog.InputEdit()->setText("/home/w1aw/logs/cqww-cw.bin");
  harness.dialog.OutputEdit()->setText("/home/w1aw/logs/cqww-cw.adi");
  harness.dialog.show();
  QVERIFY(harness.dialog.grab().save(folder + "/quorvelwin-main.png"));
  ConversionOptions options{};
  options.contest = 3;
  options.extra_fields = 2;
  OptionsDialog dialog(options);
  dialog.show();
  QVERIFY(dialog.grab().save(folder + "/quorvelwin-options.png"));
}

QTEST_MAIN(DialogTest)
#include "dialog_test.moc"
