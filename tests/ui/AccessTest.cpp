// The window as assistive technology and a keyboard-only user meet it, and
// the desktop conventions: what labels read, load-pick-edit-save without
// the mouse, drops, the modified mark with undo, and the inspector.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QRadioButton>
#include <QTableView>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <functional>
#include <sys/stat.h>

#include "TestSupport.h"
#include "TestWindow.h"
#include "ui/qt/InspectorWindow.h"
#include "ui/qt/MissionBrowser.h"
#include "ui/qt/MissionScanner.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/SheetNames.h"
#include "ui/qt/Widgets.h"

namespace kestrane {
namespace {

using C = ControlId;

using test::Window;

const MissionBytes kMission = test::Mission({{272, 1}, {280, 2}, {304, 3}, {288, 4}, {12, 'R'}, {368, 100}});

TEST(Access, ValuesSlotsGroupsAndTheStatusLineAreReadForWhatTheyAreAndShow) {
    test::Editor ed(6, 8);
    Window w(ed);
    ed.Load(kMission);
    w.window.Refresh();
    auto read = [&](const char* name) { return QAccessible::queryAccessibleInterface(w.window.findChild<QWidget*>(name)); };
    const std::string hex = ed.model->Text(C::ChecksumHex);
    const struct {
        const char* widget;
        QAccessible::Role role;
        std::string name;
        bool tabStop;
    } kRead[] = {
        {"Label19", QAccessible::StaticText, "Miission name :", false},  // a caption: its text
        {"AP1N", QAccessible::StaticText, "0", false},                   // a plain value: its text
        {"Label2", QAccessible::StaticText, "Current checksum, hexadecimal: " + hex, true},
        {"AP2L", QAccessible::Button, "Attack plane 2: 3:Plane 3", true},
        {"Targl", QAccessible::Button, "Target: 4:Place 4", true},
        {"StatusLine", QAccessible::Notification, ed.Status(), false},
    };
    for (const auto& r : kRead) {
        QAccessibleInterface* a = read(r.widget);
        ASSERT_NE(a, nullptr) << r.widget;
        EXPECT_EQ(a->role(), r.role) << r.widget;
        EXPECT_EQ(a->text(QAccessible::Name).toStdString(), r.name) << r.widget;
        EXPECT_EQ(bool(w.window.findChild<QWidget*>(r.widget)->focusPolicy() & Qt::TabFocus), r.tabStop) << r.widget;
    }
    EXPECT_EQ(read("AP2L")->text(QAccessible::Description), QStringLiteral("Space puts the aircraft selected in the Aircraft list in."));
    EXPECT_EQ(read("AP1N")->text(QAccessible::Description), QStringLiteral("Attack plane 1, aircraft number"));
    // An option group is named by its own caption, not by the frame it shares.
    EXPECT_EQ(read("AP2But_1")->parent()->text(QAccessible::Name), QStringLiteral("Formation size"));
    EXPECT_EQ(read("BSBut_1")->parent()->text(QAccessible::Name), QStringLiteral("Battle size"));
    // A press on a slot is the click it stands for; what its label cuts is
    // whole in its tool tip, and every value says what it is.
    test::WriteFile(ed.dir / "planes.txt", "Spitfire\nP-47 Thunderbolt, a name far longer than its label\n");
    ed.model->ChangeFolder(ReadCatalogues(ed.dir.path()));
    ed.model->Select(C::AircraftList, 1);
    read("AP1L")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(ed.model->Image().U8(356), 1);
    EXPECT_EQ(w.Get(C::AttackPlane1Name)->toolTip().toStdString(), "Attack plane 1: 1:P-47 Thunderbolt, a name far longer than its label");
    EXPECT_EQ(w.Get(C::ChecksumByte0)->toolTip(), QStringLiteral("Current checksum, byte 0 (lowest)"));
}

TEST(Access, EveryResultIsAnnouncedAndARefusalTakesTheFocusToTheBox) {
    test::Editor ed;
    Window w(ed);
    auto* status = w.window.findChild<StatusLineLabel*>(QStringLiteral("StatusLine"));
    auto* count = w.Get<QLineEdit>(C::AircraftCountBox);
    const std::pair<const char*, std::function<void()>> kActions[] = {
        {"a cancelled load", [&] { QTest::keyClick(&w.window, Qt::Key_O, Qt::ControlModifier); }},
        {"a new mission", [&] { QTest::keyClick(&w.window, Qt::Key_N, Qt::ControlModifier); }},
        {"a refused value", [&] {
             count->setFocus();
             QTest::keyClicks(count, QStringLiteral("999"));
             QTest::keyClick(count, Qt::Key_Return);
         }},
        {"a pick", [&] { QTest::keyClick(w.Get(C::AttackPlane1Name), Qt::Key_Space); }},
        {"an undo", [&] { QTest::keyClick(&w.window, Qt::Key_Z, Qt::ControlModifier); }},
        {"the same undo again", [&] { QTest::keyClick(&w.window, Qt::Key_Z, Qt::ControlModifier); }},
        {"a save", [&] { QTest::keyClick(&w.window, Qt::Key_S, Qt::ControlModifier); }},
    };
    for (const auto& [what, act] : kActions) {
        const int before = status->Announced();
        act();
        EXPECT_TRUE(QTest::qWaitFor([&] { return status->Announced() == before + 1; }, 2000)) << what << ": " << ed.Status();
        QTest::qWait(300);
        EXPECT_EQ(status->Announced(), before + 1) << what << ": once";
    }
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, QStringLiteral("300"));
    w.Get(C::YearOptions, 1)->setFocus();
    QTest::keyClick(&w.window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), count) << "the refused box takes the focus: " << ed.Status();
}

