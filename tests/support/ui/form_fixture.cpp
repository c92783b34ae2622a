#include "support/ui/form_fixture.h"

#include <QSettings>

namespace brevio::test {

std::chrono::local_seconds at(int year, unsigned month, unsigned day, int hour, int minute)
{
    using namespace std::chrono;
    return local_days(std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day))
        + hours(hour) + minutes(minute);
}

std::chrono::local_seconds testNow()
{
    return at(2026, 12, 9, 12, 0);
}

FormFixture::FormFixture()
    : clock(testNow())
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(m_config.path().string()));
    m_cd.emplace(m_work.path());
}

FormFixture::~FormFixture()
{
    if (m_form) {
        // Tests that leave the window open must not leave it refusing to close.
        m_form->hide();
        m_form.reset();
    }
    m_cd.reset();
}

MainWindow& FormFixture::start(bool show)
{
    m_form = std::make_unique<MainWindow>(dialogs, clock);
    if (show)
        m_form->show();
    return *m_form;
}

bool FormFixture::stop()
{
    const bool closed = m_form->close();
    if (closed)
        m_form.reset();
    return closed;
}

QString FormFixture::settingsFile() const
{
    return QString::fromStdString((m_config.path() / "Morvane" / "brevio.conf").string());
}

std::optional<QString> FormFixture::setting(const QString& section, const QString& name) const
{
    QSettings store(settingsFile(), QSettings::IniFormat);
    const QVariant value = store.value(section + QLatin1Char('/') + name);
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

void FormFixture::setSetting(const QString& section, const QString& name, const QString& value)
{
    QSettings store(settingsFile(), QSettings::IniFormat);
    store.setValue(section + QLatin1Char('/') + name, value);
}

} // namespace brevio::test
