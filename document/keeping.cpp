#include "keeping.h"

#include <algorithm>
#include <limits>

namespace ts {

std::uint32_t OtherTerrainBits(const ProvinceDataType& province) {
    return static_cast<std::uint32_t>(province.TerrainExtraBits) & ~kKnownTerrainBits;
}

QString OtherTerrainBitsText(const ProvinceDataType& province) {
    const std::uint32_t bits = OtherTerrainBits(province);
    if (bits == 0) return {};
    return QStringLiteral("other terrain bits: ") + QString::number(bits);
}

bool DecodeTerrainMaskKeeping(MapDocument& doc, int province, std::int32_t mask, UserInterface& ui) {
    const auto bits = static_cast<std::uint32_t>(mask);
    ProvinceDataType& p = doc.Provinces[province];
    p.TerrainExtraBits = static_cast<std::int32_t>(bits & ~kKnownTerrainBits);
    // The low bits alone are a valid mask: nothing is left over to report.
    DecodeTerrainMask(doc, province, static_cast<std::int32_t>(bits & kKnownTerrainBits), ui);
    return p.TerrainExtraBits != 0;
}

namespace {

std::string lines(long n) {
    return std::to_string(n) + (n == 1 ? " line" : " lines");
}

std::string describe(KeptReason why, const std::string& command, long n) {
    const std::string word = "'" + command + "'";
    switch (why) {
    case KeptReason::UnknownCommand:
        return "Kept " + lines(n) + " of the unknown command " + word;
    case KeptReason::BeyondLimits:
        return "Kept " + lines(n) + " " + word + " with a number beyond Tessary's limits";
    case KeptReason::FollowsKeptLine:
        return "Kept " + lines(n) + " " + word + " of a kept #god or #commander";
    case KeptReason::UnitNotInTables:
        return "Kept the unit of " + lines(n) + " " + word + " as the map names it, not in the reference tables";
    case KeptReason::SiteNotInTables:
        return "Kept the site of " + lines(n) + " " + word + " as the map names it, not in the reference tables";
    case KeptReason::OtherTerrainBits:
        return "Kept the terrain bits above 22 of " + lines(n) + " " + word;
    }
    return {};
}

} // namespace

MapKeeper::MapKeeper(MapDocument& doc) : mDoc(doc), mTarget(&doc.HeaderKeptLines) {}

void MapKeeper::beginLine(std::string_view raw, std::int32_t lineNumber) {
    mRaw = raw;
    mLineNumber = lineNumber;
}

bool MapKeeper::keepLine(std::string_view command, KeptReason why) {
    if (std::count(mRaw.begin(), mRaw.end(), '"') % 2 != 0) return false;
    std::string& buffer = mBuffers[mTarget];
    buffer += mRaw;
    buffer += '\n';
    count(command, why);
    return true;
}

void MapKeeper::note(std::string_view command, KeptReason why) {
    // A god's change is made twice (the god and its start province's slot 0); it is one line.
    if (mLastNotedLine == mLineNumber) return;
    mLastNotedLine = mLineNumber;
    count(command, why);
}

void MapKeeper::count(std::string_view command, KeptReason why) {
    std::string key(1, static_cast<char>(why));
    key += command;
    const auto [it, added] = mKindIndex.try_emplace(key, mKinds.size());
    if (added) {
        std::string text(mRaw);
        std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        mKinds.push_back({why, std::string(command), 0, mLineNumber, std::move(text)});
    }
    ++mKinds[it->second].count;
}

void MapKeeper::finish() {
    for (auto& [record, buffer] : mBuffers) {
        if (!record->empty()) buffer.insert(0, record->view());
        *record = buffer;
    }
    mBuffers.clear();
    for (const Kind& k : mKinds) {
        mDoc.ErrorLog += describe(k.why, k.command, k.count) + " - first at Map Line# " +
                         std::to_string(k.firstLine) + " : " + k.firstText + "\r\n";
        mDoc.MapErrorsFound = true;
        // The summary comes at the end of the log but points the editor at the earliest kept line.
        constexpr std::int32_t kMax = std::numeric_limits<std::int16_t>::max();
        const auto line = static_cast<std::int16_t>(std::min(k.firstLine, kMax));
        if (mDoc.FirstErrorLine == 0 || line < mDoc.FirstErrorLine) mDoc.FirstErrorLine = line;
    }
    mKinds.clear();
    mKindIndex.clear();
}

} // namespace ts