TEST(Access, AListBoxIsReadAsAListOfItsEntriesAndMovesLikeOne) {
    test::Editor ed(6, 300);
    Window w(ed);
    ed.Load(kMission);
    auto* box = w.Get<QAbstractItemView>(C::PlaceList);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(box);
    ASSERT_EQ(list->role(), QAccessible::List);
    const PickList& items = ed.model->Items(C::PlaceList);
    const int last = items.Count() - 1;
    ASSERT_EQ(list->childCount(), items.Count());
    for (const int row : {0, last}) {
        QAccessibleInterface* entry = list->child(row);
        EXPECT_EQ(entry->role(), QAccessible::ListItem);
        EXPECT_EQ(entry->text(QAccessible::Name).toStdString(), items.Item(row));
        EXPECT_EQ(list->indexOfChild(entry), row);
        EXPECT_EQ(list->child(row), entry) << "one object per entry";
        EXPECT_EQ(entry->state().offscreen, row == last);
    }
    // Keys move as in a list, and the entry they land on is the one in focus.
    box->setFocus();
    const struct { Qt::Key key; int row; } moves[] = {{Qt::Key_End, last}, {Qt::Key_Home, 0}, {Qt::Key_Down, 1}};
    for (const auto& move : moves) {
        QTest::keyClick(box, move.key);
        EXPECT_EQ(ed.model->Value(C::PlaceList), move.row);
        EXPECT_EQ(list->focusChild(), list->child(move.row));
    }
    list->child(5)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(ed.model->Value(C::PlaceList), 5);
    // Another game folder's lists are shown whole.
    test::TempDir game;
    test::WriteFile(game / "targets.txt", test::Lines({"Dover", "Calais"}));
    w.window.ChooseGameFolder(QString::fromStdString(game.path().string()));
    EXPECT_EQ(box->model()->rowCount(), 2);
    EXPECT_EQ(box->model()->index(1, 0).data().toString(), QStringLiteral(" 1:Calais"));
    EXPECT_EQ(ed.model->Value(C::PlaceList), -1);
}

// Presses Tab until the widget has the focus; fails after a full round.
void TabTo(QWidget* target) {
    for (int i = 0; i < 200 && QApplication::focusWidget() != target; ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : target->window(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), target) << target->objectName().toStdString();
}

