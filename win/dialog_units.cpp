#include "win/dialog_units.h"

#include <QFontMetrics>

namespace quorvel::win {

DialogUnits::DialogUnits(const QFont& font) {
  QFontMetrics metrics(font);
  // The average width of the 52 letters, rounded, as the dialog manager measures its font.
  int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  base_width = (letters / 26 + 1) / 2;
  base_height = metrics.height();
  if (base_width < 1) base_width = 1;
  if (base_height < 1) base_height = 1;
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}

}  // namespace quorvel::win
