// Qt's own texts in the window's language: the Yes and No of a box and the
// whole folder picker come from Qt, not from the language file, so a
// Japanese window loads Qt's Japanese translation from the system's Qt.
#ifndef PELLMAR_UI_QT_QT_TRANSLATION_H_
#define PELLMAR_UI_QT_QT_TRANSLATION_H_

#include <QLocale>
#include <QTranslator>
#include <cstdint>
#include <memory>

namespace pellmar {

/// The locale Qt's texts should follow: Japanese for a language file whose
/// LANG is 128 (Shift-JIS) or for a Japanese system; the C locale (Qt's own
/// English) for any other.
QLocale QtTextLocale(int32_t lang, const QLocale& system = QLocale::system());

/// Qt's translation for `locale`, installed in the running application; it
/// is removed again when the returned object goes. Nullptr for English and
/// where the system has no translation installed (Qt then speaks English).
std::unique_ptr<QTranslator> InstallQtTranslation(const QLocale& locale);

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_QT_TRANSLATION_H_
