#include "randomnames.h"

#include "cp1252.h"
#include "mapdocument.h"
#include "folders.h"
#include "paths.h"
#include "textfile.h"
#include "userinterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>
#include <charconv>
#include <cmath>
#include <memory>
#include <map>
#include <random>

namespace ts {

namespace {

// 51 lists of 1001 rows of long words stay well below this.
constexpr qint64 kMaxNameFileBytes = 4 << 20;
// Only the tag line of every candidate is read; a longer one is no tag line.
constexpr qint64 kMaxTagLineBytes = 64 * 1024;

const QString kErrorTitle = QStringLiteral("RndName error!");

std::vector<std::string> splitAt(std::string_view s, char separator) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (true) {
        const std::size_t end = s.find(separator, pos);
        parts.emplace_back(s.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return parts;
}

int roundHalfToEven(double x) {
    const double floor = std::floor(x);
    const double fraction = x - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
    return static_cast<int>(rounded);
}

std::string shownLine(std::string_view line) {
    constexpr std::size_t kShown = 40;
    std::string shown(line.substr(0, kShown));
    if (line.size() > kShown) shown += "...";
    return shown;
}

// Which terrain a province tag stands for.
bool provinceHasTag(const ProvinceDataType& p, std::string_view tag) {
    const bool* bit = p.TerrainBit;
    const bool sea = bit[2];
    const bool deep = bit[11];
    if (tag == "ANYLAND") return !sea && !deep;
    if (tag == "ANYSEA") return sea || deep;
    if (tag == "PLAIN") return p.TerrainPlain;
    if (tag == "SEA") return sea && !deep;
    static const struct {
        const char* tag;
        int bit;
    } kBitTags[] = {{"FRESHWATER", 3},  {"MOUNTAIN", 4},    {"SWAMP", 5},       {"WASTE", 6},
                    {"FOREST", 7},      {"FARM", 8},        {"MANYSITES", 10},  {"DEEPSEA", 11},
                    {"CAVE", 12},       {"BORDERMOUNT", 22}, {"FIRESITE", 13},  {"AIRSITE", 14},
                    {"WATERSITE", 15},  {"EARTHSITE", 16},  {"ASTRALSITE", 17}, {"DEATHSITE", 18},
                    {"NATURESITE", 19}, {"BLOODSITE", 20},  {"HOLYSITE", 21}};
    for (const auto& t : kBitTags)
        if (tag == t.tag) return bit[t.bit];
    return false;
}

// The first line of a name file, without its line end.
std::optional<std::string> tagLine(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return std::nullopt;
    }
    const QByteArray line = file.readLine(kMaxTagLineBytes);
    const auto lines = splitLines(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
    return lines.empty() ? std::string() : std::string(lines.front());
}

struct Qualifying {
    QStringList files;
    QString error;
};

Qualifying qualifyingFiles(const QStringList& folders, std::string_view category, const MapDocument& doc,
                           int province) {
    Qualifying found;
    std::map<QString, QString> pathsByName; // in name order; the first folder to hold a name wins
    bool anyFolder = false;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        if (!dir.exists()) continue;
        anyFolder = true;
        // Name files copied from other systems may carry the extension in capitals.
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            if (name.endsWith(QLatin1String(".nam"), Qt::CaseInsensitive)) pathsByName.emplace(name, dir.filePath(name));
    }
    if (!anyFolder) {
        found.error = QStringLiteral("The folder %1 does not exist.").arg(folders.value(folders.size() - 1));
        return found;
    }
    for (const auto& [name, path] : pathsByName) {
        const std::optional<std::string> line = tagLine(path, found.error);
        if (!line) return found;
        if (!NameFileQualifies(splitAt(*line, ','), category, doc, province)) continue;
        if (found.files.size() == kMaxNameFiles) {
            found.error = QStringLiteral("More than %1 name files fit.").arg(kMaxNameFiles);
            return found;
        }
        found.files << path;
    }
    return found;
}

} // namespace

const std::string& NameList::row(int r) const {
    static const std::string empty;
    return r >= 0 && static_cast<std::size_t>(r) < rows.size() ? rows[static_cast<std::size_t>(r)] : empty;
}

QStringList namesFolders(const QString& program) {
    QStringList folders{joinPath(userDataFolder(program), QStringLiteral("TSnames"))};
    const QString shipped = joinPath(dataFolder(program), QStringLiteral("TSnames"));
    if (!folders.contains(shipped)) folders << shipped;
    return folders;
}

UniformSource systemUniformSource() {
    auto engine = std::make_shared<std::mt19937_64>(std::random_device{}());
    // 53 random bits make every double of [0, 1) on the grid equally likely and never 1 itself.
    return [engine] { return static_cast<double>((*engine)() >> 11) * 0x1.0p-53; };
}

int TrueRnd(int n, const UniformSource& uniform) {
    const int drawn = roundHalfToEven(static_cast<double>(n) * uniform() + 1.0);
    return drawn > n ? n : drawn;
}

std::optional<NameFile> ParseNameFile(std::string_view bytes, std::string& error,
                                      std::vector<std::string>* skipped) {
    const std::vector<std::string_view> lines = splitLines(bytes);
    NameFile file;
    if (!lines.empty()) file.tags = splitAt(lines.front(), ',');
    file.lists.emplace_back();
    bool firstListNamed = false;
    auto describe = [&](std::size_t index, const std::string& why) {
        return "Line " + std::to_string(index + 1) + " (" + shownLine(lines[index]) + ") " + why;
    };
    auto fail = [&](std::size_t index, const std::string& why) {
        error = describe(index, why);
        return std::nullopt;
    };
    // An entry that cannot be read: the whole file fails, or, when skipping, only that line goes.
    auto badEntry = [&](std::size_t index, const std::string& why) {
        if (!skipped) return false;
        skipped->push_back(describe(index, why));
        return true;
    };

    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == ':') {
            // Entries before the first list line belong to list 0, and that line names it.
            if (firstListNamed) {
                if (file.lists.size() == static_cast<std::size_t>(kMaxNameLists))
                    return fail(i, "starts list " + std::to_string(kMaxNameLists) + "; a name file holds lists 0 to " +
                                       std::to_string(kMaxNameLists - 1) + ".");
                file.lists.emplace_back();
            }
            file.lists.back().name = std::string(line);
            firstListNamed = true;
            continue;
        }
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) {
            if (badEntry(i, "is not an entry of the form weight,word.")) continue;
            return fail(i, "is not an entry of the form weight,word.");
        }
        const std::string_view weight = line.substr(0, comma);
        std::string_view word = line.substr(comma + 1);
        word = word.substr(0, word.find(','));

        NameList& list = file.lists.back();
        int first = list.count + 1;
        int last = first;
        if (const std::size_t dash = weight.find('-'); dash != std::string_view::npos) {
            std::string_view end = weight.substr(dash + 1);
            while (!end.empty() && end.front() == ' ') end.remove_prefix(1);
            while (!end.empty() && end.back() == ' ') end.remove_suffix(1);
            const auto [stop, ec] = std::from_chars(end.data(), end.data() + end.size(), last);
            if (end.empty() || ec != std::errc() || stop != end.data() + end.size()) {
                if (badEntry(i, "has no row number after the \"-\".")) continue;
                return fail(i, "has no row number after the \"-\".");
            }
        }
        if (last < 0 || last > kMaxNameRow) {
            const std::string why = "reaches row " + std::to_string(last) + "; a list holds rows 0 to " +
                                    std::to_string(kMaxNameRow) + ".";
            if (badEntry(i, why)) continue;
            return fail(i, why);
        }
        if (last >= first) {
            if (list.rows.size() <= static_cast<std::size_t>(last)) list.rows.resize(static_cast<std::size_t>(last) + 1);
            for (int r = first; r <= last; ++r) list.rows[static_cast<std::size_t>(r)] = std::string(word);
        }
        list.count = last;
    }
    return file;
}

