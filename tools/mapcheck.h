#pragma once

#include <QSize>
#include <QString>
#include <vector>

namespace ts {

struct MapDocument;
struct ProvinceDataType;
struct ReferenceData;

// Neighbours whose province pixels lie further apart than this are most likely a slip of the mouse.
inline constexpr int kFarNeighbourDistance = 400;

// What the map check looks for; the first two have a fix that cannot be wrong.
enum class FindingKind {
    NotMutual,         // province lists other, other does not list province
    LinkToMissing,     // province lists other, which is not on the picture
    NoNeighbour,       // a province on the picture with an empty neighbour list
    FarNeighbour,      // province and other are neighbours more than kFarNeighbourDistance apart
    BeyondLocated,     // the file describes province, the picture has fewer provinces
    ManySpecialStarts, // nation has special starts in province, other and perhaps more
    NotInTables,       // a commander, stack, site or item the reference tables do not know
    FewStarts,         // fewer start provinces than allowed players need
};

// One thing the check found, with the text the user reads.
struct MapFinding {
    FindingKind kind = FindingKind::NoNeighbour;
    int province = 0; // 0 for the map as a whole
    int other = 0;    // the second province, where there is one
    int nation = -1;  // the nation concerned, where there is one
    int slot = -1;    // the commander slot, or for a site the site slot
    QString text;
    bool fixable = false; // FixFinding can mend it without asking anything
};

// Looks the whole map over and returns what it finds, ordered by province (map-wide findings
// first). picture is the size of the map's picture; distances wrap around it on a map that wraps
// around. Without located provinces (no picture) only what needs no picture is looked at.
std::vector<MapFinding> CheckMap(const MapDocument& doc, const ReferenceData& ref, QSize picture = {});

// Applies the certain fix of a finding, found by CheckMap on this document: the missing back link
// is added, a link to a province that does not exist is dropped on both sides. Only the neighbour
// lists of finding.province and finding.other change, so keeping those two lists is enough to take
// a fix back. Returns false, changing nothing, when the finding has no such fix or no longer holds.
bool FixFinding(MapDocument& doc, const MapFinding& finding);

// Whether the map file says anything about the province: the map maker's count, to set beside the
// provinces located on the picture.
bool DescribedInFile(const ProvinceDataType& province);

} // namespace ts
