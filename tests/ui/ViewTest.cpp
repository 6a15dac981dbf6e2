// The window driven through its real widgets: clicks, typing, keys and list
// selections reach the window model with the right control ids and members,
// and afterwards every widget shows its control's state in the model.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QRadioButton>
#include <QSettings>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <array>

#include "TestSupport.h"
#include "TestWindow.h"
#include "ui/Arrangement.h"
#include "ui/qt/ListBox.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtFileDialog.h"
#include "ui/qt/SheetNames.h"
#include "ui/qt/Widgets.h"

namespace kestrane {
namespace {

using C = ControlId;
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

class ViewTest : public ::testing::Test {
protected:
    const WindowModel& model() const { return *ed.model; }
    const MissionImage& image() const { return ed.model->Image(); }
    template <class T = QWidget>
    T* Get(ControlId id, int member = -1) { return shownWindow.Get<T>(id, member); }
    // The text a widget shows: a label's whole caption, a button's or box's text, a frame's title.
    QString Shown(ControlId id, int member = -1) {
        QWidget* w = Get(id, member);
        if (auto* label = qobject_cast<CaptionLabel*>(w)) return label->Caption();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
        if (auto* box = qobject_cast<QLineEdit*>(w)) return box->text();
        return qobject_cast<QGroupBox*>(w) != nullptr ? qobject_cast<QGroupBox*>(w)->title() : QString();
    }

    void Click(ControlId id, int member = -1) {
        // Option and check buttons are clicked at their far edge: anywhere in
        // their rectangle counts, not only on the indicator or the text.
        QWidget* w = Get(id, member);
        const bool edge = qobject_cast<QRadioButton*>(w) || qobject_cast<QCheckBox*>(w);
        QTest::mouseClick(w, Qt::LeftButton, {}, edge ? QPoint(w->width() - 2, w->height() / 2) : w->rect().center());
    }
    void Key(ControlId id, Qt::Key key, int member = -1) {
        Get(id, member)->setFocus();
        QTest::keyClick(Get(id, member), key);
    }
    void PickInList(ControlId list, int row) {
        auto* v = Get<ListBox>(list);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(row, 0)).center());
    }
    void Type(ControlId box, const QString& text) {
        Get<QLineEdit>(box)->setFocus();
        Get<QLineEdit>(box)->selectAll();
        QTest::keyClicks(Get(box), text);
    }

    // Every control of ControlId has its widget, and each shows the model's state.
    void ExpectViewShowsModel() {
        for (const auto& control : AllControls()) {
            const ControlId id = control.id;
            SCOPED_TRACE(ObjectName(id).toStdString());
            if (control.kind == ControlKind::Options) {
                const auto members = model().Members(id);
                EXPECT_FALSE(members.empty());
                for (int m = 0; m < static_cast<int>(members.size()); ++m) {
                    EXPECT_EQ(Shown(id, m), Q(members[static_cast<std::size_t>(m)])) << m;
                    EXPECT_EQ(Get<QRadioButton>(id, m)->isChecked(), model().Value(id) == m) << m;
                }
            } else if (control.kind == ControlKind::List) {
                auto* view = Get<ListBox>(id);
                const PickList& items = model().Items(id);
                EXPECT_EQ(view->model()->rowCount(), items.Count());
                for (int row : {0, items.Count() - 1})
                    EXPECT_EQ(view->model()->index(row, 0).data().toString(), Q(items.Item(row))) << row;
                const QModelIndexList selected = view->selectionModel()->selectedIndexes();
                EXPECT_EQ(selected.isEmpty() ? -1 : selected.front().row(), model().Value(id));
            } else {
                EXPECT_EQ(Shown(id), Q(model().Text(id)));
                const bool checked = control.kind == ControlKind::CheckBox && Get<QCheckBox>(id)->isChecked();
                EXPECT_EQ(checked, model().Value(id) == 1);  // of these only the check box has a value
            }
        }
    }

    test::Editor ed{6, 8};
    test::Window shownWindow{ed};
    MainWindow* const window = &shownWindow.window;
};

