#pragma once

namespace brevio {

class ProgrammeGrid;

// Screen readers see the programme grid as a list whose one item is the chosen show, named
// "channel, start–end, title"; the grid announces it when it is chosen or the grid gets the
// focus. Installed once per process.
void installGridAccessibility();
void announceCurrentShow(ProgrammeGrid* grid);

} // namespace brevio
