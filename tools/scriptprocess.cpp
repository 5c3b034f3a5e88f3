#include "scriptprocess.h"

#include "cp1252.h"
#include "mapdocument.h"
#include "userinterface.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace ts {

namespace {

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool startsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

class ScriptRun {
  public:
    ScriptRun(MapDocument& doc, const ReferenceData& ref, UserInterface& ui, const ScriptHooks& hooks)
        : mDoc(doc), mRef(ref), mUi(ui), mHooks(hooks) {}

    void process(std::string_view bytes) {
        const std::vector<std::string_view> lines = ScriptLines(bytes);
        for (std::size_t n = 0; n < lines.size(); ++n)
            line(lines[n], static_cast<int>(n) + 1);
    }

    ScriptRunResult result;

  private:
    enum class Section { None, Where, All, Then, Tool, Fin };

    struct Block {
        std::vector<ScriptTest> tests;
        std::vector<ScriptApply> applies;
    };

    // Blocks are numbered from 0; a directive that needs a block past the last one ends the run.
    Block& block(int lineNumber) {
        if (mBlockNumber >= kScriptBlocks)
            throw ScriptError("more than " + std::to_string(kScriptBlocks) + " blocks (line " +
                              std::to_string(lineNumber) + ")");
        return mBlocks[static_cast<std::size_t>(mBlockNumber)];
    }

    template <typename T> static void store(std::vector<T>& list, T item, const char* what, int lineNumber) {
        if (list.size() >= static_cast<std::size_t>(kScriptLinesPerPart))
            throw ScriptError("more than " + std::to_string(kScriptLinesPerPart) + " " + what +
                              " lines in one block (line " + std::to_string(lineNumber) + ")");
        list.push_back(std::move(item));
    }

    void line(std::string_view text, int lineNumber) {
        if (startsWith(text, ":SELECT PROVINCES WHERE")) {
            Block& b = block(lineNumber);
            mSection = Section::Where;
            mSelectAll = false;
            b.tests.clear();
        } else if (startsWith(text, ":SELECT ALL PROVINCES")) {
            Block& b = block(lineNumber);
            mSection = Section::All;
            mSelectAll = true;
            b.tests.clear();
        } else if (startsWith(text, ":THEN")) {
            block(lineNumber).applies.clear();
            mSection = Section::Then;
        } else if (startsWith(text, ":END")) {
            Block& b = block(lineNumber);
            mSection = Section::Fin;
            run(b);
            ++result.blocksRun;
            mSection = Section::None;
            ++mBlockNumber;
        } else if (text.empty() || text.front() == '#') {
            // a comment or an empty line
        } else if (startsWith(text, ":TOOL")) {
            mSection = Section::Tool;
        } else if (mSection == Section::Where) {
            store(block(lineNumber).tests, ParseScriptTest(text), "test", lineNumber);
        } else if (mSection == Section::Then) {
            store(block(lineNumber).applies, ParseScriptApply(text), "apply", lineNumber);
        }
        // Anything else (after :TOOL, after :END, in a select-all block, before any directive) is ignored.
    }

    bool selected(const Block& b, int p) const {
        if (mSelectAll) return true;
        // Every test must hold; a block without tests selects nothing.
        if (b.tests.empty()) return false;
        for (const ScriptTest& t : b.tests)
            if (!ScriptTestHolds(mDoc, p, t)) return false;
        return true;
    }

    void run(const Block& b) {
        const int count = std::clamp<int>(mDoc.ProvinceCount, 0, kMaxProvince);
        for (int p = 1; p <= count; ++p) {
            if (mHooks.progress) mHooks.progress(p, count);
            mUi.processEvents();
            if (!selected(b, p)) continue;
            bool changed = false;
            for (const ScriptApply& a : b.applies)
                changed = ApplyScriptLine(mDoc, mRef, p, a, mHooks) || changed;
            result.changed = result.changed || changed;
            if (changed && p == mDoc.CurProvince && mHooks.currentProvinceChanged)
                mHooks.currentProvinceChanged(p);
        }
    }

    MapDocument& mDoc;
    const ReferenceData& mRef;
    UserInterface& mUi;
    const ScriptHooks& mHooks;
    Section mSection = Section::None;
    bool mSelectAll = false; // belongs to the run: a block without a select directive keeps it
    int mBlockNumber = 0;
    Block mBlocks[kScriptBlocks];
};

void reportFailure(UserInterface& ui, const QString& name, const QString& description) {
    ui.messageBox(QStringLiteral("Error processing script"),
                  QStringLiteral("Error processing ") + name + QStringLiteral(" Error: ") + description);
}

} // namespace

std::vector<std::string_view> ScriptLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(trimBlanks(bytes.substr(start)));
            break;
        }
        lines.push_back(trimBlanks(bytes.substr(start, end - start)));
        start = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

ScriptRunResult RunScript(MapDocument& doc, const ReferenceData& ref, UserInterface& ui,
                          std::string_view bytes, const QString& name, const ScriptHooks& hooks) {
    ScriptRun run(doc, ref, ui, hooks);
    try {
        run.process(bytes);
        run.result.completed = true;
    } catch (const std::exception& e) {
        reportFailure(ui, name, fromCp1252(e.what()));
    }
    return run.result;
}

ScriptRunResult z_ScriptProcess(MapDocument& doc, const ReferenceData& ref, UserInterface& ui,
                                const QString& path, const ScriptHooks& hooks) {
    // The messages name the script as the menu lists its files: by file name, without the folder.
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reportFailure(ui, name, file.errorString());
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        reportFailure(ui, name, file.errorString());
        return {};
    }
    return RunScript(doc, ref, ui,
                     std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), name,
                     hooks);
}

} // namespace ts