TEST_F(ViewTest, TheSheetKeepsItsSizeAndPlacesUnderAMenuBarWithTheStripAsStatusBar) {
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the window is not resizable";
    EXPECT_EQ(window->Sheet()->size(), QSize(749, 529));
    EXPECT_EQ(window->statusBar()->size(), QSize(749, 75));
    EXPECT_EQ(window->size(), QSize(749, window->menuBar()->height() + 604)) << "only the menu bar is added";
    // Pixel places, relative to the frame, the sheet or the status bar that holds them.
    const struct {
        const char* name;
        QRect at;
        QWidget* in;
    } kPlaces[] = {
        {"Frame1_3", {266, 131, 159, 121}, window->Sheet()},      // Weather
        {"Weather_4", {8, 100, 137, 15}, Get(C::WeatherFrame)},   // Overcast
        {"Frame1_4", {588, 270, 161, 65}, window->Sheet()},       // ends at the right edge
        {"StatusLine", {2, 4, 430, 67}, window->statusBar()},
        {"Label2", {592, 50, 101, 21}, window->statusBar()},      // the checksum in hexadecimal
    };
    for (const auto& place : kPlaces) {
        auto* w = window->findChild<QWidget*>(QString::fromLatin1(place.name));
        ASSERT_NE(w, nullptr) << place.name;
        EXPECT_EQ(w->geometry(), place.at) << place.name;
        EXPECT_EQ(w->parentWidget(), place.in) << place.name;
    }
    for (const Placement& p : Arrangement()) {
        QWidget* w = Get(p.id, p.member);
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_FALSE(w->accessibleName().isEmpty() && w->accessibleDescription().isEmpty()) << "unnamed";
        EXPECT_TRUE(w->isVisible());
        if (auto* label = qobject_cast<CaptionLabel*>(w); label != nullptr && !label->wordWrap()) {
            EXPECT_EQ(label->text(), label->Caption()) << "shortened: the window's font is too wide";
        }
    }
    ExpectViewShowsModel();
}

TEST_F(ViewTest, OptionClicksKeysAndTheCheckBoxWriteTheMission) {
    Click(C::NewButton);
    for (const OptionControl& option : kOptionControls)
        for (int m = option.setting->count - 1; m >= 0; --m) {  // downwards: every click changes the byte
            SCOPED_TRACE(ObjectName(option.group, m).toStdString());
            Click(option.group, m);
            EXPECT_EQ(image().U8(option.setting->field->offset), m);
        }
    // An arrow key that moves the selection, and Space, count as clicks.
    Key(C::YearOptions, Qt::Key_Down, 0);
    EXPECT_EQ(image().U8(kYear.field->offset), 1);
    Key(C::TimeOfDayOptions, Qt::Key_Space, 2);
    EXPECT_EQ(image().U8(kTimeOfDay.field->offset), 2);
    Click(C::InstantActionBox);
    EXPECT_TRUE(InstantAction(image()));
    Click(C::InstantActionBox);
    EXPECT_FALSE(InstantAction(image()));
    ExpectViewShowsModel();
}

TEST_F(ViewTest, TypedTextReachesTheModelAndEnterStoresIt) {
    Click(C::NewButton);
    auto* edit = Get<QLineEdit>(C::AttackPrimaryAltitudeBox);
    int returns = 0;
    QObject::connect(edit, &QLineEdit::returnPressed, [&] { ++returns; });
    Type(C::AttackPrimaryAltitudeBox, "1500");
    EXPECT_EQ(image().U32(kAttackPrimaryAltitude.field->offset), 0u) << "no Enter, nothing stored";
    // A refresh after another event leaves the box's cursor where it was.
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Right);
    Click(C::YearOptions, 1);
    EXPECT_EQ(edit->cursorPosition(), 1);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(image().U32(kAttackPrimaryAltitude.field->offset), 1500u);
    EXPECT_EQ(returns, 1) << "the box still handles Enter itself";

    // Every box, by Return or by the keypad's Enter.
    std::uint32_t n = 10;
    for (const BoxControl& box : kBoxControls) {
        SCOPED_TRACE(ObjectName(box.box).toStdString());
        const std::string text = box.number != nullptr ? std::to_string(++n) : "Dogfight";
        Type(box.box, Q(text));
        QTest::keyClick(Get(box.box), n % 2 != 0 ? Qt::Key_Return : Qt::Key_Enter);
        const Field* f = box.number != nullptr ? box.number->field : nullptr;
        const std::uint32_t number = f == nullptr ? 0 : f->width == 1 ? image().U8(f->offset) : image().U32(f->offset);
        EXPECT_EQ(f == nullptr ? MissionName(image()) : std::to_string(number), text);
    }
    ExpectViewShowsModel();
}

