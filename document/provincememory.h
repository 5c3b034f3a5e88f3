#pragma once

#include "renumber.h"

#include <QString>
#include <optional>
#include <vector>

namespace ts {

class UserInterface;

// Where the provinces of each map stood on its picture when Tessary last saved it, kept in the user
// data folder (one small file per map, named from the map's full path), never beside the map.
bool RememberPlaces(const QString& mapPath, const std::vector<ProvincePlace>& places);
std::optional<std::vector<ProvincePlace>> RememberedPlaces(const QString& mapPath);
void ForgetPlaces(const QString& mapPath);

// Compares the provinces before a picture changed with the ones located on it now, and when they
// differ says what changed (since) and offers "Renumber" or "Keep Numbers". The renumbering to apply
// when the user chose it; nothing when the numbers stay.
std::optional<Renumbering> AskToFollowPicture(const std::vector<ProvincePlace>& before,
                                              const std::vector<ProvincePlace>& now, const QString& since,
                                              UserInterface& ui);

} // namespace ts
