#pragma once

#include "gui/widgets/anchors.h"
#include "gui/widgets/list_views.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <type_traits>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QSpinBox;
class QTextEdit;
class QToolButton;

namespace brevio {

// The font the window was laid out for: a small 8-point sans serif of Arial's widths. Every
// caption fits its control in it.
QFont interfaceFont();

// Creates a control of the designed window: its component name as objectName, its design
// rectangle and anchoring inside a parent that has Anchors, and an accessible name. Lists and
// drop-down lists show their lines cut short (see showShortTexts).
template <class W>
W* makeControl(QWidget* parent, const char* name, QRect rect, unsigned anchors = AnchorTopLeft)
{
    auto* control = new W(parent);
    control->setObjectName(QString::fromLatin1(name));
    if (auto* anchorSet = Anchors::of(parent))
        anchorSet->place(control, rect, anchors);
    else
        control->setGeometry(rect);
    if constexpr (std::is_base_of_v<QAbstractItemView, W>)
        showShortTexts(control);
    if constexpr (std::is_base_of_v<QComboBox, W>)
        showShortTexts(control->view());
    return control;
}

// A flat push button with a hand cursor; `group` (exclusive) makes it one of a set of which one
// stays down.
QToolButton* makeSpeedButton(QWidget* parent, const char* name, const QString& caption, QRect rect,
                             QButtonGroup* group = nullptr, unsigned anchors = AnchorTopLeft);
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, QRect rect);
QSpinBox* makeSpinBox(QWidget* parent, const char* name, QRect rect, int minimum, int maximum, int value,
                      int step = 1);
// A read-only text pane of the viewing page. Its accessible name comes from the names table.
QTextEdit* makePane(QWidget* parent, const char* name, QRect rect, bool richText);
// A panel that holds anchored controls of its own.
QWidget* makePanel(QWidget* parent, const char* name, QRect rect, unsigned anchors = AnchorTopLeft);

// Sets what a control shows as its caption (button, label, group box, action or menu) and
// keeps its accessible name in step.
void setCaption(QObject* control, const QString& caption);

// What a screen reader calls `control`; a drop-down list's own list and edit field are called
// the same.
void setAccessibleNameOf(QWidget* control, const QString& name);

} // namespace brevio
