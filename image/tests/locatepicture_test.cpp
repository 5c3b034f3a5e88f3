#include "fakeuserinterface.h"
#include "imagedecoder.h"
#include "mapdocument.h"
#include "provincelocator.h"
#include "tempfolder.h"
#include "testimages.h"

#include <gtest/gtest.h>
#include <memory>

using namespace ts;
using namespace ts::testing;

namespace {

// Listing the provinces of a picture file without the editor's copy must give exactly what the
// editor's own scan gives, whichever way the file is stored.
TEST(LocatePictureFile, FindsWhatTheEditorFindsInEveryKindOfFile) {
    QImage picture = filledPicture(70, 40, qRgb(40, 120, 60));
    for (int k = 0; k < 30; ++k)
        picture.setPixel((k * 37) % 70, (k * 11) % 40, qRgb(255, 255, 255));
    picture.setPixel(0, 39, qRgb(255, 255, 255));
    picture.setPixel(69, 0, qRgb(255, 255, 255));
    for (int x = 10; x < 60; ++x) // a run of white: one packet in a run-length file
        picture.setPixel(x, 20, qRgb(255, 255, 255));
    picture.setPixel(5, 5, qRgb(254, 255, 255));

    auto doc = std::make_unique<MapDocument>();
    FakeUserInterface ui;
    const int count = z_LocateProvinces(picture, *doc, ui, QString());

    TempFolder folder;
    const struct {
        const char* file;
        bool rle, alpha;
        bool sgi;
    } files[] = {{"rle24.tga", true, false, false},
                 {"rle32.tga", true, true, false},
                 {"plain24.tga", false, false, false},
                 {"packed.rgb", true, false, true}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        const QString path = folder.file(QLatin1String(f.file));
        ASSERT_TRUE(f.sgi ? saveSgi(picture, path, f.rle, f.alpha) : saveTarga(picture, path, f.rle, f.alpha));
        for (const int limit : {kMaxProvince, 12}) {
            const LocatedPixels located = locatePictureFile(path, f.sgi, limit);
            ASSERT_TRUE(located.error.isEmpty()) << located.error.toStdString();
            const int expected = std::min(count, limit);
            ASSERT_EQ(static_cast<int>(located.pixels.size()), expected);
            EXPECT_EQ(located.tooMany, count > limit);
            for (int n = 1; n <= expected; ++n) {
                EXPECT_EQ(located.pixels[static_cast<std::size_t>(n - 1)],
                          QPoint(doc->Provinces[n].ProvinceX, doc->Provinces[n].ProvinceY))
                    << n;
            }
        }
    }
    EXPECT_FALSE(locatePictureFile(folder.file(QStringLiteral("none.tga")), false, kMaxProvince).error.isEmpty());
}

} // namespace
