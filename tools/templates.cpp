#include "templates.h"

#include "cp1252.h"
#include "folders.h"
#include "paths.h"
#include "textfile.h"
#include "userinterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <limits>

namespace ts {

namespace {

// A real template is under 100 KB; anything far beyond is not one.
constexpr qint64 kMaxTemplateBytes = 1 << 20;

// The magic levels, experience and random equipment of a commander, in file order.
constexpr std::int16_t CommanderDataType::*kSkills[] = {
    &CommanderDataType::MagFire,   &CommanderDataType::MagAir,    &CommanderDataType::MagWater,
    &CommanderDataType::MagEarth,  &CommanderDataType::MagAstral, &CommanderDataType::MagDeath,
    &CommanderDataType::MagNature, &CommanderDataType::MagBlood,  &CommanderDataType::MagPriest,
    &CommanderDataType::Xp,        &CommanderDataType::RandomEquip};

// The one list of what a template holds, in file order. The writer and the reader both walk it, so
// the two can never disagree about the order.
template <class Province, class Visitor> void visitTemplate(Province& p, Visitor& v) {
    v.boolean(p.TerrainPlain);
    for (auto& bit : p.TerrainBit) v.boolean(bit);
    v.text(p.LandName);
    v.boolean(p.SetLandFlag);
    v.boolean(p.LandFlag);
    v.number(p.CommanderCount);
    for (int c = 1; c < kCommanderSlots; ++c) { // slot 0, the god, belongs to the nation
        auto& com = p.Commanders[c];
        v.text(com.UnitName);
        v.number(com.UnitIndex);
        v.text(com.ComName);
        for (int k = 0; k < kBodyguardSlots; ++k) {
            v.text(com.BodyguardName[k]);
            v.number(com.BodyguardIndex[k]);
            v.number(com.BodyguardCount[k]);
        }
        for (int k = 0; k < kUnitStackSlots; ++k) {
            v.text(com.UnitsName[k]);
            v.number(com.UnitsIndex[k]);
            v.number(com.UnitsCount[k]);
        }
        v.boolean(com.ClearMagic);
        for (const auto skill : kSkills) v.number(com.*skill);
        for (auto& item : com.Items) v.text(item);
        v.boolean(com.InsideCastle);
    }
    v.boolean(p.KillFeatures);
    for (int s = 0; s < kSiteSlotsPerProvince; ++s) {
        v.text(p.SiteName[s]);
        v.number(p.SiteIndex[s]);
    }
    for (int s = 0; s < kSiteSlotsPerProvince; ++s) {
        v.text(p.KnownSiteName[s]);
        v.number(p.KnownSiteIndex[s]);
    }
    v.number(p.Fort);
    v.boolean(p.Temple);
    v.boolean(p.Lab);
    v.boolean(p.Start);
    v.boolean(p.NoStart);
    v.number(p.VictoryPoints);
    v.number(p.Population);
    v.number(p.PopType);
    v.number(p.Unrest);
    v.text(p.SkyBox);
    v.text(p.BatMap);
    for (int k = 0; k < 3; ++k) { // red of all three colours first
        v.number(p.GroundCol[k]);
        v.number(p.RockCol[k]);
        v.number(p.FogCol[k]);
    }
}

struct TemplateWriter {
    std::string out;

    void boolean(const bool& b) { out += b ? "#TRUE#\r\n" : "#FALSE#\r\n"; }
    void text(const Text& t) {
        out += '"';
        // A line end inside a text would shift every value after it.
        for (const char ch : t.view()) out += (ch == '\r' || ch == '\n') ? ' ' : ch;
        out += "\"\r\n";
    }
    template <class Int> void number(const Int& n) {
        out += std::to_string(n);
        out += "\r\n";
    }
};

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

struct TemplateReader {
    std::vector<std::string_view> lines;
    std::size_t next = 0;
    std::string error;

    std::optional<std::string_view> take() {
        if (!error.empty()) return std::nullopt;
        if (next >= lines.size()) {
            error = "The file ends after " + std::to_string(next) + " values; a province template holds " +
                    std::to_string(kTemplateValueCount) + ".";
            return std::nullopt;
        }
        return lines[next++];
    }
    void fail(std::string_view line, const char* expected) {
        constexpr std::size_t kShown = 40;
        std::string shown(line.substr(0, kShown));
        if (line.size() > kShown) shown += "...";
        error = "Line " + std::to_string(next) + " (" + shown + ") is not " + expected + ".";
    }

