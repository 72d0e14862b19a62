// The Startup folder's shortcut, read back through the shell's own IShellLinkW as Windows reads
// it at sign-in (under Wine here).
#include "ShellShortcut.h"

#include "desktop/SessionAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A shortcut as another copy of the program, or the user, would have made it.
bool writeForeignShortcut(const QString& path, const QString& target, const QString& folder) {
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    const bool written =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->SetPath(wideText(QDir::toNativeSeparators(target)))) &&
        SUCCEEDED(link->SetWorkingDirectory(wideText(QDir::toNativeSeparators(folder)))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Save(wideText(QDir::toNativeSeparators(path)), TRUE));
    if (file)
        file->Release();
    if (link)
        link->Release();
    return written;
}

class SessionAutostartWindowsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile program(here.program);
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        path = sessionAutostartPath();
        // Wine spells the folder StartUp; Windows' names are the same in any case.
        ASSERT_TRUE(path.endsWith(u"/Startup/ケムリン式.lnk"_qs, Qt::CaseInsensitive))
            << path.toStdString();
        // A shortcut of the user's own is set aside while the test runs.
        if (QFileInfo::exists(path)) {
            ASSERT_TRUE(QFile::rename(path, path + u".kept"_qs));
        }
    }
    void TearDown() override {
        QFile::remove(path);
        QFile::rename(path + u".kept"_qs, path);
        CoUninitialize();
    }

    QString path;
    // A program that exists, in a folder whose name needs Unicode and has a space.
    QTemporaryDir base;
    const QString folder = base.path() + u"/ケムリン 式"_qs;
    const SessionStart here{folder + u"/kemurin.exe"_qs, folder};
};

TEST_F(SessionAutostartWindowsTest, ShortcutWrittenReadBackAndRemoved) {
    EXPECT_EQ(sessionAutostartEntry(here), AutostartEntry::None);
    ASSERT_TRUE(addSessionAutostart(here));
    const ShellShortcut read = readShellShortcut(path);
    EXPECT_EQ(read.target.toStdString(), here.program.toStdString());
    EXPECT_EQ(read.folder.toStdString(), here.folder.toStdString());
    EXPECT_EQ(read.arguments.toStdString(), "/tray");
    EXPECT_EQ(read.description.toStdString(), "ケムリン式");
    EXPECT_FALSE(QFileInfo::exists(path + u".new"_qs));
    EXPECT_EQ(sessionAutostartEntry(here), AutostartEntry::Ours);
    // Letter case and separators are Windows' own business.
    const SessionStart spelled{here.program.toUpper().replace(u'/', u'\\'), here.folder + u'/'};
    EXPECT_EQ(sessionAutostartEntry(spelled), AutostartEntry::Ours);
    ASSERT_TRUE(removeSessionAutostart(here));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(sessionAutostartEntry(here), AutostartEntry::None);
}

// Another copy's shortcut, or this one's from another working folder, is not ours to remove;
// ticking points it here.
TEST_F(SessionAutostartWindowsTest, ForeignShortcutKeptUntilReplaced) {
    for (const auto& [target, folder] : {std::pair(u"C:/Other/kemurin.exe"_qs, here.folder),
                                         std::pair(here.program, u"C:/Users/Public"_qs)}) {
        ASSERT_TRUE(writeForeignShortcut(path, target, folder));
        EXPECT_EQ(sessionAutostartEntry(here), AutostartEntry::Other);
        EXPECT_TRUE(removeSessionAutostart(here));
        EXPECT_EQ(readShellShortcut(path).target.toStdString(), target.toStdString());
        ASSERT_TRUE(addSessionAutostart(here));
        EXPECT_EQ(readShellShortcut(path).folder.toStdString(), here.folder.toStdString());
        EXPECT_EQ(sessionAutostartEntry(here), AutostartEntry::Ours);
    }
}

} // namespace
