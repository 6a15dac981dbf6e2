// The window as assistive technology and a keyboard-only user meet it, and
// the desktop conventions: what labels read, a click anywhere on an option,
// load-pick-edit-save without the mouse, text set from outside, drops, the
// modified mark with undo, and the inspector.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QStatusBar>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include "TestSupport.h"
#include "TestWindow.h"
#include "ui/qt/InspectorWindow.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/SheetNames.h"

namespace kestrane {
namespace {

using C = ControlId;

using test::Window;

const MissionBytes kMission = test::Mission({{272, 1}, {280, 2}, {304, 3}, {288, 4}, {12, 'R'}, {368, 100}});

TEST(Access, EveryValueLabelIsReadAsTheTextItShows) {
    test::Editor ed(6, 8);
    Window w(ed);
    ed.Load(kMission);
    w.window.Refresh();
    int values = 0;
    for (const ControlSpec& spec : AllControls()) {
        if (spec.kind != ControlKind::Label && spec.kind != ControlKind::ClickableLabel &&
            spec.kind != ControlKind::StatusLine)
            continue;
        QAccessibleInterface* label = QAccessible::queryAccessibleInterface(w.Get(spec.id));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(QAccessible::Name).toStdString(), ed.model->Text(spec.id)) << ObjectName(spec.id).toStdString();
        if (spec.caption.empty()) {  // a value, not a caption: it says what it is
            EXPECT_FALSE(label->text(QAccessible::Description).isEmpty()) << ObjectName(spec.id).toStdString();
            ++values;
        }
    }
    EXPECT_EQ(values, 23);
}

TEST(Access, AClickAnywhereOnAnOptionOrTheCheckBoxCounts) {
    test::Editor ed;
    Window w(ed);
    ed.Load(kMission);
    for (const OptionControl& option : kOptionControls)
        for (int m = 0; m < option.setting->count; ++m) {
            QWidget* button = w.Get(option.group, m);
            EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->role(), QAccessible::RadioButton);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 2, button->height() / 2));
            EXPECT_EQ(ed.model->Value(option.group), m);
        }
    QWidget* check = w.Get(C::InstantActionBox);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(check->width() - 2, check->height() / 2));
    EXPECT_EQ(ed.model->Value(C::InstantActionBox), 1);
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
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(test::ReadBytes(byKeys.dir / "kb.msn"), expected);
}

TEST(Access, WhatABoxShowsIsWhatSaveCommitsHoweverTheTextGotThere) {
    test::Editor ed;
    Window w(ed);
    ed.Load(kMission);
    auto* box = w.Get<QLineEdit>(C::AttackSecondaryAltitudeBox);
    QAccessible::queryAccessibleInterface(box)->setText(QAccessible::Value, QStringLiteral("4321"));
    auto* paste = w.Get<QLineEdit>(C::EnemyPrimaryAltitudeBox);
    paste->setText(QString(40000, u'0') + u'9');  // longer than a box holds by default
    EXPECT_EQ(paste->text().size(), 40001);
    ed.Save("out");
    EXPECT_EQ(box->text(), QStringLiteral("4321"));
    EXPECT_EQ(ed.model->Image().U32(372), 4321u);
    EXPECT_EQ(ed.model->Image().U32(392), 9u);
}

TEST(Desktop, ADroppedFileLoadsAndTheTitleMarksUnsavedChanges) {
    test::Editor ed;
    test::WriteFile(ed.dir / "dropped.msn", kMission);
    Window w(ed);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString((ed.dir / "dropped.msn").string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.window, &drop);
    EXPECT_EQ(ed.model->Image().Bytes(), kMission) << ed.Status();
    EXPECT_FALSE(w.window.isWindowModified());

    QTest::mouseClick(w.Get(C::YearOptions, 3), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w.window.isWindowModified());
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("dropped.msn[*] \u2014 Kestrane Mission maker"));
    QWidget* box = w.Get(C::NameBox);  // a box with no typing of its own to undo lets Ctrl+Z through
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(w.window.isWindowModified());
    EXPECT_EQ(ed.model->Image().Bytes(), kMission);
}

