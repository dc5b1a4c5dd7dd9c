// Finds qtbase_<language>.qm where the system's Qt keeps its translations.
#include "ui/qt/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "core/language_file.h"

namespace pellmar {

QLocale QtTextLocale(int32_t lang, const QLocale& system) {
  if (lang == kShiftJisCharset || system.language() == QLocale::Japanese) {
    return QLocale(QLocale::Japanese, QLocale::Japan);
  }
  return QLocale::c();
}

std::unique_ptr<QTranslator> InstallQtTranslation(const QLocale& locale) {
  if (locale.language() == QLocale::C) return nullptr;
  auto translator = std::make_unique<QTranslator>();
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
    return nullptr;
  }
  if (!QCoreApplication::installTranslator(translator.get())) return nullptr;
  return translator;
}

}  // namespace pellmar