TEST(Access, AKeyboardOnlySessionSavesWhatTheMouseWould) {
    test::Editor byMouse, byKeys;
    test::WriteFile(byKeys.dir / "in.msn", kMission);
    byMouse.Load(kMission);
    byMouse.model->Select(C::AircraftList, 4);
    byMouse.model->Click(C::AttackPlane2Name);
    byMouse.model->Click(C::WeatherOptions, 3);
    byMouse.Enter(C::AttackPrimaryAltitudeBox, "12000");
    const std::vector<std::uint8_t> expected = byMouse.Save("kb");

    Window w(byKeys);
    byKeys.dialog.answers.push_back((byKeys.dir / "in.msn").string());
    QTest::keyClick(&w.window, Qt::Key_O, Qt::ControlModifier);
    TabTo(w.Get(C::AircraftList));
    for (int i = 0; i < 4; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    TabTo(w.Get(C::AttackPlane2Name));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    TabTo(w.Get(C::WeatherOptions, 2));  // Tab lands on the chosen member
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    TabTo(w.Get(C::AttackPrimaryAltitudeBox));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "12000");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    TabTo(w.Get(C::FileNameBox));
    QTest::keyClicks(QApplication::focusWidget(), "kb");
    TabTo(w.Get(C::SaveButton));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(test::ReadBytes(byKeys.dir / "kb.msn"), expected);
}

// The desktop conventions, on a window over a start folder of its own.
class Desktop : public ::testing::Test {
protected:
    test::Editor ed;
    Window w{ed};
};

TEST_F(Desktop, ADroppedFileLoadsAndTheTitleMarksUnsavedChangesUntilUndone) {
    test::WriteFile(ed.dir / "dropped.msn", kMission);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString((ed.dir / "dropped.msn").string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.window, &drop);
    EXPECT_EQ(ed.model->Image().Bytes(), kMission) << ed.Status();
    EXPECT_FALSE(w.window.isWindowModified());

    // Ctrl+Z and Ctrl+Shift+Z in the box just entered take back and redo
    // the stored value, not the box's own typing.
    auto* box = w.Get<QLineEdit>(C::AttackPrimaryAltitudeBox);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("888"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(w.window.isWindowModified());
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("dropped.msn[*] \u2014 Kestrane Mission maker"));
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(w.window.isWindowModified());
    EXPECT_EQ(ed.model->Image().Bytes(), kMission);
    EXPECT_EQ(box->text(), QStringLiteral("100"));
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ed.model->Image().U32(368), 888u);
}

// The menus' New and Save As behave as in any desktop editor; the sheet's
// New keeps the controls, and then the title marks what a close would keep.
TEST_F(Desktop, CtrlNShowsAnUntitledMissionAndCtrlShiftSAsksForItsName) {
    ed.Load(kMission, "channel.msn");
    QTest::keyClick(&w.window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Untitled[*] \u2014 Kestrane Mission maker"));
    EXPECT_FALSE(w.window.isWindowModified()) << "a new mission shown as it is holds nothing unsaved";
    EXPECT_TRUE(w.Get<QRadioButton>(C::WeatherOptions, 0)->isChecked());
    EXPECT_EQ(w.Get<QLineEdit>(C::AttackPrimaryAltitudeBox)->text(), QStringLiteral("0"));

    ed.dialog.answers.push_back((ed.dir / "fresh").string());
    QTest::keyClick(&w.window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ed.dialog.offered, ed.dir.path().string() + "/Untitled.msn");
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("fresh.msn[*] \u2014 Kestrane Mission maker"));

    ed.Load(kMission, "channel.msn");
    QTest::mouseClick(w.Get(C::NewButton), Qt::LeftButton);
    EXPECT_TRUE(w.Get<QRadioButton>(C::WeatherOptions, 2)->isChecked()) << "the sheet's New changed the controls";
    EXPECT_TRUE(w.window.isWindowModified()) << "the boxes hold text a save would store";
    EXPECT_NE(ed.Status().find("the controls still show the previous mission"), std::string::npos) << ed.Status();
}

