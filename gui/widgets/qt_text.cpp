#include "gui/widgets/qt_text.h"

#include "core/store/cp1251.h"

namespace brevio {

QString fromData(std::string_view bytes)
{
    return fromUtf8(cp1251ToUtf8(bytes));
}

std::string toData(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToCp1251(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace brevio
