#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QVector>

class QWidget;

namespace brevio {

// Which edges of its parent a control keeps its distance to when the parent is resized.
enum Anchor : unsigned {
    AnchorLeft = 1,
    AnchorTop = 2,
    AnchorRight = 4,
    AnchorBottom = 8,
    AnchorTopLeft = AnchorLeft | AnchorTop,
    AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom,
};

// Absolute placement with edge anchoring, the way the window was designed: every control has
// a design rectangle inside a container of a design size; when the container grows or shrinks
// by (dx, dy), a control anchored left and right stretches by dx, one anchored only right
// moves by dx, and likewise for top and bottom.
class Anchors : public QObject
{
    Q_OBJECT

public:
    Anchors(QWidget* container, QSize designSize);

    void place(QWidget* control, QRect designRect, unsigned anchors = AnchorTopLeft);
    // Moves a placed control to a new design rectangle (and re-applies the current size).
    void replace(QWidget* control, QRect designRect);
    void apply();

    static Anchors* of(QWidget* container);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry
    {
        QWidget* control;
        QRect design;
        unsigned anchors;
    };
    QRect geometryFor(const Entry& entry) const;

    QWidget* m_container;
    QSize m_design;
    QVector<Entry> m_entries;
};

} // namespace brevio
