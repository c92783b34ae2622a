#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QTextEdit;

namespace brevio {

// Shows lines of windows-1251 bytes in the news pane, one paragraph a line, with the web
// addresses in them as links.
void showNewsLines(QTextEdit* pane, const std::vector<std::string>& lines);

// The pane's lines as they are on screen (windows-1251 bytes).
std::vector<std::string> newsPaneLines(const QTextEdit* pane);

// Reports a click on a link of a read-only text pane, with either mouse button, when the
// button goes down and comes up on the same link, and Enter with the caret on a link; the
// pane's context menu stays away from links.
class LinkClicks : public QObject
{
    Q_OBJECT

public:
    LinkClicks(QTextEdit* pane, std::function<void(const QString&)> clicked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextEdit* m_pane;
    std::function<void(const QString&)> m_clicked;
    QString m_pressedLink;
};

} // namespace brevio
