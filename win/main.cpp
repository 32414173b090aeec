// quorvelwin: the dialog program. It lives while its one dialog is open.
#include <QApplication>

#include "core/settings_file.h"
#include "win/main_dialog.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  application.setWindowIcon(quorvel::win::ProgramIcon());
  quorvel::win::MainDialog dialog(QString::fromStdString(quorvel::SettingsFilePath()));
  dialog.exec();
  return 0;
}
