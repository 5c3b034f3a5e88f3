#pragma once

#include "edithistory.h"
#include "mapdocument.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace ts {

// Where a province's white pixel lies, as the locator stores it: its column and ProvinceY.
struct ProvincePlace {
    int x = -1;
    int y = -1;
    bool operator==(const ProvincePlace&) const = default;
};
// Provinces 1..n as they stand in the document, index 0 for province 1.
std::vector<ProvincePlace> PlacesOf(const MapDocument& doc);

// How the provinces are numbered after the picture changed. Every number 1..2599 before gets its
// number after, 0 when the province is gone. Numbers beyond the provinces on the picture (records
// the file describes there) keep their distance from the last province, so they stay beyond it.
struct Renumbering {
    std::vector<std::int16_t> newNumber = std::vector<std::int16_t>(kProvinceSlots, 0);
    int oldCount = 0;
    int newCount = 0;
    // As the user is told: numbers after for added, before for removed, (before, after) for moved.
    std::vector<int> added;
    std::vector<int> removed;
    std::vector<std::pair<int, int>> moved;

    bool changesNothing() const;
    Renumbering inverse() const;
};

// How far (in pixels, either way) a white pixel may have gone for a changed picture to count it as
// moved rather than removed and added.
inline constexpr int kMovedDistance = 6;

// Matches the white pixels located before and after a change, both in scan order: a pixel at the
// same place is the same province; of the pixels left, one gone and one new within movedDistance
// of each other are one province moved (the closest pairs first).
Renumbering MatchPlaces(const std::vector<ProvincePlace>& before, const std::vector<ProvincePlace>& after,
                        int movedDistance = kMovedDistance);

// "3 provinces added, 1 removed, 2 moved", or "" when nothing changed.
std::string DescribeRenumbering(const Renumbering& r);

// What a renumbering took out of the document, so that it can be put back as it was.
struct RenumberDrops {
    struct Link {
        int province; // numbered as before
        int slot;
        std::int16_t value;
    };
    std::vector<std::pair<int, std::unique_ptr<ProvinceDataType>>> records; // numbered as before
    std::vector<Link> links;
    std::vector<std::pair<int, std::int16_t>> specStarts; // nation, its special start before
    std::int16_t curProvince = kNone;
};

// Moves every province record to its new number and remaps every number that names a province:
// neighbour lists, the nations' special starts and the current province. Starts, owners,
// commanders, sites, victory points and marks live in the record and go with it. A province gone
// is dropped with every reference to it; a province added starts empty and unlinked. Places are
// set from after (provinces 1..newCount, in scan order).
RenumberDrops ApplyRenumbering(MapDocument& doc, const Renumbering& r, const std::vector<ProvincePlace>& after);
// Undoes ApplyRenumbering: r is the renumbering that was applied, before the places it undid.
void RevertRenumbering(MapDocument& doc, const Renumbering& r, RenumberDrops drops,
                       const std::vector<ProvincePlace>& before);

// One pixel of the picture as it was and as it is, colours as 0xRRGGBB.
struct PixelEdit {
    int x;
    int y; // row from the top
    std::uint32_t before;
    std::uint32_t after;
};
using PixelSetter = std::function<void(int x, int y, std::uint32_t rgb)>;

// The undo step of a province tool: the picture's pixels and the renumbering they caused, made and
// taken back together. It keeps the touched pixels and the places, never the picture or records
// beyond the ones dropped.
class RenumberChange : public StepChange {
public:
    RenumberChange(Renumbering r, std::vector<ProvincePlace> before, std::vector<ProvincePlace> after,
                   std::vector<PixelEdit> pixels, PixelSetter setPixel);
    // Makes the change for the first time; exchange then takes it back and makes it again.
    void apply(MapDocument& doc);
    void exchange(MapDocument& doc) override;
    std::size_t bytes() const override;
    const Renumbering& renumbering() const { return mRenumbering; }

private:
    void setPixels(bool after) const;

    Renumbering mRenumbering;
    std::vector<ProvincePlace> mBefore, mAfter;
    std::vector<PixelEdit> mPixels;
    PixelSetter mSetPixel;
    RenumberDrops mDrops;
    bool mDone = false;
};

} // namespace ts
