#include "settings.h"

#include "folders.h"
#include "moresettings.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <charconv>
#include <vector>

namespace ts {

namespace {

// Reading and writing walk the fields through the same list, so their order cannot drift apart.
template <typename Visitor> void forEachField(Settings& s, Visitor& v) {
    v.visit(s.ShowCommanders);
    v.visit(s.ShowStartAndOwner);
    v.visit(s.ShowVictoryPoints);
    v.visit(s.ShowSites);
    v.visit(s.NavigatorVisible);
    v.visit(s.TerrainToolVisible);
    v.visit(s.TerrainToolLeft);
    v.visit(s.TerrainToolTop);
    v.visit(s.FortToolVisible);
    v.visit(s.FortToolLeft);
    v.visit(s.FortToolTop);
    v.visit(s.BarToolVisible);
    v.visit(s.BarToolLeft);
    v.visit(s.BarToolTop);
    v.visit(s.MapsDirectory);
    v.visit(s.BackgroundImage);
    v.visit(s.FlashSelection);
    v.visit(s.ShowNeighbors);
    v.visit(s.MarkVisited);
    v.visit(s.CenterOnSelection);
    v.visit(s.ColorVisited);
    v.visit(s.ColorBaseCenter);
    v.visit(s.ColorBaseRing);
    v.visit(s.ColorBaseNeighbor);
    v.visit(s.ColorSelectedCenter);
    v.visit(s.ColorSelectedRing);
    v.visit(s.ColorSelectedNeighbor);
    v.visit(s.RingWidth);
    v.visit(s.RingRadius);
    v.visit(s.NeighborWidth);
    v.visit(s.SelectionBlock);
    v.visit(s.MarkStarts);
    v.visit(s.MarkNoStarts);
    v.visit(s.MarkSpecialStarts);
    v.visit(s.MarkOwners);
    v.visit(s.MarkVictoryPoints);
    v.visit(s.ColorStarts);
    v.visit(s.ColorNoStarts);
    v.visit(s.ColorVictoryPoints);
}

struct Writer {
    std::vector<std::string> fields;
    void visit(bool& v) { fields.push_back(v ? "#TRUE#" : "#FALSE#"); }
    void visit(float& v) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
        fields.emplace_back(buf, r.ptr);
    }
    // Paths are kept as the file system's own bytes.
    void visit(QString& v) { fields.push_back('"' + QFile::encodeName(v).toStdString() + '"'); }
    void visit(std::int16_t& v) { fields.push_back(std::to_string(v)); }
    void visit(std::int32_t& v) { fields.push_back(std::to_string(v)); }
};

// Reads the comma-separated fields in order; stops at the first field that does not convert.
struct Reader {
    explicit Reader(const std::string& line) : mLine(line) {}
    bool failed = false;

    void visit(bool& v) {
        std::string f;
        if (!next(f, false)) return;
        if (f == "#TRUE#") v = true;
        else if (f == "#FALSE#") v = false;
        else failed = true;
    }
    void visit(float& v) { number(v); }
    void visit(std::int16_t& v) { number(v); }
    void visit(std::int32_t& v) { number(v); }
    void visit(QString& v) {
        std::string f;
        if (!next(f, true)) return;
        v = QFile::decodeName(QByteArray::fromStdString(f));
    }

private:
    template <typename T> void number(T& v) {
        std::string f;
        if (!next(f, false)) return;
        T value{};
        const char* first = f.data();
        if (!f.empty() && f.front() == '+') ++first;
        const auto r = std::from_chars(first, f.data() + f.size(), value);
        if (f.empty() || r.ec != std::errc() || r.ptr != f.data() + f.size()) {
            failed = true;
            return;
        }
        v = value;
    }

    bool next(std::string& out, bool quoted) {
        if (failed) return false;
        while (mPos < mLine.size() && mLine[mPos] == ' ') ++mPos;
        if (mPos >= mLine.size()) {
            failed = true;
            return false;
        }
        if (quoted) {
            if (mLine[mPos] != '"') {
                failed = true;
                return false;
            }
            const auto close = mLine.find('"', mPos + 1);
            if (close == std::string::npos) {
                failed = true;
                return false;
            }
            out = mLine.substr(mPos + 1, close - mPos - 1);
            mPos = close + 1;
            while (mPos < mLine.size() && mLine[mPos] == ' ') ++mPos;
            if (mPos < mLine.size() && mLine[mPos] == ',') ++mPos;
            return true;
        }
        auto comma = mLine.find(',', mPos);
        if (comma == std::string::npos) comma = mLine.size();
        out = mLine.substr(mPos, comma - mPos);
        while (!out.empty() && out.back() == ' ') out.pop_back();
        mPos = comma < mLine.size() ? comma + 1 : comma;
        return true;
    }

    const std::string& mLine;
    std::size_t mPos = 0;
};

} // namespace

Settings& settings() {
    static Settings s = Settings::defaults(programFolder());
    return s;
}

QString Settings::defaultMapsDirectory() { return QDir::homePath() + QStringLiteral("/.thraxis3/maps/"); }

QString Settings::defaultBackgroundImage(const QString& programFolder) {
    return joinPath(dataFolder(programFolder), QStringLiteral("TSicons"), QStringLiteral("Tessary.jpg"));
}

Settings Settings::defaults(const QString& programFolder) {
    Settings s;
    s.MapsDirectory = defaultMapsDirectory();
    s.BackgroundImage = defaultBackgroundImage(programFolder);
    return s;
}

QString configurationPath(const QString& programFolder) {
    return joinPath(configFolder(programFolder), QStringLiteral("Tessary.cfg"));
}

std::string formatConfiguration(const Settings& s) {
    Writer w;
    Settings copy = s;
    forEachField(copy, w);
    std::string line;
    for (std::size_t i = 0; i < w.fields.size(); ++i) {
        if (i) line += ',';
        line += w.fields[i];
    }
    return line + "\r\n";
}

bool ReadConfiguration(Settings& s, const QString& path, UserInterface& ui) {
    QFile f(path);
    if (!f.exists()) return false;
    auto fail = [&] {
        ui.messageBox(QStringLiteral("Error loading cfg!"), QStringLiteral("An error occurred while reading ") + path);
        return false;
    };
    if (!f.open(QIODevice::ReadOnly)) return fail();
    std::string line = f.readLine().toStdString();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    Reader r(line);
    forEachField(s, r);
    ReadMoreSettings(s, moreSettingsPath(path));
    if (r.failed) return fail();
    return true;
}

bool WriteConfiguration(const Settings& s, const QString& path, UserInterface& ui) {
    const std::string line = formatConfiguration(s);
    QSaveFile f(path);
    const bool ok = f.open(QIODevice::WriteOnly) &&
                    f.write(line.data(), static_cast<qint64>(line.size())) == static_cast<qint64>(line.size()) &&
                    f.commit();
    if (!ok) {
        ui.messageBox(QStringLiteral("Error saving cfg!"), QStringLiteral("An error occurred while writing ") + path);
        return false;
    }
    const QString more = moreSettingsPath(path);
    if (!WriteMoreSettings(s, more)) {
        ui.messageBox(QStringLiteral("Error saving cfg!"), QStringLiteral("An error occurred while writing ") + more);
        return false;
    }
    return true;
}

} // namespace ts
