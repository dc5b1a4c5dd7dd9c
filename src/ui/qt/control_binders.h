// Binders: each creates the real widget for one toolkit-neutral control,
// mirrors every value of the control into it whenever the control changes,
// and turns the user's input into the control's own User* calls or Click().
#ifndef PELLMAR_UI_QT_CONTROL_BINDERS_H_
#define PELLMAR_UI_QT_CONTROL_BINDERS_H_

#include <functional>

#include "ui/controls.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QWidget;

namespace pellmar {

/// Where a bound widget takes its place from.
enum class Placement {
  kControlGeometry,  // left, top, width, height of the control, in pixels
  kOwnLayout,        // the window places it (the status bar)
};

/// Makes `mirror` the control's on_update and runs it once. Each run sets
/// the common values (place, visibility, enabled state, hint) and then the
/// kind's own values, with the widget's signals blocked so nothing echoes
/// back; once the widget is gone the control's updates are ignored.
void BindMirror(Control& control, QWidget* widget, std::function<void()> mirror,
                Placement placement = Placement::kControlGeometry);

/// Runs the control's mirror again, so the widget shows the control's value
/// even where the user's input was refused or left it unchanged.
void Remirror(const Control& control);

/// Runs `also` now and after each of the control's updates (behind its
/// mirror) for as long as `owner` lives: how a widget follows a label it is
/// named after.
void AlsoOnUpdate(Control& control, QObject* owner, std::function<void()> also);

QPushButton* BindButton(Button& button, QWidget* parent);
QLabel* BindLabel(Label& label, QWidget* parent);
QLineEdit* BindEdit(Edit& edit, QWidget* parent);
QCheckBox* BindCheckBox(CheckBox& check_box, QWidget* parent);

/// Binds any control by its kind; nullptr for a kind without a widget.
QWidget* BindControl(Control& control, QWidget* parent);

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_CONTROL_BINDERS_H_
