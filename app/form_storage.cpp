#include "app/form_storage.h"

#include "app/settings.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QWidget>

namespace brevio {

namespace {

const QString kSection = QStringLiteral("fm");

QString rectText(const QRect& r)
{
    return QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.right()).arg(r.bottom());
}

std::optional<QRect> rectFromText(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QRect r(QPoint(v[0], v[1]), QPoint(v[2], v[3]));
    if (!r.isValid())
        return std::nullopt;
    return r;
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
    if (const auto placement = rectFromText(m_settings.readString(kSection, QStringLiteral("NormPos")))) {
        m_window->resize(placement->size().expandedTo(m_window->minimumSize()));
        m_window->move(placement->topLeft());
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
    m_settings.writeString(kSection, QStringLiteral("NormPos"), rectText(normal));

    for (const QString& name : m_controls) {
        if (auto* spin = m_window->findChild<QSpinBox*>(name))
            m_settings.writeInteger(kSection, name + QStringLiteral("_Value"), spin->value());
        else if (auto* box = m_window->findChild<QCheckBox*>(name))
            m_settings.writeBool(kSection, name + QStringLiteral("_Checked"), box->isChecked());
    }
    m_settings.sync();
}

} // namespace brevio
