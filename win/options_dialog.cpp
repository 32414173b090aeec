#include "win/options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>

#include "core/numbers.h"
#include "core/text_field.h"
#include "win/dialog_units.h"

namespace quorvel::win {
namespace {

// The contest code of a keyword in any letter case, as -c compares it; 0 for the empty text
// and -1 for any other text.
int ContestOfText(const QString& text) {
  if (text.isEmpty()) return 0;
  std::string typed = text.toStdString();
  for (int code = 1; code <= kContestCount; ++code) {
    if (EqualsNoCase(kContestKeywords[code], typed)) return code;
  }
  return -1;
}

}  // namespace

QByteArray CutUtf8(const QString& text, int bytes) {
  QByteArray utf8 = text.toUtf8();
  if (utf8.size() <= bytes) return utf8;
  int end = bytes;
  while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
  return utf8.left(end);
}

OptionsDialog::OptionsDialog(const ConversionOptions& start, QWidget* parent)
    : QDialog(parent), options(start) {
  Build();
  ShowOptions();
}

void OptionsDialog::Build() {
  setWindowTitle("Quorvel Options");
  DialogUnits units(font());
  setFixedSize(units.X(307), units.Y(194));
  Place(new QLabel("Please read the readme.txt file concerning these options before use.", this),
        units, 14, 13, 219, 11);
  Place(new QGroupBox("Band Display", this), units, 14, 31, 63, 45);
  megahertz = Place(new QRadioButton("M&Hz", this), units, 25, 42, 37, 11);
  meters = Place(new QRadioButton("&Meters", this), units, 25, 58, 48, 11);
  auto* bands = new QButtonGroup(this);
  bands->addButton(megahertz, 0);
  bands->addButton(meters, 1);
  auto* contest_label = Place(new QLabel("Contest &Type", this), units, 121, 30, 95, 12);
  contest = Place(new QComboBox(this), units, 121, 42, 84, 12);
  contest->setEditable(true);
  contest->setInsertPolicy(QComboBox::NoInsert);
  QStringList keywords{""};
  for (int code = 1; code <= kContestCount; ++code) {
    keywords << QString::fromUtf8(kContestKeywords[code].data(),
                                  static_cast<int>(kContestKeywords[code].size()));
  }
  keywords.sort();  // a sorted list: the empty entry stands first
  contest->addItems(keywords);
  contest_label->setBuddy(contest);
  frequency = Place(new QCheckBox("Output exact &frequency", this), units, 14, 86, 134, 12);
  qso_number =
      Place(new QCheckBox("Add &sequential QSO number field", this), units, 14, 103, 126, 12);
  approach =
      Place(new QCheckBox("Output &Approach compatible time field", this), units, 14, 120, 141, 12);
  auto* comment_label =
      Place(new QLabel("Optional &comment for notes field", this), units, 14, 144, 159, 11);
  comment = Place(new QLineEdit(this), units, 14, 162, 272, 14);
  comment->setMaxLength(kCommentBytes);
  comment_label->setBuddy(comment);
  auto* ok = Place(new QPushButton("OK", this), units, 250, 7, 50, 14);
  ok->setDefault(true);
  auto* cancel = Place(new QPushButton("Cancel", this), units, 250, 24, 50, 14);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Any stored band display but 1 (metres) shows as MHz, so that OK never stores another value.
void OptionsDialog::ShowOptions() {
  (options.band_numeric == 1 ? meters : megahertz)->setChecked(true);
  comment->setText(QString::fromUtf8(FieldText(options.comment).data(),
                                     static_cast<int>(FieldText(options.comment).size())));
  approach->setChecked(options.approach != 0);
  frequency->setChecked(options.extra_fields & kExtraExactFrequency);
  qso_number->setChecked(options.extra_fields & kExtraQsoNumber);
  int code = options.contest <= kContestCount ? options.contest : 0;
  std::string_view keyword = code > 0 ? kContestKeywords[code] : std::string_view{};
  int index = contest->findText(QString::fromUtf8(keyword.data(), static_cast<int>(keyword.size())),
                                Qt::MatchExactly);
  contest->setCurrentIndex(index < 0 ? 0 : index);
}

void OptionsDialog::accept() {
  options.band_numeric = meters->isChecked() ? 1 : 0;
  CopyCut(options.comment, CutUtf8(comment->text(), kCommentBytes).toStdString());
  options.approach = approach->isChecked() ? 1 : 0;
  options.extra_fields &= ~(kExtraExactFrequency | kExtraQsoNumber);
  if (frequency->isChecked()) options.extra_fields |= kExtraExactFrequency;
  if (qso_number->isChecked()) options.extra_fields |= kExtraQsoNumber;
  int code = ContestOfText(contest->currentText());
  if (code >= 0) options.contest = static_cast<std::uint8_t>(code);
  QDialog::accept();
}

}  // namespace quorvel::win
