// Sizes, colours and fonts of the two windows.
#include "ui/qt/window_look.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include "core/language_file.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"
#include "ui/qt/qt_text.h"

namespace pellmar {
namespace {

constexpr int kFontPixels = 12;
// Stands in for the Japanese proportional Gothic face of the log's design
// (and for Japanese text in the main window) where that face is missing.
constexpr char kJapaneseGothic[] = "IPAPGothic";

}  // namespace

QSize ClientSizeFor(int outer_width, int outer_height) {
  return QSize(outer_width - kFrameWidth, outer_height - kFrameHeight);
}

QFont MainWindowFont(const std::string& face, int charset) {
  QFont font;
  QStringList families{ToQString(face)};
  if (charset == kShiftJisCharset) families.append(QString::fromLatin1(kJapaneseGothic));
  font.setFamilies(families);
  font.setPixelSize(kFontPixels);
  font.setWeight(QFont::Normal);
  return font;
}

QFont LogWindowFont() {
  QFont font;
  font.setFamilies({ToQString(TLogViewer::kFontName), QString::fromLatin1(kJapaneseGothic)});
  font.setPixelSize(kFontPixels);
  font.setWeight(QFont::Normal);
  return font;
}

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/pellmar/pellmar.svg")); }

void GiveWindowLook(QWidget* window, int outer_width, int outer_height) {
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  window->setPalette(palette);
  window->setAutoFillBackground(true);
  window->resize(ClientSizeFor(outer_width, outer_height));
}

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QSize outer = window->size() + QSize(kFrameWidth, kFrameHeight);
  window->move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

Label::Measurer LabelMeasurer(const TMain& main) {
  return [&main](const std::string& caption) {
    const QFontMetrics metrics(MainWindowFont(main.font_name(), main.font_charset()));
    return metrics.horizontalAdvance(ToQString(caption));
  };
}

}  // namespace pellmar
