// The whole-number field with arrows, bound to a SpinField control. Qt's own
// spin box refuses text outside its range while typing; this one lets the
// user type any number, as the control expects, and leaves the range to the
// control (stepping clamps, losing the focus brings the value into range).
// Screen readers read and set its value and range through the properties.
#ifndef PELLMAR_UI_QT_SPIN_FIELD_WIDGET_H_
#define PELLMAR_UI_QT_SPIN_FIELD_WIDGET_H_

#include <QAbstractSpinBox>

#include "ui/controls.h"

namespace pellmar {

class SpinFieldWidget : public QAbstractSpinBox {
  Q_OBJECT
  // The names Qt's accessibility for spin boxes reads.
  Q_PROPERTY(int value READ Value WRITE SetValue)
  Q_PROPERTY(int minimum READ Minimum)
  Q_PROPERTY(int maximum READ Maximum)

 public:
  SpinFieldWidget(SpinField& control, QWidget* parent);

  int Value() const { return control_.value(); }
  int Minimum() const { return control_.min(); }
  int Maximum() const { return control_.max(); }
  /// A value set from outside (an assistive tool), as if stepped to.
  void SetValue(int value);

  QValidator::State validate(QString& input, int& pos) const override;
  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Mirror();

  SpinField& control_;
  int announced_value_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_SPIN_FIELD_WIDGET_H_
