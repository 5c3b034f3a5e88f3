#pragma once

namespace ts {

class MainWindow;
struct MapFinding;

// Tools > "Check Map": opens the check window over the open map, checked afresh each time.
void connectCheckMap(MainWindow& window);

// The certain fix of a finding on the editor's map, as one edit: the neighbour lists change, the
// map counts as changed with its recovery copy, and the selected province's lines are drawn anew.
// Returns whether anything changed.
bool applyMapFix(MainWindow& window, const MapFinding& finding);

// A province of a finding: selected on the map with its panel shown, as a choice in the navigator.
void showFindingProvince(MainWindow& window, int province);

} // namespace ts
