#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>

namespace ts {

struct MapDocument;
struct ReferenceData;
class UserInterface;

// Fifth line of every written map: the game maker's web address.
inline constexpr std::string_view kGameMakerAddress = "www.ravelstone-games.example/thraxis3";

struct MapWriteOptions {
    // Makes the open panel commit its edits (the window selects the navigator's root node); called
    // first, and only when a panel holds edits not yet in the records.
    std::function<void()> commitPanels;
};

// Writes the whole document as a map file in the one sectioned layout the reader reads back: commits
// open panel edits, rebuilds every terrain mask from its flags, then saves. The previous file is
// replaced only by a complete new one. A failure is shown to the user; false is returned then.
bool z_WriteMapFile(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& path,
                    const MapWriteOptions& options = {});

// The bytes z_WriteMapFile saves, for a document whose terrain masks are already rebuilt.
std::string MapFileText(const MapDocument& doc, const ReferenceData& ref);

// A float in the map's "#0.0#" form: one or two decimals, a point as separator (1 -> "1.0").
std::string FormatMapFloat(float value);

} // namespace ts
