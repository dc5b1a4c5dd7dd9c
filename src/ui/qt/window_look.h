// What both windows share in their look: fixed-pixel sizes given as the
// outer size of a framed window, the button-face background, the fonts,
// the program's icon, centring on the screen, and the label measurer that
// sizes the main window's labels in its font.
#ifndef PELLMAR_UI_QT_WINDOW_LOOK_H_
#define PELLMAR_UI_QT_WINDOW_LOOK_H_

#include <QFont>
#include <QIcon>
#include <QSize>
#include <string>

#include "ui/controls.h"

class QWidget;

namespace pellmar {

class TMain;

/// Room a desktop frame takes around the client area (borders and title).
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 34;

/// The client size of a window whose frame is `outer_width` × `outer_height`.
QSize ClientSizeFor(int outer_width, int outer_height);

/// The main window's font: `face` at a 12-pixel character height. The
/// Shift-JIS character set (128) brings a Japanese face in for the glyphs
/// `face` lacks, as the desktop the design comes from maps such a font.
QFont MainWindowFont(const std::string& face, int charset);
/// The log window's own font, the proportional Japanese Gothic face.
QFont LogWindowFont();

/// The program's icon, the one its desktop entry shows, built into the
/// program so it needs no file beside it.
QIcon ProgramIcon();

/// Button-face background and fixed client size for a top-level window.
void GiveWindowLook(QWidget* window, int outer_width, int outer_height);
/// Moves a top-level window to the centre of the screen it is on.
void CentreOnScreen(QWidget* window);

/// Measures captions in the main window's current font face.
Label::Measurer LabelMeasurer(const TMain& main);

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_WINDOW_LOOK_H_
