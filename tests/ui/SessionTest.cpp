// The session through the real window: unsaved work kept by a close or a
// signal and brought back at the next start, and the files that keep it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include "TestSupport.h"
#include "TestWindow.h"
#include "ui/qt/FileNames.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/SessionEnd.h"
#include "ui/qt/SheetNames.h"

namespace kestrane {
namespace {

using C = ControlId;

using test::Window;

MissionBytes Loaded() {
    MissionBytes m = test::Mission({{280, 2}, {12, 'R'}});
    test::SetU32(m, 368, 8000);
    return m;
}

TEST(Session, WorkKeptByACloseOrASignalComesBackWithCtrlRAtTheNextStart) {
    QDir(KeptWorkFolder().Folder()).removeRecursively();  // what tests run before in this process kept
    {
        test::Editor ed;
        Window w(ed);
        ed.Load(Loaded());
        QTest::mouseClick(w.Get(C::WeatherOptions, 4), Qt::LeftButton, {}, QPoint(5, 5));
        w.window.close();
    }
    {
        test::Editor ed;
        Window w(ed);
        SessionEnd end;
        QObject::connect(&end, &SessionEnd::requested, &w.window, &MainWindow::EndSession);
        ed.Load(Loaded());
        ed.Enter(C::NameBox, "Signalled");
        ::raise(SIGTERM);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.window.isVisible(); }, 2000)) << "the signal closes the window";
    }

    test::Editor ed;
    Window w(ed);
    EXPECT_NE(ed.Status().find("2 unsaved works are kept"), std::string::npos) << ed.Status();
    QTest::keyClick(&w.window, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(w.Get<QLineEdit>(C::NameBox)->text(), QStringLiteral("Signalled"));
    QTest::keyClick(&w.window, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(ed.model->Image().U8(280), 4) << ed.Status();
}

// A full disk, as a file size limit makes one: kept work, or the copy of a
// replaced file, that cannot be written is an error and leaves no file
// behind. With room, the copy is the same bytes, a sparse file's included
// (that its holes stay holes is tried on the companion's backups, copied the
// same way).
TEST(Session, KeptWorkThatDoesNotFitIsAnErrorAndLeavesNoFileAndACopyWithRoomIsWhole) {
    test::TempDir data;
    const std::filesystem::path big = data / "big.msn";
    test::WriteFile(big, std::string(400, 'm'));
    std::filesystem::resize_file(big, 8 << 20);
    std::fstream(big, std::ios::in | std::ios::out | std::ios::binary).seekp(4 << 20).write("middle", 6);
    std::filesystem::resize_file(big, (8 << 20) + 1);  // a hole to the end
    KeptWorkFolder folder(QString::fromStdString(data.path().string()));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit small{100, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string error = folder.Write("w.json", std::string(5000, 'x'));
    const Keeping failed = folder.KeepReplaced(big.string());
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(folder.Names().empty()) << "no kept work is left: " << folder.Names().front();
    EXPECT_FALSE(failed.ok);
    EXPECT_TRUE(QDir(QString::fromStdString((data / "replaced").string())).isEmpty()) << "no copy is left";
    const Keeping copy = folder.KeepReplaced(big.string());
    ASSERT_TRUE(copy.ok) << copy.note;
    EXPECT_EQ(test::ReadFile(copy.note), test::ReadFile(big));
}

// Kept works are this program's own plain files: a link planted among
// them is neither read nor written through, and a lock file that names no
// running editor (empty, garbage, not a plain file) hides no work.
TEST(Session, KeptWorkIsNeverReadOrWrittenThroughALinkAndOnlyALiveLockHidesIt) {
    test::TempDir data;
    KeptWorkFolder folder(QString::fromStdString(data.path().string()));
    const std::filesystem::path unsaved = data / "unsaved";
    test::WriteFile(data / "outside.json", "{}");
    std::filesystem::create_symlink(data / "outside.json", unsaved / "planted.json");
    const WorkStore::Reading read = folder.Read("planted.json");
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, "it is a link, not a plain file");
    EXPECT_EQ(folder.Write("planted.json", "new"), "");
    EXPECT_EQ(test::ReadFile(data / "outside.json"), "{}") << "written through the link";
    EXPECT_EQ(test::ReadFile(unsaved / "planted.json"), "new");

    const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* content : {"", "\x01garbage\n"}) {
        const std::filesystem::path lock = unsaved / "left.json.lock";
        test::WriteFile(lock, content);
        std::filesystem::last_write_time(lock, anHourAgo);
        EXPECT_TRUE(folder.Claim("left.json")) << "a lock holding \"" << content << "\" hid the work";
        folder.Release("left.json");
    }
    ASSERT_EQ(::mkfifo((unsaved / "piped.json.lock").c_str(), 0600), 0);
    EXPECT_TRUE(folder.Claim("piped.json"));
    KeptWorkFolder running(QString::fromStdString(data.path().string()));
    ASSERT_TRUE(running.Claim("live.json"));
    EXPECT_FALSE(folder.Claim("live.json")) << "the lock of a running editor was taken";
}

// A name that is not UTF-8 comes back from the text a dialog or a drop
// hands over, in a folder whose name is not UTF-8 either.
TEST(Session, ANameThatIsNotUtf8IsFoundFromTheDialogsTextAndADropsAddress) {
    test::TempDir dir;
    const std::string folder = (dir / "jeu\xe9").string(), file = folder + "/caf\xe9.msn";
    std::filesystem::create_directory(folder);
    test::WriteFile(file, std::string(400, '\0'));
    const QString shown = QFile::decodeName(QByteArray::fromStdString(file));  // as a dialog lists it
    ASSERT_NE(QFile::encodeName(shown).toStdString(), file) << "the text alone does not give the name back";
    EXPECT_EQ(RawPath(shown).toStdString(), file);
    const QUrl dropped(QStringLiteral("file://") + QString::fromLatin1(QByteArray::fromStdString(file).toPercentEncoding("/")));
    EXPECT_EQ(LocalFileOf(dropped).toStdString(), file);
    EXPECT_EQ(RawPath(QStringLiteral("/no/such/file.msn")), QByteArray("/no/such/file.msn"));
}

}  // namespace
}  // namespace kestrane
