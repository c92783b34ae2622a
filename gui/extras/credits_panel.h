#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace brevio {

// A panel that runs its lines upwards through itself like film credits, one pixel per step,
// and starts again from below once the last line has left the top.
class CreditsPanel : public QWidget
{
    Q_OBJECT

public:
    CreditsPanel(const QStringList& lines, QWidget* parent = nullptr);

    static constexpr int kStepMs = 90;

    // Moves the lines one step; public so that the running order can be checked without waiting.
    void step();
    // Where the first line's top stands, in panel pixels.
    int offset() const { return m_offset; }
    const QTimer& timer() const { return m_timer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int lineHeight() const;

    QStringList m_lines;
    QTimer m_timer;
    int m_offset = 0;
};

} // namespace brevio
