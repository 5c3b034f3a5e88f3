#pragma once

#include "mapdocument.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ts {

// Maps from later game versions and other data sets carry commands, numbers, units and terrain
// bits the editor does not know. With MapDocument::KeepUnknown on they are kept in the records
// they came with and written back, so opening and saving such a map loses nothing.

// Title of the last section of a written map, which holds the kept lines that followed no record.
// Reading it again sends the lines after it back to that section.
inline constexpr std::string_view kKeptSectionTitle = "######### OTHER COMMANDS #########";

inline constexpr std::uint32_t kKnownTerrainBits = (std::uint32_t{1} << kTerrainBits) - 1;

// The terrain mask bits above the 23 flags (0 when none), as the map gave them.
std::uint32_t OtherTerrainBits(const ProvinceDataType& province);
// "other terrain bits: N" for the province panel, or empty when the mask had none.
QString OtherTerrainBitsText(const ProvinceDataType& province);

// Sets the 23 flags from the low bits of the mask, exactly as DecodeTerrainMask does for them, and
// keeps the bits above apart. Nothing is reported; true when there were bits above 22.
bool DecodeTerrainMaskKeeping(MapDocument& doc, int province, std::int32_t mask, UserInterface& ui);

// Why a line, or the unit or site of a line, was kept.
enum class KeptReason {
    UnknownCommand,
    BeyondLimits,     // a number beyond the editor's limits (nation 100, a fifth site, ...)
    FollowsKeptLine,  // a commander line after a #god or #commander that was kept
    UnitNotInTables,  // the line went into the records, its unit as the map named it
    SiteNotInTables,
    OtherTerrainBits, // the line went into the records, the bits above 22 apart
};

// Collects what one read keeps: each kept line goes to the record the lines before it addressed,
// and the error log gets one line per kind of kept line instead of one per line.
class MapKeeper {
  public:
    explicit MapKeeper(MapDocument& doc);

    // The line as the file holds it, comments included, before the parser sees it.
    void beginLine(std::string_view raw, std::int32_t lineNumber);
    // Kept lines from now on belong to this record's kept lines.
    void follow(Text* keptLines) { mTarget = keptLines; }
    void followNoRecord() { mTarget = &mDoc.TrailingKeptLines; }
    // Keeps the current line. False when it cannot be kept: a line whose quote runs to the end of
    // the file would swallow everything written after it.
    bool keepLine(std::string_view command, KeptReason why);
    // Counts a line that went into the records with something kept in it.
    void note(std::string_view command, KeptReason why);

    // After a #god or #commander was kept, the commander lines that follow it are kept with it.
    bool inKeptBlock() const { return mKeptBlock; }
    void setKeptBlock(bool on) { mKeptBlock = on; }

    // Puts the kept lines into their records and the summary into the error log.
    void finish();

  private:
    struct Kind {
        KeptReason why;
        std::string command;
        long count;
        std::int32_t firstLine;
        std::string firstText;
    };
    void count(std::string_view command, KeptReason why);

    MapDocument& mDoc;
    std::string_view mRaw;
    std::int32_t mLineNumber = 0;
    std::int32_t mLastNotedLine = -1;
    Text* mTarget;
    bool mKeptBlock = false;
    // Lines are gathered here and moved into the records once: a record may keep tens of thousands.
    std::unordered_map<Text*, std::string> mBuffers;
    std::vector<Kind> mKinds;
    std::unordered_map<std::string, std::size_t> mKindIndex;
};

} // namespace ts
