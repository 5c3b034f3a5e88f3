// Golden cases: each folder below tests/golden holds a map (in.map), a script (script.tss), the map the
// run leaves (out.map, as written) and, when the run shows messages, messages.txt ("title: text" a
// line). The maps stand for a picture with twelve provinces. TESSARY_UPDATE_GOLDEN=1 rewrites the
// expected files from the current code; read them before committing.

#include "mapreader.h"
#include "mapwriter.h"
#include "scriptprocess.h"
#include "scripttesting.h"

#include <QDir>
#include <QFile>

using namespace ts;

namespace {

constexpr int kGoldenProvinces = 12;

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

class ScriptGolden : public ts::testing::DocumentTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ScriptGolden, TheRunLeavesTheExpectedMap) {
    const QDir dir(QStringLiteral(TESSARY_SCRIPT_GOLDEN_DIR "/") + QString::fromStdString(GetParam()));
    z_ReadMapFile(*doc, *ref, ui, dir.filePath("in.map"));
    ASSERT_FALSE(doc->MapErrorsFound) << doc->ErrorLog;
    doc->ProvinceCount = kGoldenProvinces;

    const QByteArray script = readFile(dir.filePath("script.tss"));
    ASSERT_FALSE(script.isEmpty());
    RunScript(*doc, *ref, ui, std::string_view(script.constData(), static_cast<std::size_t>(script.size())),
              QStringLiteral("script.tss"));
    QByteArray messages;
    for (const auto& m : ui.messages)
        messages += (m.title + ": " + m.text + "\n").toLatin1();

    const QString written = folder.file("out.map");
    ASSERT_TRUE(z_WriteMapFile(*doc, *ref, ui, written));
    const QByteArray out = readFile(written);
    if (qEnvironmentVariableIntValue("TESSARY_UPDATE_GOLDEN") == 1) {
        writeFile(dir.filePath("out.map"), out);
        if (!messages.isEmpty()) writeFile(dir.filePath("messages.txt"), messages);
    }
    EXPECT_EQ(out.toStdString(), readFile(dir.filePath("out.map")).toStdString());
    EXPECT_EQ(messages.toStdString(), readFile(dir.filePath("messages.txt")).toStdString());
}

std::vector<std::string> goldenCases() {
    std::vector<std::string> names;
    for (const QString& name : QDir(QStringLiteral(TESSARY_SCRIPT_GOLDEN_DIR))
                                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        names.push_back(name.toStdString());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptGolden, ::testing::ValuesIn(goldenCases()),
                         [](const ::testing::TestParamInfo<std::string>& param) { return param.param; });

TEST(ScriptGoldenCases, AreThere) {
    EXPECT_GE(goldenCases().size(), 8);
}

} // namespace
