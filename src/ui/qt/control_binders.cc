// The common mirror and the binders of the simple control kinds; the kinds
// that need their own widget class live beside this file.
#include "ui/qt/control_binders.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "ui/qt/list_box_widget.h"
#include "ui/qt/memo_widget.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/spin_field_widget.h"
#include "ui/qt/status_bar_widget.h"

namespace pellmar {
namespace {

void MirrorCommon(const Control& control, QWidget* widget, Placement placement) {
  if (placement == Placement::kControlGeometry) {
    widget->setGeometry(control.left(), control.top(), control.width(), control.height());
  }
  widget->setEnabled(control.enabled());
  // A control mirrored for every file of a run mostly keeps its hint, and
  // setting it again would tell the accessibility layer each time.
  const QString hint = ToQString(control.hint());
  if (widget->accessibleDescription() != hint) {
    widget->setToolTip(PlainToolTip(control.hint()));
    // Screen readers would read the tooltip, markup and all; they get the
    // hint itself.
    widget->setAccessibleDescription(hint);
  }
  widget->setVisible(control.visible());
}

// A caption longer than the design width (a long project name, a
// translation) would be cut off; the box grows to the right, within the
// window, and never shrinks below its design width.
void WidenToCaption(QWidget* widget) {
  if (widget->isHidden()) return;
  const int room = widget->parentWidget() ? widget->parentWidget()->width() - widget->x() - 8 : 0;
  const int wanted = std::min(widget->sizeHint().width(), room);
  if (wanted > widget->width()) widget->resize(wanted, widget->height());
}

void NameWidget(const Control& control, QWidget* widget) {
  widget->setObjectName(ToQString(control.name()));
}

}  // namespace

void BindMirror(Control& control, QWidget* widget, std::function<void()> mirror,
                Placement placement) {
  QPointer<QWidget> guard(widget);
  control.on_update = [&control, guard, mirror = std::move(mirror), placement] {
    if (guard.isNull()) return;
    const QSignalBlocker blocker(guard.data());
    MirrorCommon(control, guard.data(), placement);
    mirror();
  };
  control.on_update();
}

void Remirror(const Control& control) {
  if (control.on_update) control.on_update();
}

void AlsoOnUpdate(Control& control, QObject* owner, std::function<void()> also) {
  QPointer<QObject> guard(owner);
  control.on_update = [mirror = std::move(control.on_update), guard, also] {
    if (mirror) mirror();
    if (!guard.isNull()) also();
  };
  also();
}

QPushButton* BindButton(Button& button, QWidget* parent) {
  auto* widget = new QPushButton(parent);
  NameWidget(button, widget);
  QObject::connect(widget, &QPushButton::clicked, widget, [&button] {
    if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) {
      button.ShiftClick();
    } else {
      button.Click();
    }
  });
  BindMirror(button, widget, [&button, widget] {
    widget->setText(ToQString(button.caption()));
    widget->setDefault(button.is_default());
  });
  return widget;
}

QLabel* BindLabel(Label& label, QWidget* parent) {
  auto* widget = new QLabel(parent);
  NameWidget(label, widget);
  // Captions may come from a language file: never read them as markup.
  widget->setTextFormat(Qt::PlainText);
  BindMirror(label, widget, [&label, widget] {
    widget->setAlignment((label.centered() ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    widget->setText(ToDisplayText(label.caption()));
    // A design height below the font's line height would cut descenders
    // off; the label grows downwards, its place and width stay.
    const int line_height = widget->fontMetrics().height();
    if (widget->height() < line_height) widget->resize(widget->width(), line_height);
  });
  return widget;
}

QLineEdit* BindEdit(Edit& edit, QWidget* parent) {
  auto* widget = new QLineEdit(parent);
  NameWidget(edit, widget);
  QObject::connect(widget, &QLineEdit::textEdited, widget, [&edit](const QString& text) {
    edit.UserEdit(ToUtf8(text));
    Remirror(edit);
  });
  BindMirror(edit, widget, [&edit, widget] {
    const QString text = ToQString(edit.text());
    // Re-setting the same text would move the caret while the user types.
    if (widget->text() != text) widget->setText(text);
  });
  return widget;
}

QCheckBox* BindCheckBox(CheckBox& check_box, QWidget* parent) {
  auto* widget = new QCheckBox(parent);
  NameWidget(check_box, widget);
  QObject::connect(widget, &QCheckBox::clicked, widget, [&check_box] {
    check_box.UserClick();
    Remirror(check_box);
  });
  BindMirror(check_box, widget, [&check_box, widget] {
    // The auto-delete caption carries a project name: an "&" in it is text,
    // not a keyboard accelerator.
    widget->setText(ToQString(check_box.caption()).replace(QLatin1Char('&'), QStringLiteral("&&")));
    widget->setChecked(check_box.checked());
    WidenToCaption(widget);
  });
  return widget;
}

QWidget* BindControl(Control& control, QWidget* parent) {
  if (auto* button = dynamic_cast<Button*>(&control)) return BindButton(*button, parent);
  if (auto* label = dynamic_cast<Label*>(&control)) return BindLabel(*label, parent);
  if (auto* edit = dynamic_cast<Edit*>(&control)) return BindEdit(*edit, parent);
  if (auto* box = dynamic_cast<CheckBox*>(&control)) return BindCheckBox(*box, parent);
  if (auto* spin = dynamic_cast<SpinField*>(&control)) return new SpinFieldWidget(*spin, parent);
  if (auto* list = dynamic_cast<ListBox*>(&control)) return new ListBoxWidget(*list, parent);
  if (auto* bar = dynamic_cast<StatusBar*>(&control)) return new StatusBarWidget(*bar, parent);
  if (auto* memo = dynamic_cast<MemoField*>(&control)) return new MemoWidget(*memo, parent);
  return nullptr;
}

}  // namespace pellmar
