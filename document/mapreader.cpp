#include "mapreader.h"

#include "cp1252.h"
#include "keeping.h"
#include "mapdocument.h"
#include "maperrorlog.h"
#include "mapparser.h"
#include "paths.h"
#include "userinterface.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <charconv>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ts {

namespace {

constexpr char kReaderError[] = "z_ReadMapFile error: ";
constexpr char kMissingQuote[] = "Missing quote in map file.  EOF reached while getting string.";

void resetPosition(MapDocument& doc) {
    doc.CurProvince = doc.CurSiteSlot = doc.CurKnownSiteSlot = doc.CurCommander = kNone;
    doc.CurBodyguardSlot = doc.CurUnitSlot = doc.CurItemSlot = doc.CurGodNation = kNone;
}

// Bytes that end no line and start no quoted text: every valid character but the quote.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int code = 0; code < 256; ++code) plain[code] = code != '"' && code > 31 && code != 92 && (code < 127 || code > 159);
    return plain;
}();

// Splits the file into command lines. Quoted text runs on over line ends (a description spans
// lines), and every LF counts a map line, inside quotes too, so that error lines match an editor's.
class LineSplitter {
  public:
    LineSplitter(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, std::string_view bytes,
                 MapKeeper* keeper, std::function<void()> imageNamed)
        : mDoc(doc), mRef(ref), mUi(ui), mKeeper(keeper), mImageNamed(std::move(imageNamed)), mPos(bytes.data()),
          mEnd(bytes.data() + bytes.size()) {}

    void run() {
        std::string line;
        while (mPos != mEnd) {
            int current = kNoChar;
            while (z_ValidChar(current) && mPos != mEnd) {
                // Most bytes only join the line: take the whole run of them at once.
                const char* run = mPos;
                while (run != mEnd && kPlain[static_cast<unsigned char>(*run)]) ++run;
                line.append(mPos, run);
                mPos = run;
                if (mPos == mEnd) break;
                current = next();
                if (current == '"') {
                    line += '"';
                    if (!readQuoted(line)) current = kNoChar; // nothing more to read: the line ends here
                }
                if (current == '\n') countLine();
                if (current != kNoChar && z_ValidChar(current)) line += static_cast<char>(current);
            }
            process(line);
            line.clear();
        }
    }

  private:
    int next() { return static_cast<unsigned char>(*mPos++); }

    void countLine() {
        ++mDoc.MapLineNumber;
        if (!mUi.progressDue()) return;
        // One message buffer for every line: a big map has hundreds of thousands of them.
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, mDoc.MapLineNumber).ptr;
        mMessage.resize(kProgressPrefix.size());
        mMessage.append(QLatin1StringView(digits, end - digits));
        mUi.busyMessage(mMessage, QString(), static_cast<Color>(mDoc.MapLineNumber) * 255u);
        mUi.processEvents();
    }

    // Appends everything up to the closing quote, which is left for the caller to append. False
    // when the file ended first.
    bool readQuoted(std::string& line) {
        while (mPos != mEnd) {
            const int c = next();
            if (c == '"') return true;
            if (c == '\n') countLine();
            line += static_cast<char>(c);
        }
        mUi.messageBox(QStringLiteral("Oops!"), QString::fromLatin1(kMissingQuote));
        AppendMapError(mDoc, std::string(kReaderError) + kMissingQuote);
        return false;
    }

    void process(std::string_view line) {
        if (mKeeper && line == kKeptSectionTitle) mKeeper->followNoRecord();
        if (line.empty() || line.front() != '#' || line.starts_with("##")) return;
        if (mKeeper) mKeeper->beginLine(line, mDoc.MapLineNumber);
        const std::string_view command = line.substr(0, line.find(' '));
        if (command != "#description") {
            // Comment markers are cut even inside quotes; only the description may hold them.
            for (std::string_view marker : {"--", "##", "//"})
                line = line.substr(0, line.find(marker));
        }
        const std::size_t first = line.find_first_not_of(' ');
        if (first == std::string_view::npos) {
            line = {};
        } else {
            line = line.substr(first, line.find_last_not_of(' ') - first + 1);
        }
        z_ParseCommand(mDoc, mRef, mUi, command, line, mKeeper);
        if (command == "#imagefile" && mImageNamed) mImageNamed();
    }

    static constexpr QLatin1StringView kProgressPrefix{"Loading Map Data..."};

    MapDocument& mDoc;
    const ReferenceData& mRef;
    UserInterface& mUi;
    QString mMessage{kProgressPrefix};
    MapKeeper* mKeeper;
    std::function<void()> mImageNamed;
    const char* mPos;
    const char* mEnd;
};

void readerFailure(MapDocument& doc, UserInterface& ui, const QString& description) {
    ui.messageBox(QStringLiteral("Oops!"), QString::fromLatin1(kReaderError) + description);
    AppendMapError(doc, kReaderError + toCp1252(description));
}

} // namespace

bool z_ValidChar(int code) {
    if (code == kNoChar) return true;
    return code > 31 && code != 92 && (code < 127 || code > 159);
}

QString MapImagePath(const MapDocument& doc, const QString& imageFileName, const QString& readPath) {
    const QString mapPath = pathFromText(doc.MapFilePath);
    const QString title = pathFromText(doc.MapFileTitle);
    if (mapPath.isEmpty() || title.isEmpty()) return joinPath(QFileInfo(readPath).path(), imageFileName);
    QString path = mapPath;
    return path.replace(title, imageFileName, Qt::CaseSensitive);
}

void z_ReadMapFile(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const QString& path,
                   const MapReadOptions& options) {
    doc.MapLineNumber = 1;
    BeginMapErrorLog(doc, path);
    resetPosition(doc);
    doc.GodContext = false;

    {
        // The file's bytes go before the picture is decoded: on a big map both are megabytes.
        QByteArray bytes;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            readerFailure(doc, ui, file.errorString());
            return;
        }
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            readerFailure(doc, ui, file.errorString());
            return;
        }
        file.close();

        std::optional<MapKeeper> keeper;
        if (doc.KeepUnknown) keeper.emplace(doc);
        std::function<void()> imageNamed;
        if (options.imageNamed)
            imageNamed = [&doc, &options, &path] {
                if (doc.ImageFileName.empty()) return;
                const QString name = fromCp1252(doc.ImageFileName.view());
                options.imageNamed(name, MapImagePath(doc, name, path));
            };
        LineSplitter(doc, ref, ui, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                     keeper ? &*keeper : nullptr, std::move(imageNamed))
            .run();
        if (keeper) keeper->finish();
    }

    PlaceGodsAtStarts(doc);
    if (!doc.ImageFileName.empty() && options.loadImage) {
        const QString name = fromCp1252(doc.ImageFileName.view());
        options.loadImage(name, MapImagePath(doc, name, path));
    }
    resetPosition(doc);
}

} // namespace ts
