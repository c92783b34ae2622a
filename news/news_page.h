#pragma once

#include <QFrame>

class QLabel;
class QTextEdit;

namespace brevio {

class TBrevioForm;

// The news page: mode switch, source buttons, the news pane and the browser panel.
class NewsPage : public QFrame
{
    Q_OBJECT

public:
    NewsPage(TBrevioForm& form, QWidget* parent);

    // Opening the page: the pane and the browser panel end 5 pixels before the page's edges,
    // and the browser panel is hidden.
    void pageOpened();

    QLabel* statusLine() const { return m_status; }
    QTextEdit* newsPane() const { return m_pane; }

private:
    TBrevioForm& m_form;
    QLabel* m_status = nullptr;
    QTextEdit* m_pane = nullptr;
    QWidget* m_browserPanel = nullptr;
};

} // namespace brevio
