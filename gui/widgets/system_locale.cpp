#include "gui/widgets/system_locale.h"

#include <QLocale>

namespace brevio {

QChar systemDateSeparator(QChar fallback)
{
    for (const QChar c : QLocale::system().dateFormat(QLocale::ShortFormat)) {
        if (c == QLatin1Char('.') || c == QLatin1Char('/') || c == QLatin1Char('-'))
            return c;
    }
    return fallback;
}

} // namespace brevio
