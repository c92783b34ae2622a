#pragma once

#include "core/view/time_text.h"
#include "gui/widgets/qt_text.h"

#include <QString>

// What the programme grid's drawing and texts share.
namespace brevio::grid {

inline constexpr int kPad = 4;

// A time on the grid as the panes show it: "01:10" for 25:10, "23:30" for -00:30.
inline QString clockText(long long minutes)
{
    return fromUtf8(view::formatTime(minutes));
}

} // namespace brevio::grid