    void boolean(bool& b) {
        const auto line = take();
        if (!line) return;
        const std::string_view value = trimmed(*line);
        if (value == "#TRUE#")
            b = true;
        else if (value == "#FALSE#")
            b = false;
        else
            fail(*line, "#TRUE# or #FALSE#");
    }
    void text(Text& t) {
        const auto line = take();
        if (!line) return;
        const std::string_view value = *line;
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            return fail(value, "a text in double quotes");
        t = value.substr(1, value.size() - 2);
    }
    template <class Int> void number(Int& n) {
        const auto line = take();
        if (!line) return;
        const std::string_view value = trimmed(*line);
        long long parsed = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed);
        if (value.empty() || ec != std::errc() || end != value.data() + value.size() ||
            parsed < std::numeric_limits<Int>::min() || parsed > std::numeric_limits<Int>::max()) {
            const std::string range = "a whole number from " + std::to_string(std::numeric_limits<Int>::min()) +
                                      " to " + std::to_string(std::numeric_limits<Int>::max());
            return fail(*line, range.c_str());
        }
        n = static_cast<Int>(parsed);
    }
};

QString withoutExtension(QString name) {
    if (name.endsWith(QLatin1String(kTemplateExtension), Qt::CaseInsensitive))
        name.chop(static_cast<qsizetype>(std::char_traits<char>::length(kTemplateExtension)));
    return name;
}

// A stack of the template replaces the commander's stack of the same slot; empty ones change nothing.
template <int N>
void mergeStacks(Text (&name)[N], std::int16_t (&index)[N], std::int16_t (&count)[N], const Text (&tplName)[N],
                 const std::int16_t (&tplIndex)[N], const std::int16_t (&tplCount)[N]) {
    for (int k = 0; k < N; ++k) {
        if (tplName[k].empty()) continue;
        name[k] = tplName[k];
        index[k] = tplIndex[k];
        count[k] = tplCount[k];
    }
}

void mergeCommander(CommanderDataType& com, const CommanderDataType& t) {
    if (!t.UnitName.empty()) com.UnitName = t.UnitName;
    if (t.UnitIndex > 0) com.UnitIndex = t.UnitIndex;
    if (!t.ComName.empty()) com.ComName = t.ComName;
    mergeStacks(com.BodyguardName, com.BodyguardIndex, com.BodyguardCount, t.BodyguardName, t.BodyguardIndex,
                t.BodyguardCount);
    mergeStacks(com.UnitsName, com.UnitsIndex, com.UnitsCount, t.UnitsName, t.UnitsIndex, t.UnitsCount);
    // The template's commander comes with its own skills, even where they are none.
    com.ClearMagic = t.ClearMagic;
    for (const auto skill : kSkills) com.*skill = t.*skill;
    for (int i = 0; i < kItemSlotsPerCommander; ++i)
        if (!t.Items[i].empty()) com.Items[i] = t.Items[i];
    if (t.InsideCastle) com.InsideCastle = true;
}

// A slot holds a site or a known site, never both: the template's entry takes the slot.
// A keeping map empties the other kind's entry of the slot, or the replaced site would come back
// from the kept text on the next read; in strict mode the slot's other kind is left as it was.
void takeSite(bool keeping, Text& name, std::int16_t& index, Text& otherName, std::int16_t& otherIndex,
              const Text& tplName, std::int16_t tplIndex) {
    if (!tplName.empty()) {
        name = tplName;
        if (keeping) {
            otherName.clear();
            otherIndex = -1;
        }
    }
    if (tplIndex > 0) index = tplIndex;
}

} // namespace

QString shippedTemplatesFolder(const QString& program) {
    return joinPath(dataFolder(program), QStringLiteral("TStemplates"));
}

QString templatesFolder(const QString& program) {
    // New templates are the user's own, so they are saved and chosen in the user's folder.
    return joinPath(userDataFolder(program), QStringLiteral("TStemplates"));
}

std::string TemplateText(const ProvinceDataType& province) {
    TemplateWriter writer;
    writer.out.reserve(24 * 1024);
    visitTemplate(province, writer);
    return std::move(writer.out);
}

