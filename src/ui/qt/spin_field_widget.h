// The whole-number field with arrows, bound to a SpinField control. Qt's own
// spin box refuses text outside its range while typing; this one lets the
// user type any number, as the control expects, and leaves the range to the
// control (stepping clamps, losing the focus brings the value into range).
#ifndef PELLMAR_UI_QT_SPIN_FIELD_WIDGET_H_
#define PELLMAR_UI_QT_SPIN_FIELD_WIDGET_H_

#include <QAbstractSpinBox>

#include "ui/controls.h"

namespace pellmar {

class SpinFieldWidget : public QAbstractSpinBox {
  Q_OBJECT

 public:
  SpinFieldWidget(SpinField& control, QWidget* parent);

  QValidator::State validate(QString& input, int& pos) const override;
  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Mirror();

  SpinField& control_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_SPIN_FIELD_WIDGET_H_
