#include "boxtext.h"
#include "fakeuserinterface.h"
#include "headerrules.h"
#include "mapdocument.h"

#include <gtest/gtest.h>
#include <memory>

namespace ts {
namespace {

// The header is a small part of a large document: one is enough, every commit writes all of it.
MapDocument* committed(const MapHeaderFields& fields) {
    static const auto doc = std::make_unique<MapDocument>();
    CommitMapHeader(*doc, fields);
    return doc.get();
}

TEST(MapHeaderRules, NumberBoxesClampOrUnset) {
    struct Case {
        const char* frequency;
        const char* zoom;
        std::int16_t storedFrequency;
        float storedZoom;
        const char* shownFrequency;
        const char* shownZoom;
    } cases[] = {
        {"150", "2.5", 100, 2.0f, "100", "2"},
        {"45", "0.75", 45, 0.75f, "45", "0.75"},
        {"", "", -1, -1.0f, "", ""},
        {"  ", " ", -1, -1.0f, "", ""},
        {"abc", "abc", 0, 0.0f, "0", "0"}, // letters become the minimum
        {"-5", "-1", 0, 0.0f, "0", "0"},
    };
    for (const Case& c : cases) {
        MapHeaderFields f;
        f.featuresFrequency = QString::fromLatin1(c.frequency);
        f.defaultMapZoom = QString::fromLatin1(c.zoom);
        const MapDocument* doc = committed(f);
        EXPECT_EQ(doc->FeaturesFrequency, c.storedFrequency) << c.frequency;
        EXPECT_FLOAT_EQ(doc->DefaultMapZoom, c.storedZoom) << c.zoom;
        const MapHeaderFields back = ShowMapHeader(*doc);
        EXPECT_EQ(back.featuresFrequency, QString::fromLatin1(c.shownFrequency)) << c.frequency;
        EXPECT_EQ(back.defaultMapZoom, QString::fromLatin1(c.shownZoom)) << c.zoom;
        // Leaving a box shows what a commit would store.
        EXPECT_EQ(ClampedIntText(f.featuresFrequency, 0, kFeaturesFrequencyMax), back.featuresFrequency);
        EXPECT_EQ(ClampedSingleText(f.defaultMapZoom, 0.0f, kDefaultMapZoomMax), back.defaultMapZoom);
    }
}

TEST(MapHeaderRules, TextColourIsSetByTheRedBoxAlone) {
    struct Case {
        const char* red;
        const char* alpha;
        float stored[4];
        bool shown;
    } cases[] = {
        {"", "1", {-1.0f, -1.0f, -1.0f, -1.0f}, false}, // an empty red box unsets the whole colour
        {"0.2", "1", {0.2f, 0.5f, 0.25f, 1.0f}, true},
        {"7", "x", {1.0f, 0.5f, 0.25f, 0.0f}, true},
        {"0", "0", {0.0f, 0.5f, 0.25f, 0.0f}, true},
    };
    for (const Case& c : cases) {
        MapHeaderFields f;
        f.textColor[0] = QString::fromLatin1(c.red);
        f.textColor[1] = QStringLiteral("0.5");
        f.textColor[2] = QStringLiteral("0.25");
        f.textColor[3] = QString::fromLatin1(c.alpha);
        const MapDocument* doc = committed(f);
        for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(doc->MapTextColor[k], c.stored[k]) << c.red << " " << k;
        EXPECT_EQ(MapTextColorShown(*doc), c.shown) << c.red;
        EXPECT_EQ(ShowMapHeader(*doc).textColor[1].isEmpty(), !c.shown) << c.red;
    }
    // Components that add up to nothing show nothing.
    MapHeaderFields zero;
    for (QString& c : zero.textColor) c = QStringLiteral("0");
    EXPECT_FALSE(MapTextColorShown(*committed(zero)));
}

TEST(MapHeaderRules, PickedColourFillsRedGreenBlueAtFullPrecisionAndKeepsAlpha) {
    MapHeaderFields f;
    f.textColor[3] = QStringLiteral("0.4");
    SetPickedTextColor(f, 0x00FF80u); // red 128, green 255, blue 0
    EXPECT_EQ(f.textColor[0], QStringLiteral("0.5019607843137255"));
    EXPECT_EQ(f.textColor[1], QStringLiteral("1"));
    EXPECT_EQ(f.textColor[2], QStringLiteral("0"));
    EXPECT_EQ(f.textColor[3], QStringLiteral("0.4"));
    EXPECT_EQ(MapTextColorOf(f), 0x00FF80u);
    f.textColor[0] = QStringLiteral("0.2"); // 51
    f.textColor[1] = QStringLiteral("x");
    EXPECT_EQ(MapTextColorOf(f), 0x000033u);
}

TEST(MapHeaderRules, TextsAndSwitchesSurviveACommitAndShow) {
    MapHeaderFields f;
    f.title = QStringLiteral("Isles of S\u00E9verin");
    f.imageFile = QStringLiteral("isles.tga");
    f.description = QStringLiteral("First line\nsecond line\r\nthird");
    f.scenario = f.wrapAround = f.noHomelandNames = true;
    const MapDocument* doc = committed(f);
    EXPECT_EQ(doc->MapTitle, "Isles of S\xE9verin");
    EXPECT_EQ(doc->MapDescription, "First line\r\nsecond line\r\nthird"); // held as CR LF, like a read file
    EXPECT_TRUE(doc->ScenarioFlag && doc->WrapAround && doc->NoHomelandNames);
    MapHeaderFields expected = f;
    expected.description = QStringLiteral("First line\nsecond line\nthird");
    EXPECT_EQ(ShowMapHeader(*doc), expected);
}

TEST(MapHeaderRules, BrowsingProposesTheCurrentPictureAndKeepsOnlyTheFileName) {
    FakeUserInterface ui;
    ui.files = {QStringLiteral("/home/me/maps/other/world.rgb"), std::nullopt};
    EXPECT_EQ(BrowseMapImage(ui, QStringLiteral("/home/me/maps"), QStringLiteral("old.tga")),
              std::optional<QString>(QStringLiteral("world.rgb")));
    EXPECT_EQ(BrowseMapImage(ui, QStringLiteral("/home/me/maps/"), QString()), std::nullopt);
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests[0],
              QStringLiteral("open|Map Image (*.tga;*.rgb)|*.tga;*.rgb|/home/me/maps|/home/me/maps/old.tga"));
    EXPECT_EQ(ui.fileRequests[1], QStringLiteral("open|Map Image (*.tga;*.rgb)|*.tga;*.rgb|/home/me/maps/|"));
}

} // namespace
} // namespace ts