TEST_F(ViewTest, ListPickThenNameLabelFillsEverySlotAndPlace) {
    Click(C::NewButton);
    // From row 1, since row 0 is what a new mission holds. Each label takes
    // a mouse click, Space, Return or Enter in turn.
    int n = 1;
    auto take = [&](ControlId label) {
        if (n % 4 == 0) return Click(label);
        Key(label, std::array{Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}[n % 4 - 1]);
    };
    for (const SlotControl& s : kSlotControls) {
        SCOPED_TRACE(ObjectName(s.name).toStdString());
        PickInList(C::AircraftList, n);
        EXPECT_EQ(model().Value(C::AircraftList), n);
        take(s.name);
        EXPECT_EQ(ReadAircraft(image(), *s.slot).position, n++);
    }
    for (const PlaceControl& p : kPlaceControls) {
        SCOPED_TRACE(ObjectName(p.name).toStdString());
        PickInList(C::PlaceList, n);
        take(p.name);
        EXPECT_EQ(image().U16(p.place->field->offset), n++);
    }
    Key(C::EnemySecondaryNumber, Qt::Key_Space);  // the number label chooses None
    EXPECT_EQ(ReadAircraft(image(), kEnemySecondary).kind, Pick::Kind::None);
    ExpectViewShowsModel();
}

