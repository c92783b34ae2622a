#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace brevio {

// A panel that lies over other controls of its page while it is open (the time-shift panel, the
// companion's settings). The controls it covers are hidden with it shown, so that neither the
// Tab key nor a screen reader reaches what nobody can see; the keyboard focus moves into the
// panel and comes back when it closes.
class Overlay : public QObject
{
public:
    // Watches `panel` (it becomes the parent).
    explicit Overlay(QWidget* panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cover();
    void uncover();

    QWidget* m_panel;
    QList<QPointer<QWidget>> m_covered;
    QPointer<QWidget> m_focusBefore;
};

} // namespace brevio
