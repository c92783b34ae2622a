#pragma once

#include <QFrame>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QToolButton;

namespace brevio {

class TBrevioForm;

// The retrieval page: check and download buttons (with the abort button on the same spot),
// the progress memo, the channel checklist and the status line.
class RetrievalPage : public QFrame
{
    Q_OBJECT

public:
    RetrievalPage(TBrevioForm& form, QWidget* parent);

    // Opening the page shows the check button, enabled, with the other two on its spot.
    void pageOpened();

    QToolButton* checkButton() const { return m_check; }
    QToolButton* downloadButton() const { return m_download; }
    QToolButton* abortButton() const { return m_abort; }
    QPlainTextEdit* progressMemo() const { return m_memo; }
    QListWidget* channelChecklist() const { return m_checklist; }
    QLabel* statusLine() const { return m_status; }

private:
    TBrevioForm& m_form;
    QToolButton* m_check = nullptr;
    QToolButton* m_download = nullptr;
    QToolButton* m_abort = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QListWidget* m_checklist = nullptr;
    QLabel* m_status = nullptr;
};

} // namespace brevio