// An entry's menu (Shift+F10 here) puts it into the slot chosen, as a
// selection and a click on the slot do, as one undo step.
TEST_F(ViewTest, AListEntrysMenuPutsItIntoTheSlotChosen) {
    Click(C::NewButton);
    QStringList offered;
    auto choose = [&](const QString& text) {
        QTimer::singleShot(0, [&offered, text] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            offered.clear();
            for (QAction* action : menu->actions()) offered << action->text();
            for (QAction* action : menu->actions())
                if (action->text() == text) action->trigger();
            menu->close();
        });
    };
    PickInList(C::AircraftList, 3);
    choose(QStringLiteral("Use as Enemy primary"));
    Get(C::AircraftList)->setFocus();
    QTest::keyClick(Get(C::AircraftList), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(offered, (QStringList{"Use as Attack plane 1", "Use as Attack plane 2", "Use as Enemy primary",
                                    "Use as Enemy secondary"}));
    EXPECT_EQ(ReadAircraft(image(), kEnemyPrimary).position, 3);
    PickInList(C::PlaceList, 5);
    choose(QStringLiteral("Use as Home base"));
    QApplication::setActiveWindow(window);  // the offscreen platform gives it back to no window
    Get(C::PlaceList)->setFocus();
    QTest::keyClick(Get(C::PlaceList), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(offered, (QStringList{"Use as Target", "Use as Home base"}));
    EXPECT_EQ(image().U16(kHomeBase.field->offset), 5);
    QApplication::setActiveWindow(window);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(image().U16(kHomeBase.field->offset), 0) << "one undo step";
    ExpectViewShowsModel();
}

// The Load button's dialog fills the widgets, and a cancelled one changes
// none; the Save button commits what the boxes show, however the text got
// there, and writes the image, and Ctrl+S writes the mission's own file,
// whatever the box names.
TEST_F(ViewTest, LoadFillsTheWidgetsAndSaveByButtonOrShortcutCommitsWhatTheBoxesShow) {
    test::WriteFile(ed.dir / "in.msn", test::Mission({{kInstantActionField.offset, 128}, {kYear.field->offset, 2}}));
    ed.dialog.answers.push_back((ed.dir / "in.msn").string());
    Click(C::LoadButton);
    EXPECT_EQ(Shown(C::LoadedPath), Q((ed.dir / "in.msn").string()));
    ExpectViewShowsModel();
    const std::vector<std::string> before = test::ControlStates(model());
    QTest::keyClick(window, Qt::Key_O, Qt::ControlModifier);  // the dialog is cancelled
    EXPECT_EQ(ed.dialog.shown, 2);
    EXPECT_EQ(test::ControlStates(model()), before);

    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    Type(C::AttackPrimaryAltitudeBox, "1500");  // no Enter: the save commits it
    // as it does text set by assistive technology, or longer than a box holds by default
    QAccessible::queryAccessibleInterface(Get(C::AttackSecondaryAltitudeBox))->setText(QAccessible::Value, QStringLiteral("4321"));
    Get<QLineEdit>(C::EnemyPrimaryAltitudeBox)->setText(QString(40000, u'0') + u'9');
    Type(C::FileNameBox, "out");
    Click(C::SaveButton);
    const std::vector<std::uint8_t> saved = test::ReadBytes(ed.dir / "out.msn");
    EXPECT_EQ(saved, std::vector<std::uint8_t>(image().Bytes().begin(), image().Bytes().end()));
    EXPECT_EQ(image().U32(kAttackPrimaryAltitude.field->offset), 1500u);
    EXPECT_EQ(image().U32(kAttackSecondaryAltitude.field->offset), 4321u);
    EXPECT_EQ(image().U32(kEnemyPrimaryAltitude.field->offset), 9u);
    Click(C::YearOptions, 2);
    Type(C::FileNameBox, "other");
    QTest::keyClick(Get(C::FileNameBox), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(std::filesystem::exists(ed.dir / "other.msn"));
    EXPECT_EQ(test::ReadBytes(ed.dir / "out.msn")[kYear.field->offset], 2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("out.msn[*] \u2014 Kestrane Mission maker"));
    ExpectViewShowsModel();
}

TEST_F(ViewTest, TabWalksTheSheetInReadingOrderVisitingEachGroupOnItsChosenButton) {
    Click(C::NewButton);
    Click(C::YearOptions, 2);
    Get(C::LoadButton)->setFocus();
    const QStringList expected{"Command3", "Label17", "Text1", "Text2", "Command4",
                               "List1",    "List2",   "Yrbut_2", "IA", "TOD_0"};
    QStringList walked;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(walked, expected);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Yrbut_2"));
}

// The narrowing a start chose is kept for the next, which takes it only when
// every caption still fits in it.
TEST(FontChoiceTest, AKeptStretchIsTakenOnlyWhenEveryCaptionFitsInIt) {
    test::Editor ed;
    QSettings().remove(QStringLiteral("font"));
    const int chosen = MainWindow(*ed.model).Sheet()->font().stretch();
    if (chosen == QFont::AnyStretch || chosen >= 100) GTEST_SKIP() << "every caption fits unnarrowed";
    for (const auto& [kept, expected] : {std::pair{99, chosen}, {chosen - 5, chosen - 5}}) {
        QSettings().setValue(QStringLiteral("font/stretch"), kept);
        EXPECT_EQ(MainWindow(*ed.model).Sheet()->font().stretch(), expected) << kept;
    }
    QSettings().remove(QStringLiteral("font"));
}

// The real dialog opens in the folder with the filter and suffix, and
// returns the chosen file, or nothing when cancelled.
TEST(QtFileDialogTest, ShowsTheFolderAndFilterAndReturnsTheChoice) {
    test::TempDir dir;
    test::WriteFile(dir / "one.msn", test::Mission());
    QtFileDialog dialog;
    QStringList shown;
    auto answer = [&](bool accept) {
        QTimer::singleShot(0, [&, accept] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            shown = QStringList{d->nameFilters().join(";;"), d->directory().absolutePath(), d->defaultSuffix()};
            d->selectFile(Q((dir / "one.msn").string()));
            accept ? static_cast<QDialog*>(d)->accept() : d->reject();  // QFileDialog's own accept is protected
        });
        return dialog.ChooseFile(dir.path().string(), kMissionFilter, "msn");
    };
    EXPECT_EQ(answer(true), (dir / "one.msn").string());
    EXPECT_EQ(shown, QStringList({"Mission files (*.msn)", QDir(Q(dir.path().string())).absolutePath(), "msn"}));
    EXPECT_EQ(answer(false), "") << "a cancel returns nothing, even with a file selected";
}

// Enter in a dialog's name box accepts the dialog while the box's completion
// list is still open. The window manager then gives the focus to the parent
// window: Qt must take that window as active again, with its focus where it
// was, or no key after the dialog reaches the screen reader.
TEST(ExecDialogTest, EnterWithACompletionListOpenLeavesTheWindowActiveWithItsFocus) {
    QWidget window;
    auto* load = new QPushButton(QStringLiteral("Load"), &window);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    load->setFocus();
    QDialog dialog(&window);
    auto* name = new QLineEdit(&dialog);
    name->setCompleter(new QCompleter(QStringList{"sample.msn", "second.msn"}, name));
    QObject::connect(name, &QLineEdit::returnPressed, &dialog, &QDialog::accept);
    QObject::connect(&dialog, &QDialog::finished, [&] {  // the window manager's answer to the dialog going
        window.windowHandle()->requestActivate();
        QApplication::processEvents();
    });
    QTimer::singleShot(0, [&] {
        QApplication::setActiveWindow(&dialog);
        QTest::keyClicks(name, "s");
        QApplication::processEvents();
        QWidget* list = QApplication::activePopupWidget();
        EXPECT_NE(list, nullptr) << "typing opens the completion list";
        QTest::keyClick(list != nullptr ? list : name, Qt::Key_Return);
    });
    EXPECT_EQ(ExecDialog(dialog), QDialog::Accepted);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window);
    EXPECT_EQ(QApplication::focusWidget(), load);
}

}  // namespace
}  // namespace kestrane
