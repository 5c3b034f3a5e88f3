#pragma once

namespace ts {

class MainWindow;

// File > "Export Picture...": the map picture with what the user asks for drawn over it, as PNG.
void connectExportPicture(MainWindow& window);

// Tools > "Map Report": the balance report window over the open map; its starts select their
// provinces, and its "Show Shares" switch shades the map by nearest start.
void connectMapReport(MainWindow& window);

} // namespace ts