bool ParseTemplateText(std::string_view bytes, ProvinceDataType& into, std::string& error) {
    TemplateReader reader;
    reader.lines = splitLines(bytes);
    visitTemplate(into, reader);
    if (reader.error.empty()) {
        const bool more = std::any_of(reader.lines.begin() + static_cast<std::ptrdiff_t>(reader.next),
                                      reader.lines.end(), [](std::string_view l) { return !trimmed(l).empty(); });
        if (more)
            reader.error = "The file holds more than the " + std::to_string(kTemplateValueCount) +
                           " values of a province template.";
    }
    error = reader.error;
    return error.empty();
}

TemplateMerge MergeTemplate(MapDocument& doc, int province, const ProvinceDataType& tpl) {
    TemplateMerge merge;
    ProvinceDataType& prov = doc.Provinces[province];

    for (int c = 1; c < kCommanderSlots; ++c) {
        const CommanderDataType& t = tpl.Commanders[c];
        // A slot the template leaves empty keeps the province's commander.
        if (t.UnitName.empty() && t.UnitIndex <= 0) continue;
        CommanderDataType& com = prov.Commanders[c];
        const bool hadUnit = !com.UnitName.empty();
        // Lines kept from a map belong to the commander they came with; another unit is another
        // commander, and the template's own slot carries none (a template file cannot hold them).
        if (hadUnit && com.UnitName != t.UnitName) com.KeptLines.clear();
        mergeCommander(com, t);
        if (!hadUnit && !com.UnitName.empty()) ++prov.CommanderCount;
        merge.commanderSlots.push_back(c);
        if (t.UnitIndex > 0) doc.CurCommander = static_cast<std::int16_t>(c);
    }

    if (tpl.TerrainPlain) prov.TerrainPlain = true;
    // A province is never both small and large.
    if (tpl.TerrainBit[0] && !prov.TerrainBit[1]) prov.TerrainBit[0] = true;
    if (tpl.TerrainBit[1] && !prov.TerrainBit[0]) prov.TerrainBit[1] = true;
    for (int k = 2; k < kTerrainBits; ++k) {
        if (!tpl.TerrainBit[k]) continue;
        if (k == 9) {
            // A nation starts in a special start; it cannot also be closed to starts.
            if (prov.SpecStart) continue;
            prov.NoStart = true;
        }
        prov.TerrainBit[k] = true;
    }

    if (prov.LandName.empty() && !tpl.LandName.empty()) prov.LandName = tpl.LandName;
    prov.SetLandFlag = tpl.SetLandFlag;
    prov.LandFlag = tpl.LandFlag;
    if (tpl.KillFeatures) prov.KillFeatures = true;

    for (int s = 0; s < kSiteSlotsPerProvince; ++s) {
        takeSite(doc.KeepUnknown, prov.KnownSiteName[s], prov.KnownSiteIndex[s], prov.SiteName[s], prov.SiteIndex[s],
                 tpl.KnownSiteName[s], tpl.KnownSiteIndex[s]);
        takeSite(doc.KeepUnknown, prov.SiteName[s], prov.SiteIndex[s], prov.KnownSiteName[s], prov.KnownSiteIndex[s],
                 tpl.SiteName[s], tpl.SiteIndex[s]);
    }
    if (tpl.Fort > 0) prov.Fort = tpl.Fort;
    if (tpl.Temple) prov.Temple = true;
    if (tpl.Lab) prov.Lab = true;
    if (!prov.SpecStart) {
        if (tpl.Start) prov.Start = true;
        if (tpl.NoStart) prov.NoStart = true;
    }

    if (tpl.VictoryPoints > 0) prov.VictoryPoints = tpl.VictoryPoints;
    if (tpl.Population >= 0) prov.Population = tpl.Population;
    if (tpl.PopType > 0) prov.PopType = tpl.PopType;
    if (tpl.Unrest > 0) prov.Unrest = tpl.Unrest;
    if (!tpl.SkyBox.empty()) prov.SkyBox = tpl.SkyBox;
    if (!tpl.BatMap.empty()) prov.BatMap = tpl.BatMap;
    for (int k = 0; k < 3; ++k) {
        if (tpl.GroundCol[k] >= 0) prov.GroundCol[k] = tpl.GroundCol[k];
        if (tpl.RockCol[k] >= 0) prov.RockCol[k] = tpl.RockCol[k];
        if (tpl.FogCol[k] >= 0) prov.FogCol[k] = tpl.FogCol[k];
    }
    ComputeTerrainMask(doc, province);
    return merge;
}

