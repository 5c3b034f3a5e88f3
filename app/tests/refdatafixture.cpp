#include "refdatafixture.h"

#include "settings.h"

namespace ts {

void writeMinimalTables(const TempFolder& folder) {
    folder.write("TSdata/NationData.txt", "EA\t5\tx\tUlm\r\nMA\t12\tx\tMarverni\r\n");
    folder.write("TSdata/PopData.txt", "1\tBarbarians\t10\t11\t12\t13\t20\t21\t22\t23\r\n");
    folder.write("TSdata/SiteData.txt", "7\tThe Smoking Pit\t0\t0\t4\t0\tFire\r\n");
    folder.write("TSdata/FortData.txt", "1\tPalisade\r\n");
    folder.write("TSdata/ItemData.txt", "3\tFire Sword\t1-h wpn\t1\tF\t1\t\t0\r\n");
    folder.write("TSdata/UnitData.txt", "10\tMilitia\r\n20\tCommander\r\n");
    writeDefaultConfiguration(folder);
}

void writeDefaultConfiguration(const TempFolder& folder) {
    folder.write("Tessary.cfg", formatConfiguration(Settings::defaults(folder.path())));
}

} // namespace ts
