#include "mapcheck.h"

#include "cp1252.h"
#include "lookups.h"
#include "mapdocument.h"
#include "referencedata.h"

#include <QLatin1String>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <unordered_set>

namespace ts {

namespace {

bool lists(const ProvinceDataType& p, int other) {
    return std::find(std::begin(p.Neighbours), std::end(p.Neighbours), other) != std::end(p.Neighbours);
}

bool hasFreeSlot(const ProvinceDataType& p) {
    return std::any_of(std::begin(p.Neighbours), std::end(p.Neighbours), [](std::int16_t n) { return n < 1; });
}

// Each province another one lists, once, in list order; empty slots hold numbers below 1.
std::vector<int> linked(const ProvinceDataType& p) {
    std::vector<int> out;
    for (const std::int16_t n : p.Neighbours)
        if (n >= 1 && std::find(out.begin(), out.end(), n) == out.end()) out.push_back(n);
    return out;
}

QString quoted(const Text& name) { return QLatin1Char('"') + fromCp1252(name.view()) + QLatin1Char('"'); }

QString provinceName(const MapDocument& doc, int p) {
    QString out = QStringLiteral("Province %1").arg(p);
    const Text& name = doc.Provinces[p].LandName;
    if (!name.empty()) out += QStringLiteral(" (") + fromCp1252(name.view()) + QLatin1Char(')');
    return out;
}

QString nationName(const MapDocument& doc, int n) {
    QString out = QStringLiteral("Nation %1").arg(n);
    const Text& name = doc.Nations[n].NationName;
    if (!name.empty()) out += QStringLiteral(" (") + fromCp1252(name.view()) + QLatin1Char(')');
    return out;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The highest province number that exists: those on the picture, or without one any the file may use.
int lastProvince(const MapDocument& doc) { return doc.ProvinceCount > 0 ? doc.ProvinceCount : kMaxProvince; }

// Distance between two province pixels; on a map that wraps around, across the nearer edge.
double distance(const ProvinceDataType& a, const ProvinceDataType& b, bool wrap, QSize picture) {
    int dx = std::abs(a.ProvinceX - b.ProvinceX);
    int dy = std::abs(a.ProvinceY - b.ProvinceY);
    if (wrap && picture.width() > 0) dx = std::min(dx, picture.width() - dx);
    if (wrap && picture.height() > 0) dy = std::min(dy, picture.height() - dy);
    return std::hypot(dx, dy);
}

class Checker {
  public:
    Checker(const MapDocument& doc, const ReferenceData& ref, QSize picture)
        : mDoc(doc), mRef(ref), mPicture(picture), mLocated(doc.ProvinceCount) {
        for (const ItemDataType& item : ref.ItemData)
            if (!item.name.empty()) mItems.insert(lowerAscii(item.name));
    }

    std::vector<MapFinding> run() {
        starts();
        for (int p = 1; p <= kMaxProvince; ++p) {
            neighbours(p);
            if (mLocated > 0 && p > mLocated && DescribedInFile(mDoc.Provinces[p]))
                add(FindingKind::BeyondLocated, p, 0,
                    QStringLiteral("%1 is in the map file, but the picture has %2 provinces")
                        .arg(provinceName(mDoc, p), QString::number(mLocated)));
            references(p);
        }
        specialStarts();
        gods();
        std::stable_sort(mOut.begin(), mOut.end(),
                         [](const MapFinding& a, const MapFinding& b) { return a.province < b.province; });
        return std::move(mOut);
    }

  private:
    MapFinding& add(FindingKind kind, int province, int other, QString text) {
        MapFinding f;
        f.kind = kind;
        f.province = province;
        f.other = other;
        f.text = std::move(text);
        mOut.push_back(std::move(f));
        return mOut.back();
    }

    bool exists(int p) const { return p <= lastProvince(mDoc); }

    void neighbours(int p) {
        // Without a picture nothing is known to exist or to lie anywhere; the lists can still be
        // compared with each other.
        if (mLocated > 0 && p > mLocated) return;
        const ProvinceDataType& prov = mDoc.Provinces[p];
        const std::vector<int> others = linked(prov);
        if (mLocated > 0 && others.empty())
            add(FindingKind::NoNeighbour, p, 0, provinceName(mDoc, p) + QStringLiteral(" has no neighbour"));
        for (const int q : others) {
            if (!exists(q)) {
                add(FindingKind::LinkToMissing, p, q,
                    QStringLiteral("%1 lists %2 as a neighbour, which is not on the picture")
                        .arg(provinceName(mDoc, p), QString::number(q)))
                    .fixable = true;
                continue;
            }
            const ProvinceDataType& back = mDoc.Provinces[q];
            if (!lists(back, p)) {
                const bool room = hasFreeSlot(back);
                add(FindingKind::NotMutual, p, q,
                    QStringLiteral("%1 lists %2 as a neighbour, but %2 does not list %3%4")
                        .arg(provinceName(mDoc, p), QString::number(q), QString::number(p),
                             room ? QString() : QStringLiteral(" and has no free neighbour slot")))
                    .fixable = room;
            }
            if (mLocated > 0 && q > p) {
                const double apart = distance(prov, back, mDoc.WrapAround, mPicture);
                if (apart > kFarNeighbourDistance)
                    add(FindingKind::FarNeighbour, p, q,
                        QStringLiteral("%1 and province %2 are neighbours %3 px apart")
                            .arg(provinceName(mDoc, p), QString::number(q),
                                 QString::number(std::lround(apart))));
            }
        }
    }

    bool unitKnown(int index) const {
        return index >= 0 && DataNameOf(mRef, index, kUnitTableKey) != kIndexNotFound;
    }

    // Who holds a reference: a god with its nation, any other commander with its province and slot.
    QString holder(int province, int nation, int slot) const {
        if (nation >= 0) return nationName(mDoc, nation) + QStringLiteral(", god");
        return provinceName(mDoc, province) + QStringLiteral(", commander ") + QString::number(slot);
    }

    void notInTables(int province, int nation, int slot, const QString& what) {
        MapFinding& f = add(FindingKind::NotInTables, province, 0, holder(province, nation, slot) + what);
        f.nation = nation;
        f.slot = slot;
    }

    void unit(int province, int nation, int slot, const char* what, const Text& name, int index) {
        if (name.empty() || unitKnown(index)) return;
        notInTables(province, nation, slot,
                    QStringLiteral(": %1 %2 is not in the unit table").arg(QLatin1String(what), quoted(name)));
    }

    // Only a slot with a unit is written to the file; what an empty one still holds never reaches it.
    void commander(int province, int nation, int slot, const CommanderDataType& c) {
        if (c.UnitName.empty()) return;
        unit(province, nation, slot, "unit", c.UnitName, c.UnitIndex);
        for (int k = 0; k < kBodyguardSlots; ++k)
            unit(province, nation, slot, "bodyguard", c.BodyguardName[k], c.BodyguardIndex[k]);
        for (int k = 0; k < kUnitStackSlots; ++k)
            unit(province, nation, slot, "troops", c.UnitsName[k], c.UnitsIndex[k]);
        for (const Text& item : c.Items)
            if (!item.empty() && !mItems.count(lowerAscii(item.view())))
                notInTables(province, nation, slot,
                            QStringLiteral(": item %1 is not in the item table").arg(quoted(item)));
    }

    void site(int p, int slot, const char* what, const Text& name, int index) {
        if (name.empty() || (index >= 0 && DataNameOf(mRef, index, kSiteTableKey) != kIndexNotFound)) return;
        add(FindingKind::NotInTables, p, 0,
            QStringLiteral("%1: %2 %3 is not in the site table")
                .arg(provinceName(mDoc, p), QLatin1String(what), quoted(name)))
            .slot = slot;
    }

    void references(int p) {
        const ProvinceDataType& prov = mDoc.Provinces[p];
        // Slot 0 is the god, looked at with its nation.
        for (int c = 1; c < kCommanderSlots; ++c)
            commander(p, -1, c, prov.Commanders[c]);
        for (int s = 0; s < kSiteSlotsPerProvince; ++s) {
            site(p, s, "site", prov.SiteName[s], prov.SiteIndex[s]);
            site(p, s, "known site", prov.KnownSiteName[s], prov.KnownSiteIndex[s]);
        }
    }

    void gods() {
        for (int n = 0; n < kNationCount; ++n) {
            const NationDataType& nation = mDoc.Nations[n];
            const int start = nation.SpecStartProvince >= 1 && nation.SpecStartProvince <= kMaxProvince
                                  ? nation.SpecStartProvince
                                  : 0;
            commander(start, n, 0, nation.God);
        }
    }

    void specialStarts() {
        std::vector<int> starts[kNationCount];
        for (int p = 1; p <= kMaxProvince; ++p) {
            const ProvinceDataType& prov = mDoc.Provinces[p];
            if (prov.SpecStart && prov.SpecStartNation >= 0 && prov.SpecStartNation < kNationCount)
                starts[prov.SpecStartNation].push_back(p);
        }
        for (int n = 0; n < kNationCount; ++n) {
            if (starts[n].size() < 2) continue;
            QStringList numbers;
            for (const int p : starts[n])
                numbers << QString::number(p);
            add(FindingKind::ManySpecialStarts, starts[n][0], starts[n][1],
                QStringLiteral("%1 has %2 special starts: %3")
                    .arg(nationName(mDoc, n), QString::number(starts[n].size()),
                         numbers.join(QStringLiteral(", "))))
                .nation = n;
        }
    }

    // A player whose nation has a special start starts there; every other allowed player needs one
    // of the start provinces no special start has taken.
    void starts() {
        int players = 0;
        for (const NationDataType& n : mDoc.Nations)
            players += n.AllowedPlayer && n.SpecStartProvince < 1 ? 1 : 0;
        int provinces = 0;
        for (int p = 1; p <= kMaxProvince; ++p)
            provinces += mDoc.Provinces[p].Start && !mDoc.Provinces[p].SpecStart ? 1 : 0;
        if (provinces >= players) return;
        add(FindingKind::FewStarts, 0, 0,
            QStringLiteral("Fewer start provinces (%1) than allowed players without a special start (%2)")
                .arg(provinces)
                .arg(players));
    }

    const MapDocument& mDoc;
    const ReferenceData& mRef;
    const QSize mPicture;
    const int mLocated;
    std::unordered_set<std::string> mItems;
    std::vector<MapFinding> mOut;
};

} // namespace

bool DescribedInFile(const ProvinceDataType& p) {
    return p.Terrain > 0 || p.TerrainPlain || p.LandFlag || p.SetLandFlag || p.SpecStart || p.Start ||
           p.NoStart || !p.LandName.empty() || p.CommanderCount > 0 || p.Owner >= 0 || p.Population >= 0 ||
           p.VictoryPoints >= 0 || p.Fort >= 0 || p.Temple || p.Lab || !p.SiteName[0].empty() ||
           std::any_of(std::begin(p.Neighbours), std::end(p.Neighbours), [](std::int16_t n) { return n > 0; });
}

std::vector<MapFinding> CheckMap(const MapDocument& doc, const ReferenceData& ref, QSize picture) {
    return Checker(doc, ref, picture).run();
}

bool FixFinding(MapDocument& doc, const MapFinding& finding) {
    const int p = finding.province;
    const int q = finding.other;
    if (p < 1 || p > kMaxProvince || q < 1 || !lists(doc.Provinces[p], q)) return false;
    ProvinceDataType& from = doc.Provinces[p];
    if (finding.kind == FindingKind::NotMutual && q <= lastProvince(doc)) {
        ProvinceDataType& to = doc.Provinces[q];
        if (lists(to, p)) return false;
        for (std::int16_t& slot : to.Neighbours) {
            if (slot < 1) {
                slot = static_cast<std::int16_t>(p);
                return true;
            }
        }
        return false;
    }
    if (finding.kind == FindingKind::LinkToMissing && q > lastProvince(doc)) {
        for (std::int16_t& slot : from.Neighbours)
            if (slot == q) slot = -1;
        // The file gives a link as a pair, so the province beyond the picture holds the other half.
        if (q <= kMaxProvince)
            for (std::int16_t& slot : doc.Provinces[q].Neighbours)
                if (slot == p) slot = -1;
        return true;
    }
    return false;
}

} // namespace ts
