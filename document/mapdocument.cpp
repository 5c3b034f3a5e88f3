#include "mapdocument.h"

#include "referencedata.h"
#include "userinterface.h"

#include <cmath>
#include <future>
#include <mutex>
#include <new>

namespace ts {

namespace {

// Where the program-wide document lives, for the whole run, like the tables it mirrors. Large pages
// are not asked for: they map it faster where the system has them ready, but where it must first
// fetch them back (a virtual machine that returns its free memory to the host) they cost several
// times as much as small ones, and an open of the biggest map took half as long again. The map
// picture is taken the same way.
struct DocumentPlace {
    void* memory = ::operator new(sizeof(MapDocument));
    std::once_flag started;
    std::future<void> building;
};

DocumentPlace& documentPlace() {
    static DocumentPlace place;
    return place;
}

} // namespace

MapDocument& startBuildingMapDocument(std::function<void()> andThen) {
    DocumentPlace& place = documentPlace();
    std::call_once(place.started, [&place, &andThen] {
        place.building = std::async(std::launch::async, [memory = place.memory, andThen = std::move(andThen)] {
            new (memory) MapDocument;
            if (andThen) andThen();
        });
    });
    return *static_cast<MapDocument*>(place.memory);
}

MapDocument& mapDocument() {
    // Built here unless startBuildingMapDocument() began it.
    static MapDocument* const doc = [] {
        DocumentPlace& place = documentPlace();
        bool built = false;
        std::call_once(place.started, [&] {
            new (place.memory) MapDocument;
            built = true;
        });
        if (!built) place.building.get();
        return std::launder(static_cast<MapDocument*>(place.memory));
    }();
    return *doc;
}

bool MapDocument::anyPanelDirty() const {
    for (bool d : PanelDirty)
        if (d) return true;
    return false;
}

void ResetMapHeader(MapDocument& doc) {
    doc.MapTitle.clear();
    doc.DefaultMapZoom = -1.0f;
    doc.MapDescription.clear();
    doc.GameVersion.clear();
    doc.FeaturesFrequency = -1;
    doc.ImageFileName.clear();
    doc.NoHomelandNames = false;
    doc.ScenarioFlag = false;
    doc.WrapAround = false;
    doc.VictoryConditionType = -1;
    doc.VictoryConditionValue = -1;
    for (float& c : doc.MapTextColor) c = -1.0f;
    doc.HeaderKeptLines.clear();
    doc.TrailingKeptLines.clear();
}

void ResetNations(MapDocument& doc, const ReferenceData& ref) {
    for (int n = 0; n < kNationCount; ++n) {
        NationDataType& nation = doc.Nations[n];
        nation = NationDataType{};
        nation.NationNumber = static_cast<std::int16_t>(n);
        nation.NationName = ref.NationData[n].name;
    }
}

void ResetProvince(ProvinceDataType& p) {
    static const ProvinceFields blankFields;
    ProvinceFields& fields = p;
    if (!(fields == blankFields)) fields = blankFields;
    p.Commanders.clear();
}

void ResetMapDocument(MapDocument& doc, const ReferenceData& ref, UserInterface& ui,
                      const std::function<void()>& resetWindow) {
    ui.busyMessage(QStringLiteral("Refreshing Blood Pool..."), QStringLiteral("Tessary: Refreshing Blood Pool..."),
                   255);

    doc.MapModified = false;
    if (resetWindow) resetWindow();

    ResetMapHeader(doc);

    ResetNations(doc, ref);

    for (int p = 0; p < kProvinceSlots; ++p) {
        if (p % 27 == 26) {
            // Halves round to the even neighbour (std::nearbyint in the default rounding mode).
            const auto value = static_cast<Color>(std::nearbyint(p * 127.5));
            ui.busyMessage(QStringLiteral("The Forge Lord approaches..."),
                           QStringLiteral("Tessary: THE FORGE LORD APPROACHES..."), value);
        }
        ResetProvince(doc.Provinces[p]);
    }

    for (bool& d : doc.PanelDirty) d = false;
    ui.busyMessage(QString(), QStringLiteral("Tessary: Awaiting the master..."), 255);
}

void DecodeTerrainMask(MapDocument& doc, int province, std::int32_t mask, UserInterface& ui) {
    ProvinceDataType& p = doc.Provinces[province];
    p.TerrainPlain = false;
    for (bool& b : p.TerrainBit) b = false;
    if (mask < 3) p.TerrainPlain = true;
    std::int64_t remaining = mask;
    for (int k = kTerrainBits - 1; k >= 0; --k) {
        const std::int64_t bit = std::int64_t{1} << k;
        if (remaining >= bit) {
            p.TerrainBit[k] = true;
            remaining -= bit;
            if (k == 9) p.NoStart = true;
        }
    }
    if (remaining != 0) {
        ui.messageBox(QStringLiteral("Terrain Mask Invalid!"),
                      QStringLiteral("Terrain Value <> 0! Error in province terrain value! Province# ") +
                          QString::number(province) + QStringLiteral(", Mask ") + QString::number(remaining));
    }
}

void ComputeTerrainMask(MapDocument& doc, int province) {
    ProvinceDataType& p = doc.Provinces[province];
    std::int32_t mask = 0;
    for (int k = 0; k < kTerrainBits; ++k)
        if (p.TerrainBit[k]) mask |= std::int32_t{1} << k;
    p.Terrain = mask;
}

void PlaceGodsAtStarts(MapDocument& doc) {
    for (const NationDataType& nation : doc.Nations) {
        const int p = nation.SpecStartProvince;
        if (p <= 0 || p >= kProvinceSlots) continue;
        CommanderDataType& slot = doc.Provinces[p].Commanders[0];
        slot.UnitIndex = nation.GodIndex;
        slot.UnitName = nation.GodName;
        if (!nation.GodName.empty() && nation.GodIndex > 0) ++doc.Provinces[p].CommanderCount;
    }
}

} // namespace ts