// The inspector shows the file and follows edits; as every second window,
// it opens clear of the main window's status bar, and every key of the
// menus works from it.
TEST_F(Desktop, TheInspectorShowsTheFileFollowsEditsAndTakesEveryKey) {
    ed.Load(kMission);
    const QRect bar(w.window.statusBar()->mapToGlobal(QPoint(0, 0)), w.window.statusBar()->size());
    QTest::keyClick(&w.window, Qt::Key_F2);
    InspectorWindow* inspector = w.window.Inspector();
    ASSERT_TRUE(inspector != nullptr && inspector->isVisible());
    EXPECT_FALSE(inspector->frameGeometry().intersects(bar));
    QAbstractItemModel* table = inspector->Table()->model();
    ASSERT_EQ(table->rowCount(), 400);
    for (int offset = 0; offset < 400; ++offset)
        ASSERT_EQ(table->index(offset, InspectorTable::Byte).data().toInt(), kMission[static_cast<std::size_t>(offset)]);
    QTest::mouseClick(w.Get(C::WeatherOptions, 4), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(table->index(280, InspectorTable::Byte).data().toInt(), 4);
    EXPECT_EQ(table->index(280, InspectorTable::Changed).data().toString(), QStringLiteral("changed"));
    const QModelIndexList rows = inspector->Table()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);  // the focused option's field
    EXPECT_EQ(rows.front().row(), 280);

    QApplication::setActiveWindow(inspector);
    ASSERT_TRUE(QTest::qWaitForWindowActive(inspector));
    QTest::keyClick(inspector->Table(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Untitled[*] \u2014 Kestrane Mission maker")) << "Ctrl+N from the inspector";
    QTest::keyClick(inspector->Table(), Qt::Key_F2);
    EXPECT_FALSE(inspector->isVisible());
}

TEST_F(Desktop, FourMenusReachedWithAltShowTheStandardKeysAndTheTitleNamesTheFile) {
    QStringList menus, shown;
    for (QAction* menu : w.window.menuBar()->actions()) {
        menus << menu->text();
        for (QAction* action : menu->menu()->actions())
            if (!action->shortcut().isEmpty()) shown << action->shortcut().toString();
    }
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Help"}));
    EXPECT_EQ(shown, (QStringList{"Ctrl+O", "Ctrl+N", "Ctrl+S", "Ctrl+Shift+S", "Ctrl+R", "Ctrl+Q", "Ctrl+Z", "Ctrl+Shift+Z",
                                  "Ctrl++", "Ctrl+-", "Ctrl+0", "F2", "F3", "F1"}));
    QTest::keyClick(&w.window, Qt::Key_H, Qt::AltModifier);
    ASSERT_NE(w.window.menuBar()->activeAction(), nullptr);
    EXPECT_EQ(w.window.menuBar()->activeAction()->text(), QStringLiteral("&Help"));
    QTest::keyClick(w.window.menuBar()->activeAction()->menu(), Qt::Key_Escape);

    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Kestrane Mission maker[*]"));
}

// Ctrl++, Ctrl+- and Ctrl+0 scale every place, size and the font together,
// within 75 % and 200 %, and the next window opens at the zoom left.
TEST_F(Desktop, ZoomScalesTheWholeSheetAndIsRemembered) {
    const int font = w.Get(C::LoadButton)->font().pixelSize();
    QTest::keyClick(&w.window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(w.window.Sheet()->size(), QSize(824, 582));
    EXPECT_GT(w.window.height(), 582);
    EXPECT_EQ(w.Get(C::LoadButton)->font().pixelSize(), font * 110 / 100);
    EXPECT_EQ(ed.Status(), "Zoom 110 %.");
    QTest::keyClick(&w.window, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(w.window.Sheet()->size(), QSize(749, 529));
    for (int i = 0; i < 3; ++i) QTest::keyClick(&w.window, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(ed.Status(), "Zoom 75 %, the smallest.");
    EXPECT_EQ(w.window.Sheet()->size(), QSize(562, 397));
    Window next(ed);
    EXPECT_EQ(next.window.Sheet()->size(), QSize(562, 397)) << "the zoom is remembered";
    QSettings().remove(QStringLiteral("view/zoom"));  // for the tests after this one in the same process
}

TEST_F(Desktop, OnAScreenTooSmallTheSheetScrollsAndTheStatusBarStaysInView) {
    EXPECT_EQ(w.window.centralWidget(), w.window.Sheet()) << "at normal sizes nothing moves";
    w.window.FitInto(QSize(960, 540));  // a 1080p screen at 200 %
    EXPECT_LE(w.window.height(), 500);
    EXPECT_EQ(w.window.Sheet()->size(), QSize(749, 529)) << "the sheet keeps its size";
    EXPECT_TRUE(qobject_cast<QScrollArea*>(w.window.centralWidget()) != nullptr);
    const QRect strip = w.window.statusBar()->geometry();
    EXPECT_TRUE(w.window.rect().contains(strip)) << "the status bar is reached";

    w.window.FitInto(QSize(600, 540));  // narrower than the sheet: the checksums follow it across
    QWidget* hex = w.Get(C::ChecksumHex);
    const int x = hex->x();
    qobject_cast<QScrollArea*>(w.window.centralWidget())->horizontalScrollBar()->setValue(100);
    EXPECT_EQ(hex->x(), x - 100);
}

TEST_F(Desktop, F3ShowsTheFoldersMissionsToFilterLoadCompareAndStampAndFollowsTheFolder) {
    test::WriteFile(ed.dir / "a.msn", test::Stamped(test::Mission({{12, 'A'}, {272, 3}})));
    test::WriteFile(ed.dir / "b.msn", test::Mission({{12, 'B'}}));  // its checksum wrong
    test::WriteFile(ed.dir / "c.msn", test::Stamped(test::Mission({{12, 'D'}, {13, 'u'}, {14, 's'}, {15, 'k'}, {276, 3}})));
    ::mkfifo((ed.dir / "x.msn").c_str(), 0600);
    QTest::keyClick(&w.window, Qt::Key_F3);
    MissionBrowser* missions = w.window.Missions();
    ASSERT_NE(missions, nullptr);
    // Waits for the scans that follow a change until one leaves that many rows.
    QSignalSpy scanned(&missions->Scanner(), &MissionScanner::ScanDone);
    auto scannedTo = [&](int rows, int ms) {
        while (missions->Rows().rowCount() != rows)
            if (!scanned.wait(ms)) return false;
        return true;
    };
    ASSERT_TRUE(scannedTo(4, 5000));
    QAbstractItemModel* shown = missions->Table()->model();
    auto select = [&](std::initializer_list<int> rows) {
        missions->Table()->clearSelection();
        for (int row : rows)
            missions->Table()->selectionModel()->select(shown->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    };
    QTest::keyClicks(missions->Filter(), QStringLiteral("DUSK"));
    ASSERT_EQ(shown->rowCount(), 1);
    EXPECT_EQ(shown->index(0, 0).data().toString(), QStringLiteral("c.msn"));
    missions->Filter()->clear();
    // A header clicked twice sorts its column down; another sorts up.
    QHeaderView* header = missions->Table()->horizontalHeader();
    auto clickHeader = [&](MissionColumn column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(int(column)) + 5, 5));
    };
    clickHeader(MissionColumn::Name);
    clickHeader(MissionColumn::Name);
    EXPECT_EQ(shown->index(0, 0).data().toString(), QStringLiteral("c.msn")) << "Dusk, B, A, then the pipe's none";
    clickHeader(MissionColumn::File);

    select({0, 1});  // a.msn and b.msn, by file name
    missions->Compare();
    EXPECT_TRUE(missions->Compared().contains(QStringLiteral("YearSetting: 3 -> 0  # 1945 -> 1940"))) << missions->Compared().toStdString();
    select({1});
    missions->StampSelected();
    EXPECT_EQ(ed.Status(), "Stamped the checksum of 1 file.");

    missions->Table()->setCurrentIndex(shown->index(2, 0));
    QTest::keyClick(missions->Table(), Qt::Key_Return);
    EXPECT_EQ(ed.model->Text(C::NameBox), "Dusk");

    test::WriteFile(ed.dir / "new.msn", test::Mission({{12, 'N'}}));  // appears without a refresh key
    EXPECT_TRUE(scannedTo(5, 2000));

    // The folder removed and made again is followed as the same folder.
    std::filesystem::remove_all(ed.dir.path());
    EXPECT_TRUE(scannedTo(0, 2000));
    auto* said = missions->findChild<QLabel*>(QStringLiteral("MissionsStatus"));
    EXPECT_TRUE(said->text().endsWith(QStringLiteral(" is gone; its missions show here again when it is back.")))
        << said->text().toStdString();
    std::filesystem::create_directory(ed.dir.path());
    test::WriteFile(ed.dir / "back.msn", test::Mission({{12, 'B'}}));
    EXPECT_TRUE(scannedTo(1, 3000)) << "the folder made again is not watched";
    EXPECT_EQ(said->text(), QString());
}

}  // namespace
}  // namespace kestrane
