#include "folders.h"
#include "tempfolder.h"
#include "userenvironment.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace ts;

namespace {

// An installed tree: prefix/bin without data, prefix/share/tessary with it.
struct InstalledTree {
    TempFolder root;
    QString bin;
    InstalledTree() {
        root.write("usr/share/tessary/TSdata/UnitData.txt", "x");
        root.write("usr/share/tessary/TSpalettes/shipped.upa", "1");
        root.write("usr/share/tessary/TSpalettes/both.upa", "shipped");
        QDir().mkpath(root.file("usr/bin"));
        bin = root.file("usr/bin");
    }
};

} // namespace

TEST(Folders, PortableKeepsEverythingBesideTheProgram) {
    TempFolder program;
    program.write("TSdata/UnitData.txt", "x");
    UserEnvironment env(program.file("cfg"), program.file("data"), program.file("home"));

    EXPECT_EQ(folderLayout(program.path()), FolderLayout::Portable);
    EXPECT_EQ(dataFolder(program.path()), program.path());
    EXPECT_EQ(configFolder(program.path()), program.path());
    EXPECT_EQ(userDataFolder(program.path()), program.path());
    EXPECT_EQ(writableFile("TSpalettes", "mine.upa", program.path()), program.file("TSpalettes/mine.upa"));
    EXPECT_FALSE(QFileInfo::exists(program.file("cfg")));
}

TEST(Folders, InstalledReadsShareAndWritesTheUsersFolders) {
    InstalledTree tree;
    UserEnvironment env(tree.root.file("cfg"), tree.root.file("data"), tree.root.file("home"));

    EXPECT_EQ(folderLayout(tree.bin), FolderLayout::Installed);
    EXPECT_EQ(dataFolder(tree.bin), tree.root.file("usr/share/tessary"));
    EXPECT_EQ(configFolder(tree.bin), tree.root.file("cfg/tessary"));
    EXPECT_EQ(userDataFolder(tree.bin), tree.root.file("data/tessary"));

    const QString written = writableFile("TSpalettes", "mine.upa", tree.bin);
    EXPECT_EQ(written, tree.root.file("data/tessary/TSpalettes/mine.upa"));
    EXPECT_TRUE(QFileInfo(tree.root.file("data/tessary/TSpalettes")).isDir());
}

TEST(Folders, WithoutXdgVariablesTheHomeDefaultsApply) {
    InstalledTree tree;
    // Relative values are not valid XDG folders and count as unset.
    UserEnvironment env(QString(), QStringLiteral("relative/data"), tree.root.file("home"));

    EXPECT_EQ(configFolder(tree.bin), tree.root.file("home/.config/tessary"));
    EXPECT_EQ(userDataFolder(tree.bin), tree.root.file("home/.local/share/tessary"));
}

TEST(Folders, UserFilesAreListedWithTheShippedOnesAndWinOnAClash) {
    InstalledTree tree;
    UserEnvironment env(tree.root.file("cfg"), tree.root.file("data"), tree.root.file("home"));
    tree.root.write("data/tessary/TSpalettes/both.upa", "mine");
    tree.root.write("data/tessary/TSpalettes/mine.upa", "2");
    tree.root.write("data/tessary/TSpalettes/notes.txt", "not a palette");

    EXPECT_EQ(listFiles("TSpalettes", "*.upa", tree.bin), QStringList({"both.upa", "mine.upa", "shipped.upa"}));
    EXPECT_EQ(readableFile("TSpalettes", "both.upa", tree.bin), tree.root.file("data/tessary/TSpalettes/both.upa"));
    EXPECT_EQ(readableFile("TSpalettes", "shipped.upa", tree.bin),
              tree.root.file("usr/share/tessary/TSpalettes/shipped.upa"));
}
