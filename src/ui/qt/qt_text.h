// Text crossing between the window logic and Qt: the logic holds UTF-8 byte
// strings, Qt holds QString. Tooltips are the one Qt text that guesses at
// rich text, so they get their own plain-text conversion.
#ifndef PELLMAR_UI_QT_QT_TEXT_H_
#define PELLMAR_UI_QT_QT_TEXT_H_

#include <QString>
#include <QTextDocument>
#include <string>

namespace pellmar {

inline QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

/// Text for a box or label: the logic's "\r\n" line breaks become Qt's "\n".
inline QString ToDisplayText(const std::string& text) {
  QString shown = ToQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

/// A tooltip that shows `text` literally, even when it looks like markup.
inline QString PlainToolTip(const std::string& text) {
  if (text.empty()) return QString();
  return Qt::convertFromPlainText(ToQString(text), Qt::WhiteSpaceNormal);
}

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_QT_TEXT_H_
