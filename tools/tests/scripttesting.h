#pragma once

#include "documenttesting.h"
#include "scriptlanguage.h"

#include <string>
#include <vector>

namespace ts::testing {

// A reset document with the small tables, twelve located provinces and a record of what a run told
// the window.
struct ScriptFixture : DocumentTest {
    std::vector<std::string> events;
    ScriptHooks hooks;

    ScriptFixture() {
        doc->ProvinceCount = 12;
        hooks.navigatorChanged = [this](int p, NavigatorEntry entry, int slot) {
            static const char* const names[] = {"name", "fort", "temple", "lab", "sites", "commander"};
            events.push_back(std::to_string(p) + " " + names[static_cast<int>(entry)] +
                             (slot >= 0 ? " " + std::to_string(slot) : std::string()));
        };
        hooks.currentProvinceChanged = [this](int p) { events.push_back(std::to_string(p) + " current"); };
    }

    // Puts a commander of unit type unit into slot c, as a map read would.
    CommanderDataType& commander(int p, int c, std::int16_t unit) {
        CommanderDataType& com = prov(p).Commanders[c];
        com.UnitIndex = unit;
        com.UnitName = "Unit " + std::to_string(unit);
        ++prov(p).CommanderCount;
        return com;
    }
};

} // namespace ts::testing
