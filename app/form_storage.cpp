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

const QString kSection = QStringLiteral("fm");
const QString kPlace = QStringLiteral("NormPos");
const QString kFrame = QStringLiteral("FrameMargins");

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

void FormStorage::restore()
{
    // The window's own area is stored and set, never the frame's: the frame is the desktop's
    // and may differ from one start to the next. It is not known before the window is shown, so
    // the one it had last time keeps the title bar on the screen.
    if (auto placement = placementFromText(m_settings.readString(kSection, kPlace).toStdString())) {
        placement->width = std::max(placement->width, m_window->minimumWidth());
        placement->height = std::max(placement->height, m_window->minimumHeight());
        const FrameMargins frame
            = frameFromText(m_settings.readString(kSection, kFrame).toStdString()).value_or(kAssumedFrame);
        m_window->setGeometry(toRect(placeOnScreens(*placement, frame, screenAreas())));
    }
    if (m_settings.readInteger(kSection, QStringLiteral("ShowCmd"), 1) == 3)
        m_window->setWindowState(m_window->windowState() | Qt::WindowMaximized);

    for (const QString& name : m_controls) {
        if (auto* spin = m_window->findChild<QSpinBox*>(name))
            spin->setValue(m_settings.readInteger(kSection, name + QStringLiteral("_Value"), spin->value()));
        else if (auto* box = m_window->findChild<QCheckBox*>(name))
            box->setChecked(
                m_settings.readBool(kSection, name + QStringLiteral("_Checked"), box->isChecked()));
    }
}

void FormStorage::store()
{
    const bool maximized = m_window->isMaximized();
    const QRect normal = maximized ? m_window->normalGeometry() : m_window->geometry();
    m_settings.writeString(kSection, QStringLiteral("Flags"), QStringLiteral("0"));
    m_settings.writeInteger(kSection, QStringLiteral("ShowCmd"), maximized ? 3 : 1);
    m_settings.writeInteger(kSection, QStringLiteral("PixelsPerInch"), m_window->logicalDpiY());
    m_settings.writeString(kSection, QStringLiteral("MinMaxPos"), QStringLiteral("-1,-1,-1,-1"));
    m_settings.writeString(kSection, kPlace, QString::fromStdString(placementText(toPlacement(normal))));
    // A maximised window may lose its frame; one never shown has none yet.
    const FrameMargins frame = frameOf(m_window);
    if (!maximized && frame != FrameMargins{})
        m_settings.writeString(kSection, kFrame, QString::fromStdString(frameText(frame)));

    for (const QString& name : m_controls) {
        if (auto* spin = m_window->findChild<QSpinBox*>(name))
            m_settings.writeInteger(kSection, name + QStringLiteral("_Value"), spin->value());
        else if (auto* box = m_window->findChild<QCheckBox*>(name))
            m_settings.writeBool(kSection, name + QStringLiteral("_Checked"), box->isChecked());
    }
}

} // namespace brevio
