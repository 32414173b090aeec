// Dialog units as the dialogs' layouts give them, turned into pixels from the dialog font: a
// horizontal unit is a quarter of the font's average character width, a vertical unit an
// eighth of its height.
#pragma once

#include <QAbstractButton>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <algorithm>
#include <type_traits>

namespace quorvel::win {

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  QRect Rect(int x, int y, int width, int height) const;
  int X(int units) const { return (units * base_width + 2) / 4; }
  int Y(int units) const { return (units * base_height + 4) / 8; }

 private:
  int base_width;
  int base_height;
};

/// Puts `widget` at its place in dialog units. A label or button whose text the font draws wider
/// than its place (the dialog font is not the original's) grows to its text, so nothing is cut.
template <typename Widget>
Widget* Place(Widget* widget, const DialogUnits& units, int x, int y, int width, int height) {
  QRect place = units.Rect(x, y, width, height);
  if constexpr (std::is_base_of_v<QLabel, Widget> || std::is_base_of_v<QAbstractButton, Widget>) {
    place.setWidth(std::max(place.width(), widget->sizeHint().width()));
  }
  widget->setGeometry(place);
  return widget;
}

}  // namespace quorvel::win