bool NameFileQualifies(const std::vector<std::string>& tags, std::string_view category, const MapDocument& doc,
                       int province) {
    if (category == "COMMANDER") {
        for (const std::string& tag : tags)
            if (tag == "COMMANDER") return true;
        return false;
    }
    if (province < 1 || province > kMaxProvince) return false;
    const ProvinceDataType& p = doc.Provinces[province];
    for (const std::string& tag : tags)
        if (provinceHasTag(p, tag)) return true;
    return false;
}

QString BuildName(const NameFile& file, const UniformSource& uniform) {
    if (file.lists.empty()) return {};
    const NameList& templates = file.lists.front();
    std::string pattern = templates.row(TrueRnd(templates.count, uniform));
    for (char& ch : pattern) {
        if (ch == '[') ch = ':';
        else if (ch == ']') ch = ',';
    }
    std::string name;
    const std::size_t referable = std::min<std::size_t>(file.lists.size(), kLastReferableList + 1);
    for (const std::string& piece : splitAt(pattern, ',')) {
        for (std::size_t l = 1; l < referable; ++l) {
            const NameList& list = file.lists[l];
            if (list.name == piece) name += list.row(TrueRnd(list.count, uniform));
        }
    }
    return ProperCase(fromCp1252(name));
}

QString ProperCase(const QString& text) {
    QString out = text;
    bool wordStart = true;
    for (QChar& ch : out) {
        if (ch.isSpace()) {
            wordStart = true;
            continue;
        }
        const QChar changed = wordStart ? ch.toUpper() : ch.toLower();
        wordStart = false;
        // A letter whose other case has no byte in the files' code page keeps its own.
        if (toCp1252(QString(changed)) != "?") ch = changed;
    }
    return out;
}

std::optional<QString> RandomName(std::string_view category, const MapDocument& doc, UserInterface& ui,
                                  const UniformSource& uniform, const QStringList& folders) {
    const Qualifying found = qualifyingFiles(folders, category, doc, doc.CurProvince);
    if (!found.error.isEmpty()) {
        ui.messageBox(kErrorTitle,
                      QStringLiteral("Name file not found or file count exceeded.  Error: ") + found.error);
        return QString();
    }
    if (found.files.isEmpty()) return QString();
    const QString path = found.files[TrueRnd(static_cast<int>(found.files.size()), uniform) - 1];

    QString error;
    if (const auto bytes = readSmallFile(path, kMaxNameFileBytes, error)) {
        std::string problem;
        // Keeping, a line that cannot be read costs only itself; it goes to the program's log.
        std::vector<std::string> skipped;
        const auto file = ParseNameFile(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())),
                                        problem, doc.KeepUnknown ? &skipped : nullptr);
        for (const std::string& line : skipped)
            qWarning("Name file %s: skipped %s", qPrintable(QFileInfo(path).fileName()), line.c_str());
        if (file) return BuildName(*file, uniform);
        error = fromCp1252(problem);
    }
    ui.messageBox(kErrorTitle, QStringLiteral("The name file %1 cannot be used.  Error: %2")
                                   .arg(QFileInfo(path).fileName(), error));
    return std::nullopt;
}

} // namespace ts
