#include "gui/extras/about_box.h"

#include "core/extras/jpeg_image.h"
#include "gui/extras/credits_panel.h"
#include "gui/widgets/link_addresses.h"

#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace brevio {

namespace {

const QColor kTeal(0, 128, 128);
const QColor kBlue(0, 0, 255);

QPixmap programPicture()
{
    QFile file(QStringLiteral(":/extras/about.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const auto decoded = decodeJpeg(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (!decoded)
        return {};
    const QImage image(decoded->pixels.data(), decoded->width, decoded->height, decoded->width * 3,
                       QImage::Format_RGB888);
    // The image only borrows the decoded buffer: the pixmap takes its own copy.
    return QPixmap::fromImage(image.copy());
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect rect)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    return label;
}

void makeLink(QLabel* label, const QString& hint)
{
    label->setCursor(Qt::PointingHandCursor);
    label->setMouseTracking(true);
    if (!hint.isEmpty())
        label->setToolTip(hint);
}

} // namespace

QStringList AboutBox::creditLines()
{
    return {QStringLiteral("Программа предназначена для получения из сети "),
            QStringLiteral("Интернет телепрограмм множества каналов СНГ и "),
            QStringLiteral("зарубежья, новостей дня и курсов валют."),
            QStringLiteral("Список доступных каналов постоянно расширяется. "),
            QStringLiteral("Brevio постоянно усовершенствуется."),
            QStringLiteral("Просьба писать о всех возникающих замечаниях, "),
            QStringLiteral("пожелания, идеях и т.д. Все письма внимательно "),
            QStringLiteral("прочитываются и очень помогают в работе."),
            QStringLiteral("Прочитайте файлы помощи, чтобы получить более "),
            QStringLiteral("подробную информацию о программе.")};
}

AboutBox::AboutBox(const Settings& settings, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_homePageAddress(homePageAddress(settings))
    , m_mail(feedbackMail(settings))
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
    setFixedSize(312, 223);
    QPalette teal = palette();
    teal.setColor(QPalette::Window, kTeal);
    setPalette(teal);
    setAutoFillBackground(true);
    // Laid out for a small dialog font: the lines and credits are as wide as the box allows.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, kTeal);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setGeometry(8, 8, 297, 121);
    m_panel->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
    m_panel->setPalette(white);
    m_panel->setAutoFillBackground(true);
    m_panel->setMouseTracking(true);
    m_panel->installEventFilter(this);

    m_icon = makeLabel(m_panel, "ProgramIcon", QString(), {8, 8, 65, 57});
    m_icon->setPixmap(programPicture());
    m_icon->setAccessibleName(QStringLiteral("Brevio"));
    makeLink(m_icon, QStringLiteral("На домашнюю страницу в Интернет за последней версией"));

    auto* name = makeLabel(m_panel, "ProductName", QStringLiteral("Brevio"), {88, 12, 200, 20});
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    name->setFont(bold);
    makeLabel(m_panel, "Version", QStringLiteral("Version 2.53 от 10/02/2004"), {88, 36, 200, 16});
    makeLabel(m_panel, "Copyright", QStringLiteral("© Morvane"), {88, 54, 200, 16});

    m_feedback
        = makeLabel(m_panel, "Label1", QStringLiteral("Отзывы и пожелания - ") + m_mail, {8, 72, 281, 16});
    makeLink(m_feedback, QStringLiteral("Отправить письмо создателю программы"));
    m_homePage = makeLabel(m_panel, "Label2", QStringLiteral("Домашняя страница - ") + m_homePageAddress,
                           {8, 88, 281, 28});
    // A long configured address wraps onto a second line rather than being cut off.
    m_homePage->setWordWrap(true);
    m_homePage->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    makeLink(m_homePage, QString());
    // The links are reached with Tab too, shown blue while they have the focus, and followed
    // with Enter or Space.
    for (QLabel* link : {m_icon, m_feedback, m_homePage}) {
        link->installEventFilter(this);
        link->setFocusPolicy(Qt::TabFocus);
    }
    highlightNoLine();

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setGeometry(119, 196, 75, 25);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_credits = new CreditsPanel(creditLines(), this);
    m_credits->setObjectName(QStringLiteral("SecretPanel1"));
    m_credits->setGeometry(8, 128, 297, 65);
    m_credits->setPalette(white);
    m_credits->setAccessibleName(creditLines().join(QString()));

    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void AboutBox::paint(QLabel* label, const QColor& color)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
}

void AboutBox::openHomePage()
{
    openAddress(linkUrl(m_homePageAddress));
}

void AboutBox::writeFeedbackMail()
{
    QUrl mail;
    mail.setScheme(QStringLiteral("mailto"));
    mail.setPath(m_mail);
    openAddress(mail);
}

void AboutBox::highlightFeedbackLine()
{
    paint(m_feedback, kBlue);
    paint(m_homePage, kTeal);
}

void AboutBox::highlightHomePageLine()
{
    paint(m_homePage, kBlue);
    paint(m_feedback, kTeal);
}

void AboutBox::highlightNoLine()
{
    paint(m_feedback, kTeal);
    paint(m_homePage, kTeal);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_feedback)
            highlightFeedbackLine();
        else if (watched == m_homePage)
            highlightHomePageLine();
        else if (watched == m_icon)
            highlightNoLine();
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && followLink(watched))
            return true;
    }
    if (event->type() == QEvent::MouseMove) {
        // Consumed here: a move over a line must not also reach the panel and undo the colour.
        if (watched == m_feedback)
            highlightFeedbackLine();
        else if (watched == m_homePage)
            highlightHomePageLine();
        else if (watched == m_panel)
            highlightNoLine();
        return watched == m_panel ? QDialog::eventFilter(watched, event) : true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget
            && widget->rect().contains(mouse->position().toPoint()) && followLink(watched))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool AboutBox::followLink(const QObject* link)
{
    if (link == m_icon || link == m_homePage)
        openHomePage();
    else if (link == m_feedback)
        writeFeedbackMail();
    else
        return false;
    return true;
}

} // namespace brevio
