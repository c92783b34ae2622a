#pragma once

namespace brevio {

// Screen readers press the window's flat buttons as a click does. Qt's own interface of a
// checkable tool button only toggles its state, so that a page, mode or day button pressed by a
// screen reader would go down without doing what it is for. Installed once per process.
void installAccessibleButtons();

} // namespace brevio
