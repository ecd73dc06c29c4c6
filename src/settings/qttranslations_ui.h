#pragma once
// Qt's own texts (the Yes/No and OK/Cancel buttons of the questions, the file,
// colour and folder dialogs) in the program's language, from the translations
// Qt installs beside itself (qtbase_de.qm, ...).
#include <QObject>
#include <string>

class QTranslator;

namespace korvane {

// The Qt language code of a settings language number: 0 and 1 German, 2
// English, 3 French, 4 Spanish; empty for any other number.
std::string QtLanguageCode(int lang);

class QtTranslations {
 public:
  // The translator lives as long as `owner` (the main window).
  explicit QtTranslations(QObject* owner);
  // Installs Qt's translation for `lang`, replacing the one installed before
  // (English needs none). False, and Qt's English texts, when Qt has no
  // translation for it.
  bool use(int lang);

 private:
  QTranslator* translator_;
  bool installed_ = false;
};

}  // namespace korvane
