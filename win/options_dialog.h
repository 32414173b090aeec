// The options dialog: the band display, the contest, the extra dBase fields, the Approach time
// field and the notes comment. It works on its own copy of the options; the main dialog takes
// the copy back only when the user presses OK.
#pragma once

#include <QDialog>

#include "core/contest_header.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace quorvel::win {

/// The comment keeps at most this many bytes of UTF-8 text, never a part of a character.
inline constexpr int kCommentBytes = 40;

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  OptionsDialog(const ConversionOptions& options, QWidget* parent = nullptr);
  const ConversionOptions& Options() const { return options; }

  QRadioButton* MegahertzButton() const { return megahertz; }
  QRadioButton* MetersButton() const { return meters; }
  QComboBox* ContestBox() const { return contest; }
  QCheckBox* FrequencyBox() const { return frequency; }
  QCheckBox* QsoNumberBox() const { return qso_number; }
  QCheckBox* ApproachBox() const { return approach; }
  QLineEdit* CommentEdit() const { return comment; }

 public slots:
  void accept() override;

 private:
  void Build();
  void ShowOptions();

  ConversionOptions options;
  QRadioButton* megahertz = nullptr;
  QRadioButton* meters = nullptr;
  QComboBox* contest = nullptr;
  QCheckBox* frequency = nullptr;
  QCheckBox* qso_number = nullptr;
  QCheckBox* approach = nullptr;
  QLineEdit* comment = nullptr;
};

/// `text` cut to at most `bytes` bytes of UTF-8 without splitting a character.
QByteArray CutUtf8(const QString& text, int bytes);

}  // namespace quorvel::win
