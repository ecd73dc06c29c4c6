#include "settings/qttranslations_ui.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace korvane {

std::string QtLanguageCode(int lang) {
  switch (lang) {
    case 0:
    case 1:
      return "de";
    case 2:
      return "en";
    case 3:
      return "fr";
    case 4:
      return "es";
    default:
      return {};
  }
}

QtTranslations::QtTranslations(QObject* owner) : translator_(new QTranslator(owner)) {}

bool QtTranslations::use(int lang) {
  if (installed_) QCoreApplication::removeTranslator(translator_);
  installed_ = false;
  const std::string code = QtLanguageCode(lang);
  if (code == "en") return true;  // Qt's own language
  if (code.empty() ||
      !translator_->load(QStringLiteral("qtbase_") + QString::fromLatin1(code.c_str()),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  installed_ = QCoreApplication::installTranslator(translator_);
  return installed_;
}

}  // namespace korvane
