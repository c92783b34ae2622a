#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace brevio {

// Data bytes (windows-1251) shown in a widget, one byte to one character.
QString fromData(std::string_view bytes);
// Widget text back to data bytes.
std::string toData(const QString& text);
// A program literal or core message (UTF-8) for display.
QString fromUtf8(std::string_view text);

} // namespace brevio
