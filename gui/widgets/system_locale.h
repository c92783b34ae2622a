#pragma once

#include <QChar>

namespace brevio {

// The separator of the system's short date style ('.' for Russian, '/' in the C locale); a
// style without one of the usual separators (blanks, month names) gives `fallback`.
QChar systemDateSeparator(QChar fallback);

} // namespace brevio
