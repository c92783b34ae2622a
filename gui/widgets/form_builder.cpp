#include "gui/widgets/form_builder.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>

namespace brevio {

QFont interfaceFont()
{
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QToolButton* makeSpeedButton(QWidget* parent, const char* name, const QString& caption, QRect rect,
                             QButtonGroup* group, unsigned anchors)
{
    auto* button = makeControl<QToolButton>(parent, name, rect, anchors);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    setCaption(button, caption);
    if (group) {
        button->setCheckable(true);
        group->addButton(button);
    }
    return button;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, QRect rect)
{
    auto* box = makeControl<QCheckBox>(parent, name, rect);
    setCaption(box, caption);
    return box;
}

QSpinBox* makeSpinBox(QWidget* parent, const char* name, QRect rect, int minimum, int maximum, int value,
                      int step)
{
    auto* spin = makeControl<QSpinBox>(parent, name, rect);
    spin->setRange(minimum, maximum);
    spin->setSingleStep(step);
    spin->setValue(value);
    return spin;
}

QTextEdit* makePane(QWidget* parent, const char* name, QRect rect, bool richText)
{
    auto* pane = makeControl<QTextEdit>(parent, name, rect, AnchorAll);
    pane->setReadOnly(true);
    pane->setAcceptRichText(richText);
    pane->setLineWrapMode(QTextEdit::NoWrap);
    pane->setUndoRedoEnabled(false);
    // Read-only panes still show where a click landed: the caret names the clicked line.
    pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return pane;
}

QWidget* makePanel(QWidget* parent, const char* name, QRect rect, unsigned anchors)
{
    auto* panel = makeControl<QFrame>(parent, name, rect, anchors);
    new Anchors(panel, rect.size());
    return panel;
}

void setCaption(QObject* control, const QString& caption)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
    else if (auto* box = qobject_cast<QGroupBox*>(control))
        box->setTitle(caption);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setText(caption);
    else if (auto* menu = qobject_cast<QMenu*>(control))
        menu->setTitle(caption);
    if (auto* widget = qobject_cast<QWidget*>(control))
        setAccessibleNameOf(widget, QString(caption).remove(QLatin1Char('&')));
}

void setAccessibleNameOf(QWidget* control, const QString& name)
{
    control->setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->view()->setAccessibleName(name);
        if (QLineEdit* edit = combo->lineEdit())
            edit->setAccessibleName(name);
    }
}

} // namespace brevio
