// The desktop program: `korvane [PICTURE]`.
#include <QApplication>
#include <QLocale>
#include <clocale>
#include <string>

#include "app/fmain_ui.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Korvane"));
  QApplication::setApplicationDisplayName(QStringLiteral("Korvane"));
  // Numbers are written and read with "." whatever the user's locale.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());

  std::string picture;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (picture.empty() && !arg.empty()) picture = arg;
  }
  korvane::Tfmain w(picture, argc > 1);
  w.showMaximized();
  return app.exec();
}
