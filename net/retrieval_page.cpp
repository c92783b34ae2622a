#include "net/retrieval_page.h"

#include "app/brevio_form.h"
#include "app/form_builder.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>

namespace brevio {

namespace {
const QRect kButtonSpot(8, 8, 207, 17);
}

RetrievalPage::RetrievalPage(TBrevioForm& form, QWidget* parent)
    : QFrame(parent)
    , m_form(form)
{
    setObjectName(QStringLiteral("Panel6"));
    new Anchors(this, QSize(707, 359));

    m_check = makeSpeedButton(this, "FlatSpeedButton19", QStringLiteral("Проверить наличие новой программки"),
                              kButtonSpot);
    m_download = makeSpeedButton(this, "FlatSpeedButton20",
                                 QStringLiteral("Получить отмеченые телепрограммы"), kButtonSpot);
    m_abort = makeSpeedButton(this, "FlatSpeedButton27", QStringLiteral("Прервать сеанс связи"), kButtonSpot);
    m_download->hide();
    m_abort->hide();

    m_memo = makeControl<QPlainTextEdit>(this, "FlatMemo1", {8, 32, 207, 52});
    m_memo->setReadOnly(true);
    m_memo->setAccessibleName(QStringLiteral("Ход получения"));
    m_checklist = makeControl<QListWidget>(this, "CheckListBox2", {8, 90, 208, 241},
                                           AnchorLeft | AnchorTop | AnchorBottom);
    m_checklist->setAccessibleName(QStringLiteral("Каналы для получения"));
    m_status = makeControl<QLabel>(this, "Panel7", {8, 336, 209, 17}, AnchorLeft | AnchorBottom);
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setAccessibleName(QStringLiteral("Состояние связи"));
    auto* filler = makeControl<QFrame>(this, "Panel12", {224, 24, 476, 329}, AnchorAll);
    filler->setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void RetrievalPage::pageOpened()
{
    m_check->setVisible(true);
    m_check->setEnabled(true);
    for (auto* button : {m_check, m_download, m_abort})
        Anchors::of(this)->replace(button, kButtonSpot);
    // Of two visible buttons on the spot, the later in the order check, download, abort is on top.
    m_check->raise();
    m_download->raise();
    m_abort->raise();
}

} // namespace brevio