ProvinceTemplates::ProvinceTemplates(UserInterface& ui, std::function<QString()> folder,
                                     std::function<QString()> shipped)
    : mUi(ui), mFolder(std::move(folder)), mShipped(std::move(shipped)),
      mTemplate(std::make_unique<ProvinceDataType>()) {}

ProvinceTemplates::~ProvinceTemplates() = default;

void ProvinceTemplates::activate(std::unique_ptr<ProvinceDataType> tpl, const QString& path) {
    mTemplate = std::move(tpl);
    mPath = path;
    mName = withoutExtension(QFileInfo(path).fileName());
}

bool ProvinceTemplates::SaveTemplate(const MapDocument& doc) {
    const int p = doc.CurProvince;
    if (p < 1 || p > kMaxProvince) return false;
    const std::optional<QString> answer =
        mUi.inputBox(QStringLiteral("Save template as:"),
                     QStringLiteral("Enter a name for the province template (ie 'NoIndys')."),
                     QStringLiteral("NewTemplate"));
    if (!answer || answer->trimmed().isEmpty()) return false;
    const QString name = withoutExtension(*answer);
    const QString fileName = name + QLatin1String(kTemplateExtension);
    const QString path = joinPath(mFolder(), fileName);

    const std::string text = TemplateText(doc.Provinces[p]);
    QString error;
    bool written = false;
    if (name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String(".."))
        error = QStringLiteral("A template name cannot hold a \"/\" or be \".\" or \"..\".");
    else
        written = writeWholeFile(path, text, error);
    if (!written) {
        mUi.messageBox(QStringLiteral("Error saving template"),
                       QStringLiteral("Error while saving ") + fileName + QStringLiteral(" - Error: ") + error);
        return false;
    }
    // The active template is what the file holds, exactly as choosing the file would give it.
    auto saved = std::make_unique<ProvinceDataType>();
    std::string ignored;
    ParseTemplateText(text, *saved, ignored);
    activate(std::move(saved), path);
    return true;
}

namespace {

void copyMissingTemplates(const QString& from, const QString& to) {
    const QDir shipped(from);
    if (QFileInfo(from) == QFileInfo(to) || !shipped.exists()) return;
    const QStringList names = shipped.entryList({QStringLiteral("*") + QLatin1String(kTemplateExtension)}, QDir::Files);
    if (names.isEmpty() || !QDir().mkpath(to)) return;
    for (const QString& name : names) {
        const QString own = joinPath(to, name);
        if (!QFileInfo::exists(own)) QFile::copy(shipped.filePath(name), own);
    }
}

} // namespace

bool ProvinceTemplates::ChooseTemplate() {
    if (mShipped) copyMissingTemplates(mShipped(), mFolder());
    const std::optional<QString> chosen =
        mUi.openFileDialog(QLatin1String(kTemplateFilter), mFolder(), QString());
    if (!chosen || chosen->isEmpty()) return false;
    // A bare file name is one of the templates folder.
    const QString path = QFileInfo(*chosen).isAbsolute() ? *chosen : joinPath(mFolder(), *chosen);
    return ReadTemplate(path);
}

bool ProvinceTemplates::ReadTemplate(const QString& path) {
    QString error;
    if (const auto bytes = readSmallFile(path, kMaxTemplateBytes, error)) {
        // Read value by value over the active template: a failing value ends the read, and it and the
        // values after it keep what the active template held.
        auto tpl = std::make_unique<ProvinceDataType>(*mTemplate);
        std::string problem;
        const bool read = ParseTemplateText(
            std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())), *tpl, problem);
        if (read) {
            activate(std::move(tpl), path);
            return true;
        }
        mTemplate = std::move(tpl);
        error = fromCp1252(problem);
    }
    mUi.messageBox(QStringLiteral("Error loading template"), QStringLiteral("Error while loading ") +
                                                                 QFileInfo(path).fileName() +
                                                                 QStringLiteral(" - Error: ") + error);
    return false;
}

std::optional<TemplateMerge> ProvinceTemplates::ApplyTemplate(MapDocument& doc) const {
    const int p = doc.CurProvince;
    if (p < 1 || p > kMaxProvince || !hasTemplate()) return std::nullopt;
    return MergeTemplate(doc, p, *mTemplate);
}

} // namespace ts
