// The number field: typing, arrows, wheel and focus-out go to the control.
#include "ui/qt/spin_field_widget.h"

#include <QAccessible>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>

#include "ui/qt/control_binders.h"
#include "ui/qt/qt_text.h"

namespace pellmar {

SpinFieldWidget::SpinFieldWidget(SpinField& control, QWidget* parent)
    : QAbstractSpinBox(parent), control_(control), announced_value_(control.value()) {
  setObjectName(ToQString(control.name()));
  // The base class would try to interpret every keystroke as a value of its
  // own; the control does that, so the widget only reports the text.
  setKeyboardTracking(false);
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    control_.UserEdit(ToUtf8(text));
    Remirror(control_);
  });
  BindMirror(control_, this, [this] { Mirror(); });
}

void SpinFieldWidget::Mirror() {
  const QString text = ToQString(control_.text());
  if (lineEdit()->text() != text) {
    const QSignalBlocker blocker(lineEdit());
    lineEdit()->setText(text);
  }
  if (control_.value() == announced_value_) return;
  announced_value_ = control_.value();
  QAccessibleValueChangeEvent changed(this, announced_value_);
  QAccessible::updateAccessibility(&changed);
}

void SpinFieldWidget::SetValue(int value) {
  control_.SetValue(value);
  Remirror(control_);
}

QValidator::State SpinFieldWidget::validate(QString& input, int& /*pos*/) const {
  // Only signs and digits can be typed, as in the field the logic was
  // written for; whether they make a number in range is the control's call.
  static const QRegularExpression kSignsAndDigits(QStringLiteral("^[-+0-9]*$"));
  return kSignsAndDigits.match(input).hasMatch() ? QValidator::Acceptable : QValidator::Invalid;
}

void SpinFieldWidget::stepBy(int steps) {
  control_.SetValue(control_.value() + steps);
  Remirror(control_);
}

QAbstractSpinBox::StepEnabled SpinFieldWidget::stepEnabled() const {
  // The arrows always work; the control keeps the value at its bounds.
  return StepUpEnabled | StepDownEnabled;
}

void SpinFieldWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusOutEvent(event);
  control_.Exit();
  Remirror(control_);
}

}  // namespace pellmar