TEST(Desktop, TheInspectorShowsTheFileAndFollowsEdits) {
    test::Editor ed;
    Window w(ed);
    ed.Load(kMission);
    QTest::keyClick(&w.window, Qt::Key_F2);
    ASSERT_TRUE(w.window.Inspector() != nullptr && w.window.Inspector()->isVisible());
    QAbstractItemModel* table = w.window.Inspector()->Table()->model();
    ASSERT_EQ(table->rowCount(), 400);
    for (int offset = 0; offset < 400; ++offset)
        ASSERT_EQ(table->index(offset, InspectorTable::Byte).data().toInt(), kMission[static_cast<std::size_t>(offset)]);
    QTest::mouseClick(w.Get(C::WeatherOptions, 4), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(table->index(280, InspectorTable::Byte).data().toInt(), 4);
    EXPECT_EQ(table->index(280, InspectorTable::Changed).data().toString(), QStringLiteral("changed"));
    EXPECT_EQ(table->index(281, InspectorTable::Changed).data().toString(), QString());
    const QModelIndexList rows = w.window.Inspector()->Table()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);  // the focused option's field
    EXPECT_EQ(rows.front().row(), 280);
}

TEST(Desktop, FourMenusReachedWithAltShowTheStandardKeysAndTheTitleNamesTheFile) {
    test::Editor ed;
    Window w(ed);
    QStringList menus, shown;
    for (QAction* menu : w.window.menuBar()->actions()) {
        menus << menu->text();
        for (QAction* action : menu->menu()->actions())
            if (!action->shortcut().isEmpty()) shown << action->shortcut().toString();
    }
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Help"}));
    EXPECT_EQ(shown, (QStringList{"Ctrl+O", "Ctrl+N", "Ctrl+S", "Ctrl+R", "Ctrl+Q", "Ctrl+Z", "Ctrl+Shift+Z", "F2", "F1"}));
    QTest::keyClick(&w.window, Qt::Key_H, Qt::AltModifier);
    ASSERT_NE(w.window.menuBar()->activeAction(), nullptr);
    EXPECT_EQ(w.window.menuBar()->activeAction()->text(), QStringLiteral("&Help"));
    QTest::keyClick(w.window.menuBar()->activeAction()->menu(), Qt::Key_Escape);

    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Kestrane Mission maker[*]"));
    ed.Load(kMission, "raid.msn");
    w.window.Refresh();
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("raid.msn[*] \u2014 Kestrane Mission maker"));
    ed.Save("sweep");
    w.window.Refresh();
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("sweep.msn[*] \u2014 Kestrane Mission maker"));
}

TEST(Desktop, F2OpensAndClosesTheInspectorFromEitherWindow) {
    test::Editor ed;
    Window w(ed);
    QTest::keyClick(&w.window, Qt::Key_F2);
    InspectorWindow* inspector = w.window.Inspector();
    ASSERT_TRUE(inspector != nullptr && inspector->isVisible());
    QApplication::setActiveWindow(inspector);
    ASSERT_TRUE(QTest::qWaitForWindowActive(inspector));
    QTest::keyClick(inspector->Table(), Qt::Key_F2);
    EXPECT_FALSE(inspector->isVisible());
}

TEST(Desktop, OnAScreenTooSmallTheSheetScrollsAndTheStatusBarStaysInView) {
    test::Editor ed;
    Window w(ed);
    EXPECT_EQ(w.window.centralWidget(), w.window.Sheet()) << "at normal sizes nothing moves";
    w.window.FitInto(QSize(960, 540));  // a 1080p screen at 200 %
    EXPECT_LE(w.window.height(), 500);
    EXPECT_EQ(w.window.Sheet()->size(), QSize(749, 529)) << "the sheet keeps its size";
    EXPECT_TRUE(qobject_cast<QScrollArea*>(w.window.centralWidget()) != nullptr);
    const QRect strip = w.window.statusBar()->geometry();
    EXPECT_TRUE(w.window.rect().contains(strip)) << "the status bar is reached";
}

}  // namespace
}  // namespace kestrane
