#include "app/form_storage.h"

#include "core/session/placement.h"
#include "gui/widgets/settings.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSpinBox>
#include <QWidget>

namespace brevio {

namespace {

const QString kSection = formSection();
const QString kPlace = QStringLiteral("NormPos");
const QString kFrame = QStringLiteral("FrameMargins");
const QString kShowCmd = QStringLiteral("ShowCmd");

Placement toPlacement(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

QRect toRect(const Placement& p)
{
    return {p.left, p.top, p.width, p.height};
}

// What the desktop draws around the window: known once it is shown, none before.
FrameMargins frameOf(const QWidget* window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The areas of the screens that windows may take (without panels and docks).
std::vector<Placement> screenAreas()
{
    std::vector<Placement> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.push_back(toPlacement(screen->availableGeometry()));
    return areas;
}

} // namespace

FormStorage::FormStorage(QWidget* window, Settings& settings)
    : m_window(window)
    , m_settings(settings)
{
    m_window->setMinimumSize(kMinimumWidth, kMinimumHeight);
}

void FormStorage::keepPlaceOf(QWidget* window, const QString& keyPrefix)
{
    m_others.append({window, keyPrefix});
}

void FormStorage::restorePlace(const KeptWindow& kept)
{
    // The window's own area is stored and set, never the frame's: the frame is the desktop's
    // and may differ from one start to the next. It is not known before the window is shown, so
    // the one it had last time keeps the title bar on the screen.
    QWidget* window = kept.window;
    if (auto placement
        = placementFromText(m_settings.readString(kSection, kept.keyPrefix + kPlace).toStdString())) {
        placement->width = std::max(placement->width, window->minimumWidth());
        placement->height = std::max(placement->height, window->minimumHeight());
        const FrameMargins frame
            = frameFromText(m_settings.readString(kSection, kept.keyPrefix + kFrame).toStdString())
                  .value_or(kAssumedFrame);
        window->setGeometry(toRect(placeOnScreens(*placement, frame, screenAreas())));
    }
    if (m_settings.readInteger(kSection, kept.keyPrefix + kShowCmd, 1) == 3)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void FormStorage::storePlace(const KeptWindow& kept)
{
    const QWidget* window = kept.window;
    const bool maximized = window->isMaximized();
    const QRect normal = maximized ? window->normalGeometry() : window->geometry();
    m_settings.writeInteger(kSection, kept.keyPrefix + kShowCmd, maximized ? 3 : 1);
    m_settings.writeString(kSection, kept.keyPrefix + kPlace,
                           QString::fromStdString(placementText(toPlacement(normal))));
    // A maximised window may lose its frame; one never shown has none yet.
    const FrameMargins frame = frameOf(window);
    if (!maximized && frame != FrameMargins{})
        m_settings.writeString(kSection, kept.keyPrefix + kFrame, QString::fromStdString(frameText(frame)));
}

void FormStorage::restore()
{
    restorePlace({m_window, QString()});
    for (const KeptWindow& other : m_others)
        restorePlace(other);

    for (QWidget* control : m_controls) {
        const QString name = control->objectName();
        if (auto* spin = qobject_cast<QSpinBox*>(control))
            spin->setValue(m_settings.readInteger(kSection, storedValueKey(name), spin->value()));
        else if (auto* box = qobject_cast<QCheckBox*>(control))
            box->setChecked(m_settings.readBool(kSection, storedCheckedKey(name), box->isChecked()));
    }
}

void FormStorage::store()
{
    m_settings.writeString(kSection, QStringLiteral("Flags"), QStringLiteral("0"));
    m_settings.writeInteger(kSection, QStringLiteral("PixelsPerInch"), m_window->logicalDpiY());
    m_settings.writeString(kSection, QStringLiteral("MinMaxPos"), QStringLiteral("-1,-1,-1,-1"));
    storePlace({m_window, QString()});
    // A window not shown in this run (nor restored maximised) has no place of its own yet.
    for (const KeptWindow& other : m_others)
        if (other.window->testAttribute(Qt::WA_WState_Created))
            storePlace(other);

    for (QWidget* control : m_controls) {
        const QString name = control->objectName();
        if (auto* spin = qobject_cast<QSpinBox*>(control))
            m_settings.writeInteger(kSection, storedValueKey(name), spin->value());
        else if (auto* box = qobject_cast<QCheckBox*>(control))
            m_settings.writeBool(kSection, storedCheckedKey(name), box->isChecked());
    }
}

} // namespace brevio
